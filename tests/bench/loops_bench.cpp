// The loop search on full and typical boards, and the exhaustive walk it
// replaced on the largest board that walk still finishes.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>

#include "rules/board.h"
#include "rules/fish.h"
#include "rules/loops.h"
#include "rules/scoring.h"
#include "shell/program_state.h"
#include "tests/rules/loops_reference.h"

namespace {

void EmptyWell() {
    ResetProgramState();
    FillRopeSides();
    SetBoardWalls();
    NextGroupId = 1;
    Level = 1;
}

void FillCross(int columns, int firstRow) {
    for (int c = 0; c < columns; ++c)
        for (int r = firstRow; r <= 11; ++r) SetKind(c, r, Cross);
}

// The lower half of the well filled as play leaves it: mostly straights and
// corners, a few knots, a small closed loop, some fish about.
void MidGameWell() {
    std::mt19937 rng(12345);
    static constexpr uint8_t mix[] = {Horizontal, Vertical, CornerDownLeft, CornerUpLeft, CornerUpRight,
                                      CornerDownRight, Horizontal, Vertical, CornerDownLeft, CornerUpLeft,
                                      CornerUpRight, CornerDownRight, TeeNoUp, TeeNoRight, TeeNoDown, TeeNoLeft, Cross};
    for (int c = 0; c <= 7; ++c) {
        int top = 5 + int(rng() % 4);
        for (int r = top; r <= 11; ++r) SetKind(c, r, mix[rng() % sizeof mix]);
    }
    SetKind(1, 10, CornerDownRight);
    SetKind(2, 10, CornerDownLeft);
    SetKind(1, 11, CornerUpRight);
    SetKind(2, 11, CornerUpLeft);
    for (int i = 0; i < 4; ++i) {
        FishTable[i].state = FishStateValue::Swimming;
        FishTable[i].x = float(40 + 60 * i);
        FishTable[i].y = float(100 + 70 * i);
        FishTable[i].dir = 1;
    }
}

// Runs a search per iteration from the same starting board: the marks, the
// counters and the fish the search changes are put back before each run.
template <class Search>
void RunSearches(benchmark::State& state, Search search) {
    LabelNetworks();
    const BoardLayers board = Board;
    Fish fish[FishCount];
    std::memcpy(fish, FishTable, sizeof fish);
    for (auto _ : state) {
        std::memcpy(Board.marked, board.marked, sizeof Board.marked);
        std::memcpy(Board.group, board.group, sizeof Board.group);
        std::memcpy(FishTable, fish, sizeof fish);
        ChainErased = 0;
        ChainLength = 0;
        ScreenState = PairFalling;
        search();
        benchmark::DoNotOptimize(Board.marked);
    }
    state.counters["marked"] = double(ChainErased);
}

void FindLoopsFullCross(benchmark::State& state) {
    EmptyWell();
    FillCross(8, -1);
    SearchMode mode = state.range(0) ? SearchMode::AnalyseOnly : SearchMode::Play;
    RunSearches(state, [mode] { FindLoops(mode); });
}
BENCHMARK(FindLoopsFullCross)->ArgName("AnalyseOnly")->Arg(0)->Arg(1);

void FindLoopsMidGame(benchmark::State& state) {
    EmptyWell();
    MidGameWell();
    RunSearches(state, [] { FindLoops(); });
}
BENCHMARK(FindLoopsMidGame);

// 6 x 6 crosses in the lower-left corner: the game's search and the
// exhaustive walk on the same board; their times give the ratio.
void FindLoopsCross6x6(benchmark::State& state) {
    EmptyWell();
    FillCross(6, 6);
    RunSearches(state, [] { FindLoops(); });
}
BENCHMARK(FindLoopsCross6x6);

void ExhaustiveWalkCross6x6(benchmark::State& state) {
    EmptyWell();
    FillCross(6, 6);
    reference::Steps = 0;
    RunSearches(state, [] { reference::FindLoops(); });
    state.counters["steps"] = benchmark::Counter(double(reference::Steps), benchmark::Counter::kAvgIterations);
}
BENCHMARK(ExhaustiveWalkCross6x6)->Unit(benchmark::kMillisecond);

}  // namespace
