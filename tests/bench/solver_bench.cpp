// The solver's full count (every way of playing) on the numbered missions
// with the most positions to search; each must stay well under 10 seconds.
#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tools/solver/solver.h"

namespace {
MissionImage BuiltMission(int n) {
    std::string name = std::string(n < 10 ? "0" : "") + std::to_string(n) + ".msn";
    std::ifstream in(std::string(TESSMAR_BINARY_DIR "/gamedata/mission/") + name, std::ios::binary);
    std::vector<uint8_t> b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    MissionImage m;
    DecodeMission(b.data(), b.size(), m);
    return m;
}

void BM_SolveMission(benchmark::State& state) {
    MissionImage m = BuiltMission(int(state.range(0)));
    SolveResult r;
    for (auto _ : state) {
        r = SolveMission(m);
        benchmark::DoNotOptimize(r.allSequences);
    }
    state.counters["positions"] = double(r.positions);
    state.counters["placements"] = double(r.placements);
}
// 18, 22, 23 and 29 search the most positions; 30 is the last.
BENCHMARK(BM_SolveMission)->Arg(18)->Arg(22)->Arg(23)->Arg(29)->Arg(30)->Unit(benchmark::kMillisecond);

// Four pairs of straight pieces beside a half ring that straights can never
// close: nothing prunes the search but repeated positions (about 30^4 ways).
void BM_SolveFourStraightPairs(benchmark::State& state) {
    MissionImage m = BuiltMission(1);
    m.pieceLimit = 4;
    for (int p = 0; p < 4; ++p) {
        m.queueKind[MissionQueueIndex(p, 0)] = 1;
        m.queueKind[MissionQueueIndex(p, 1)] = 2;
    }
    for (auto _ : state) benchmark::DoNotOptimize(SolveMission(m).allSequences);
}
BENCHMARK(BM_SolveFourStraightPairs)->Unit(benchmark::kMillisecond)->Iterations(1);
}  // namespace
