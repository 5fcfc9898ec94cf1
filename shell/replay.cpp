#include "shell/replay.h"

#include <optional>
#include <utility>

#include "screens/game_over.h"
#include "screens/key_table.h"
#include "shell/main_loop.h"
#include "shell/program_state.h"
#include "shell/replay_file.h"

namespace {
std::optional<ScriptPlayer> player;
ScriptedInput frame;
bool usedUp = false;
}  // namespace

void StartReplay(InputScript script) {
    player.emplace(std::move(script));
    frame = {};
    usedUp = false;
}

void StepReplay() {
    if (player) usedUp = !player->NextFrame(frame);
}

bool ReplayPlaying() { return player.has_value(); }
bool ReplayKeepsFramesCounted() { return player && !usedUp; }
const ScriptedInput& ReplayFrame() { return frame; }

std::string TakeReplayPick() {
    if (frame.picks.empty()) return "";
    std::string answer = std::move(frame.picks.front());
    frame.picks.erase(frame.picks.begin());
    return answer;
}

void StopReplay() {
    player.reset();
    frame = {};
    usedUp = false;
}

bool StartReplayFile(const Replay& replay, std::string& error) {
    if (replay.state.size() != ProgramStateBytes) {
        error = "made by another build of the game (version " + replay.gameVersion + ")";
        return false;
    }
    // The frame clock and the frame rate count stay this program's own.
    const uint32_t counter = FrameCounter, fpsStart = FpsWindowStart, deadline = FrameDeadline;
    const auto fpsStarted = FpsWindowStarted;
    const auto deadlineSet = FrameDeadlineSet;
    RestoreProgramState(*reinterpret_cast<const ProgramStateImage*>(replay.state.data()));
    FrameCounter = counter;
    FpsWindowStart = fpsStart;
    FpsWindowStarted = fpsStarted;
    FrameDeadline = deadline;
    FrameDeadlineSet = deadlineSet;
    for (int a = 0; a < ActionCount && a < ReplayActionCount; ++a) {
        KeyBinding[a] = replay.keyBinding[a];
        PadBinding[a] = replay.padBinding[a] == 255 ? NoPadButton : replay.padBinding[a];
    }
    PadNintendo = replay.padNintendo != 0;
    NameEntryDay = replay.day;
    StartReplay(ReplayScript(replay));
    return true;
}
