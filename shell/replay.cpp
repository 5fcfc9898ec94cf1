#include "shell/replay.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "draw/playfield.h"
#include "mission/mission_file.h"
#include "platform/platform_os.h"
#include "rules/board.h"
#include "rules/fish.h"
#include "rules/game_mode.h"
#include "rules/game_random.h"
#include "rules/new_game.h"
#include "rules/scoring.h"
#include "rules/screen_state.h"
#include "screens/daily.h"
#include "screens/game_over.h"
#include "screens/key_table.h"
#include "screens/mission_loader.h"
#include "screens/mission_select.h"
#include "screens/records_file.h"
#include "screens/title.h"
#include "settings/data_folder.h"
#include "shell/input.h"
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
    ReplayWatched = false;
    player.reset();
    frame = {};
    usedUp = false;
}

namespace {
// What the game's set-up needs that the replay brings: refused before
// anything changes.
bool CheckReplayedGame(const Replay& replay, std::string& error) {
    switch (replay.mode) {
        case ScoreAttack:
            if (!replay.mission.empty()) return error = "a score attack game with a mission", false;
            return true;
        case NormalGame: {
            if (replay.missionNumber < 1 || replay.missionNumber > MissionCount)
                return error = "a mission number out of range", false;
            std::vector<uint8_t> own;
            const std::string path = NumberedMissionPath(replay.missionNumber);
            if (!ReadFileBytes(path, own, MissionFileSize) || own.size() != MissionFileSize)
                return error = "this game cannot read its mission " + std::to_string(replay.missionNumber), false;
            if (own != replay.mission)
                return error = "mission " + std::to_string(replay.missionNumber) + " of another version of the game (" +
                               replay.gameVersion + ")", false;
            return true;
        }
        case EditGame:
            if (replay.mission.size() != MissionFileSize) return error = "a mission game without its mission", false;
            return true;
        default: return error = "a game of unknown kind", false;
    }
}

// What the menus do when a game is chosen: its mission loaded, its pairs drawn.
void SetUpReplayedGame(const Replay& replay) {
    MissionNumber = replay.missionNumber;
    if (replay.mode == ScoreAttack) {
        SetUpScoreAttack();
        ScreenState = ScreenStateValue(replay.start.firstScreen);
        return;
    }
    if (replay.mode == NormalGame) LoadMissionFile(NumberedMissionPath(replay.missionNumber));
    else LoadMissionBytes(replay.mission.data(), replay.mission.size());
    GameMode = GameModeValue(replay.mode);
    ScreenState = ScreenStateValue(replay.start.firstScreen);
    if (replay.start.daily) {
        DailyStage = DailyPlaying;
        DailyDay = replay.start.dailyDay;
    }
}

// The input words as the frame before the game left them, so that a key
// held into the game counts as held, not newly pressed.
void SampleFrameBefore(const ReplaySample& before) {
    InputScript script;
    script.keySets.push_back(before.keys);
    if (before.joyPresent) {
        script.steps.push_back({ScriptStep::Joy, 0, 0});
        script.joys.push_back({before.joyX, before.joyY, before.joyButtons, before.joyPad});
    }
    if (before.owedPause) script.steps.push_back({ScriptStep::OwedPause, 0, 0});
    script.steps.push_back({ScriptStep::Hold, 1, 0});
    StartReplay(std::move(script));
    StepReplay();
    SampleInput();
}
}  // namespace

bool StartReplayFile(const Replay& replay, std::string& error) {
    if (!CheckReplayedGame(replay, error)) return false;
    // The frame clock and the frame rate count stay this program's own.
    const uint32_t counter = FrameCounter, fpsStart = FpsWindowStart, deadline = FrameDeadline;
    const auto fpsStarted = FpsWindowStarted;
    const auto deadlineSet = FrameDeadlineSet;
    ResetListedState();
    SetBoardWalls();  // as the program's start-up leaves them
    FillRopeSides();
    NewGame();
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
    DecodeRecords(replay.start.records, RecordsFileSize);
    BriskFall = replay.start.briskFall;
    ColourMode = replay.start.colourMode;
    GridMode = replay.start.gridMode;
    std::copy(std::begin(replay.start.fish), std::end(replay.start.fish), FishTable);
    SampleFrameBefore(replay.start.before);
    GameRandomState = replay.start.random;
    NextGroupId = replay.start.nextGroupId;
    SetUpReplayedGame(replay);
    StartReplay(ReplayScript(replay));
    ReplayWatched = true;
    return true;
}
