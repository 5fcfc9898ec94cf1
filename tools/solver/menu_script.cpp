#include "tools/solver/menu_script.h"

#include "screens/board_entry.h"

namespace {
constexpr int MissionStepGap = 6;  // the number steps once, then waits out its repeat timer
}  // namespace

std::vector<HeldKeys> MenuToMission(int number) {
    std::vector<HeldKeys> steps = {
        {1, WordBit(KeyDown)},  // title: pointer to "MISSION MODE"
        {1, 0},
        {1, WordBit(KeyZ)},     // chosen: mission select from the next frame
        {1, 0},
    };
    for (int n = 1; n < number; ++n) {
        steps.push_back({1, WordBit(KeyRight)});
        steps.push_back({MissionStepGap, 0});
    }
    steps.push_back({1, WordBit(KeyZ)});  // "NORMAL GAME": loaded, board entry next
    steps.push_back({BoardEntryFrames, 0});
    return steps;
}

std::vector<HeldKeys> BoardEntry() { return {{BoardEntryFrames, 0}}; }

std::string MenuToEditGame(const std::string& path) {
    std::vector<HeldKeys> toSelect = {
        {1, WordBit(KeyDown)},  // title: pointer to "MISSION MODE"
        {1, 0},
        {1, WordBit(KeyZ)},     // chosen: mission select from the next frame
        {1, 0},
        {1, WordBit(KeyDown)},  // pointer to "EDIT GAME"
        {1, 0},
    };
    return ScriptLines(toSelect) + "pick " + path + "\n" + ScriptLines(std::vector<HeldKeys>{{1, WordBit(KeyZ)}}) +
           ScriptLines(BoardEntry());
}

std::string ScriptLines(const KeyLog& log) {
    std::vector<HeldKeys> steps;
    steps.reserve(log.size());
    for (uint32_t keys : log) steps.push_back({1, keys});
    return ScriptLines(steps);
}
