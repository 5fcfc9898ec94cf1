// The play picture and a whole play frame, on a busy board.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>

#include "draw/held_drawing.h"
#include "draw/playfield.h"
#include "draw/surfaces.h"
#include "rules/game_mode.h"
#include "platform/platform_headless.h"
#include "rules/board.h"
#include "rules/fish.h"
#include "rules/queue.h"
#include "shell/main_loop.h"
#include "shell/play_frame.h"
#include "shell/program_state.h"
#include "shell/startup.h"

namespace {
// A full well of framed blocks, both toggles on, ten fish and the queue
// half-way through its scroll.
void SetUpBusyBoard() {
    ResetProgramState();
    HeadlessReset();
    std::filesystem::path folder = std::filesystem::temp_directory_path() / "tessmar-bench";
    std::filesystem::create_directories(folder);
    if (chdir(folder.c_str()) != 0) return;
    FixedSeed = 7;
    StartProgram();
    GameMode = ScoreAttack;
    BoardOriginX = 64;
    BoardOriginY = 80;
    FillRandomQueue();
    for (int c = 0; c < 8; ++c)
        for (int r = 0; r < 12; ++r) {
            SetKind(c, r, uint8_t(1 + (c * 12 + r) % 11));
            SetGroup(c, r, uint8_t(1 + c));
            SetFrame(c, r, 1);
        }
    ColourMode = GridMode = 1;
    for (int i = 0; i < FishCount; ++i) {
        FishTable[i].state = FishStateValue::Swimming;
        FishTable[i].x = float(20 * i);
        FishTable[i].y = float(30 * i);
        FishTable[i].dir = i % 2 ? 1 : -1;
    }
    ScreenState = NextPair;
    SpawnTimer = 5;
}

void BM_DrawPlayfield(benchmark::State& state) {
    SetUpBusyBoard();
    for (auto _ : state) {
        DrawPlayfield(0);
        benchmark::DoNotOptimize(BackBuffer.pixels.data());
    }
}
BENCHMARK(BM_DrawPlayfield);

// Rules, fish, picture and present of a score-attack game in its pair-falling
// state; with 1, the drawing held as the game holds it (only what changed
// drawn when the frame is shown).
void BM_PlayFrame(benchmark::State& state) {
    SetUpBusyBoard();
    HoldDrawingOf(state.range(0) ? &BackBuffer : nullptr);
    ClearBoard();
    ScreenState = NextPair;
    SpawnTimer = 0;
    for (auto _ : state) {
        if (ScreenState > Linking) {  // a lost game starts again
            ClearBoard();
            ScreenState = NextPair;
        }
        PlayFrame();
        Headless.sounds.clear();
        Headless.music.clear();
    }
    HoldDrawingOf(nullptr);
}
BENCHMARK(BM_PlayFrame)->Arg(0)->Arg(1);
}  // namespace
