// The solver's speed: landings found per second on a mid-game board, and
// whole searches of numbered missions.
#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tools/missions/mission_source.h"
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

// Half the well filled, uneven, with a shelf over a gap and an overhang.
const char* const MidGame =
    "title: MID\ngoal: chain 1\npairs: 1\nwell:\n"
    "........\n........\n........\n........\n........\n........\n"
    "##......\n..r..#..\n.-J.-7.r\nr+-T3L-J\nL^7|E-7|\n-JLJL-JL\n"
    "queue:\nr7\n..\n..\n..\n..\n..\n..\n..\n";

void BM_FindPlacementsMidGame(benchmark::State& state) {
    MissionSource source;
    std::string error;
    ParseMissionSource(MidGame, source, error);
    StartMissionPlay(source.image);
    RunToNextPair(nullptr);
    size_t found = 0;
    for (auto _ : state) {
        found = FindPlacements().size();
        benchmark::DoNotOptimize(found);
    }
    state.counters["landings"] = double(found);
    state.counters["landings_per_second"] =
        benchmark::Counter(double(found) * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_FindPlacementsMidGame)->Unit(benchmark::kMillisecond);

void BM_SolveMission(benchmark::State& state) {
    MissionImage m = BuiltMission(int(state.range(0)));
    SolveResult r;
    for (auto _ : state) {
        r = SolveMission(m);
        benchmark::DoNotOptimize(r.ways);
    }
    state.counters["positions"] = double(r.positions);
    state.counters["placements"] = double(r.placements);
}
// Whole searches of numbered missions with many pairs and goals of each
// kind the search weighs (a chain, erase counts, erase at once, an area).
// tests/bench/solver_missions.sh times every numbered mission, slowest first.
BENCHMARK(BM_SolveMission)
    ->Arg(17)
    ->Arg(19)
    ->Arg(23)
    ->Arg(26)
    ->Arg(29)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
}  // namespace
