// Fuzz target of the replay reader: any bytes as a replay file. What reads
// must encode back to bytes that read the same, its runs covering the frames
// its header gives, and walk as a script to exactly those frames.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "shell/input_script.h"
#include "shell/replay_file.h"

namespace {
void Check(bool holds) {
    if (!holds) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Replay replay;
    std::string error;
    if (!DecodeReplay(data, size, replay, error)) {
        Check(!error.empty());
        return 0;
    }
    const std::vector<uint8_t> again = EncodeReplay(replay);
    Replay back;
    Check(DecodeReplay(again.data(), again.size(), back, error));
    Check(back.frames == replay.frames && back.start == replay.start && back.mission == replay.mission);
    Check(EncodeReplay(back) == again);
    ScriptPlayer player(ReplayScript(replay));
    ScriptedInput input;
    uint32_t frames = 0;
    while (player.NextFrame(input)) ++frames;
    Check(frames == replay.frames);
    return 0;
}
