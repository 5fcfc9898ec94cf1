#include "shell/replay.h"

#include <optional>
#include <utility>

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
