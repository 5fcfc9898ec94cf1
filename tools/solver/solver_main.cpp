// tessmar-solve: whether a mission can be cleared, its shortest way, how many
// ways of playing it clear it, and that way as a headless runner script.
//
//   tessmar-solve [--quick] [--number N] [--script FILE] MISSION
//   tessmar-solve --play SEED --dir FOLDER --number N [--frames F] [--script FILE]
//
// MISSION is a mission source (.txt) or a mission file (.msn). --quick stops
// at the first way found instead of counting them all. With --number the
// script starts at the title and reaches numbered mission N through the menus
// (missions before it recorded as cleared); without, it starts at the first
// frame of play. --play lets the simple player play numbered mission N of the
// game folder FOLDER (random pairs) for at most F frames (12000).
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "tools/missions/mission_source.h"
#include "tools/solver/input_script.h"
#include "tools/solver/simple_player.h"
#include "tools/solver/solver.h"

namespace {
struct Options {
    bool quick = false, play = false;
    int number = 0, frames = 12000;
    unsigned seed = 0;
    std::string mission, script, dir;
};

[[noreturn]] void Usage(const std::string& why) {
    std::fprintf(stderr, "tessmar-solve: %s\n", why.c_str());
    std::fprintf(stderr,
                 "usage: tessmar-solve [--quick] [--number N] [--script FILE] MISSION\n"
                 "       tessmar-solve --play SEED --dir FOLDER --number N [--frames F] [--script FILE]\n");
    std::exit(2);
}

int Number(const char* text, long low, long high) {
    char* end = nullptr;
    long v = std::strtol(text, &end, 10);
    if (*text == '\0' || *end != '\0' || v < low || v > high) Usage(std::string("bad number ") + text);
    return int(v);
}

Options ReadOptions(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto value = [&]() -> const char* {
            if (i + 1 >= argc) Usage(a + " needs a value");
            return argv[++i];
        };
        if (a == "--quick") o.quick = true;
        else if (a == "--number") o.number = Number(value(), 1, 30);
        else if (a == "--script") o.script = value();
        else if (a == "--play") o.play = true, o.seed = unsigned(Number(value(), 0, 2147483647));
        else if (a == "--dir") o.dir = value();
        else if (a == "--frames") o.frames = Number(value(), 1, 100000000);
        else if (!a.empty() && a[0] == '-') Usage("unknown option " + a);
        else if (o.mission.empty()) o.mission = a;
        else Usage("one mission at a time");
    }
    if (o.play ? (o.dir.empty() || o.number == 0) : o.mission.empty()) Usage("missing arguments");
    return o;
}

bool ReadMission(const std::string& path, MissionImage& mission) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream text;
    text << in.rdbuf();
    std::string bytes = text.str();
    if (path.size() > 4 && path.substr(path.size() - 4) == ".txt") {
        MissionSource source;
        std::string error;
        if (!ParseMissionSource(bytes, source, error)) {
            std::fprintf(stderr, "%s: %s\n", path.c_str(), error.c_str());
            return false;
        }
        mission = source.image;
        return true;
    }
    DecodeMission(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), mission);
    return bytes.size() == MissionFileSize;
}

const char* const Sides[4] = {"right", "below", "left", "above"};

bool WriteText(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    return bool(out);
}

// The script of a way to clear the mission, a comment before every pair.
std::string SolutionScript(const Options& o, const MissionImage& mission, const SolveResult& r) {
    std::string text = "# " + o.mission + ": cleared with " + std::to_string(r.solution.size()) + " pairs\n";
    if (o.number > 0) text += "# title, mission select, mission " + std::to_string(o.number) + ", board entry\n" +
                              ScriptLines(MenuToMission(o.number));
    KeyLog log;
    StartMissionPlay(mission);
    RunToNextPair(&log);
    text += "# the first pair comes in\n" + ScriptLines(log);
    for (size_t i = 0; i < r.solution.size(); ++i) {
        const Placement& p = r.solution[i];
        log.clear();
        PlayPlacement(p, &log);
        RunToNextPair(&log);
        text += "# pair " + std::to_string(i + 1) + ": second half " + Sides[p.orientation] + ", first half in column " +
                std::to_string(p.column) + "\n" + ScriptLines(log);
    }
    return text;
}

int Solve(const Options& o) {
    MissionImage mission;
    if (!ReadMission(o.mission, mission)) Usage("cannot read the mission " + o.mission);
    if (!FixedQueueMission(mission)) {
        std::printf("%s: goal type %d draws its pairs at random; try --play\n", o.mission.c_str(), mission.type);
        return 1;
    }
    auto start = std::chrono::steady_clock::now();
    SolveResult r = SolveMission(mission, SolveOptions{!o.quick});
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("mission: %s\ngoal: type %d, target %u, %d pairs\n", o.mission.c_str(), mission.type, mission.target,
                mission.pieceLimit);
    std::printf("clearable: %s\n", r.clearable ? "yes" : "no");
    if (r.clearable) {
        std::printf("%s: %zu pairs\n", o.quick ? "found" : "shortest", r.solution.size());
        for (size_t i = 0; i < r.solution.size(); ++i)
            std::printf("  pair %zu: second half %s, first half in column %d\n", i + 1,
                        Sides[r.solution[i].orientation], r.solution[i].column);
    }
    if (!o.quick)
        std::printf("clearing sequences: %llu of %llu (%.4f%%)\n", (unsigned long long)r.clearingSequences,
                    (unsigned long long)r.allSequences,
                    r.allSequences ? 100.0 * double(r.clearingSequences) / double(r.allSequences) : 0.0);
    std::printf("searched: %llu positions, %llu placements, %.2f s\n", (unsigned long long)r.positions,
                (unsigned long long)r.placements, seconds);
    if (r.clearable && !o.script.empty() && !WriteText(o.script, SolutionScript(o, mission, r))) {
        std::fprintf(stderr, "tessmar-solve: cannot write %s\n", o.script.c_str());
        return 1;
    }
    return r.clearable ? 0 : 1;
}

int Play(const Options& o) {
    PlayerRun run = PlayWithSimplePlayer(o.dir, o.number, o.seed, o.frames);
    std::printf("mission %d, seed %u: %s after %d frames of play, %d pairs\n", o.number, o.seed,
                run.cleared ? "cleared" : "not cleared", run.playFrames, run.pairs);
    if (!o.script.empty() && !WriteText(o.script, "# mission " + std::to_string(o.number) + ", the simple player, --seed " +
                                                      std::to_string(o.seed) + "\n" + ScriptLines(run.keys))) {
        std::fprintf(stderr, "tessmar-solve: cannot write %s\n", o.script.c_str());
        return 1;
    }
    return run.cleared ? 0 : 1;
}
}  // namespace

int main(int argc, char** argv) {
    Options o = ReadOptions(argc, argv);
    return o.play ? Play(o) : Solve(o);
}
