// tessmar-solve: whether a mission can be cleared, its shortest way, how many
// ways clear it, how hard it is, and its shortest way as a headless runner
// script.
//
//   tessmar-solve FILE.msn [--json] [--script OUT] [--from title|mission] [--budget N] [--seconds S]
//   tessmar-solve --daily YYYY-MM-DD OUT.msn [--json]
//   tessmar-solve --play SEED --dir FOLDER --number N [--frames F] [--script FILE]
//   tessmar-solve FILE.msn --plan "C,R C,R; C,R C,R; ..."
//
// FILE is a 294-byte mission file (or a mission source, NAME.txt). --script
// writes the shortest way: with --from title (the default) from the title
// through the menus (a file NN.msn in a folder named mission as numbered
// mission NN, any other file through "EDIT GAME" and the file dialog), with
// --from mission from the first frame of the board entry of a game started
// with --mission FILE. --budget caps the positions searched. --seconds S
// stops the search after S seconds (what it found so far is the answer, as
// when the budget runs out); with --json it prints progress lines meanwhile. --daily writes the day's mission of a date to OUT.msn and prints its
// proof. --play lets the simple player play numbered mission N of the game
// folder FOLDER (random pairs) for at most F frames (12000). --plan plays a
// plan written as the cells each pair's halves land in (first half, then
// second, a pair after each ';'; a half that splits off is named where the
// pair landed), prints the well after every pair and
// whether the plan clears the mission: for checking by hand what a player
// would try first.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "rules/board.h"
#include "rules/scoring.h"
#include "settings/number_text.h"
#include "platform/platform_os.h"
#include "tools/json_text.h"
#include "tools/missions/mission_source.h"
#include "tools/solver/daily_mission.h"
#include "tools/solver/menu_script.h"
#include "tools/solver/simple_player.h"
#include "tools/solver/solver.h"

namespace {
namespace fs = std::filesystem;

struct Options {
    bool json = false, play = false, fromTitle = true;
    int number = 0, frames = 12000, menu = 0;
    unsigned seed = 0;
    uint64_t budget = SolveOptions{}.positionBudget;
    double seconds = 0;  // 0: one search with the whole budget
    std::string mission, script, dir, daily, plan;
};

[[noreturn]] void Fail(const std::string& why) {
    std::fprintf(stderr, "tessmar-solve: %s\n", why.c_str());
    std::exit(2);
}

long long Number(const char* text, long long low, long long high) {
    long long v = 0;
    if (!ParseNumber(text, low, high, v)) Fail(std::string("bad number ") + text);
    return v;
}

Options ReadOptions(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto value = [&]() -> const char* {
            if (i + 1 >= argc) Fail(a + " needs a value");
            return argv[++i];
        };
        if (a == "--json") o.json = true;
        else if (a == "--script") o.script = value();
        else if (a == "--from") {
            std::string from = value();
            if (from != "title" && from != "mission") Fail("--from takes title or mission");
            o.fromTitle = from == "title";
        } else if (a == "--budget") o.budget = uint64_t(Number(value(), 1, 100000000));
        else if (a == "--seconds") o.seconds = double(Number(value(), 1, 86400));
        else if (a == "--number") o.number = int(Number(value(), 1, 30));
        else if (a == "--play") o.play = true, o.seed = unsigned(Number(value(), 0, 2147483647));
        else if (a == "--dir") o.dir = value();
        else if (a == "--daily") o.daily = value();
        else if (a == "--frames") o.frames = int(Number(value(), 1, 100000000));
        else if (a == "--menu") o.menu = int(Number(value(), 1, 30));
        else if (a == "--plan") o.plan = value();
        else if (!a.empty() && a[0] == '-') Fail("unknown option " + a);
        else if (o.mission.empty()) o.mission = a;
        else Fail("one mission at a time");
    }
    if (o.menu == 0 && (o.play ? (o.dir.empty() || o.number == 0) : o.mission.empty()))
        Fail("usage: tessmar-solve FILE.msn [--json] [--script OUT] [--from title|mission] [--budget N] [--seconds S]"
             " | --daily YYYY-MM-DD OUT.msn | --menu N");
    return o;
}

// A mission source is a page of text; a longer file is none.
constexpr size_t MissionSourceMaxBytes = size_t(1) << 20;

// A 294-byte mission file (only its first 294 bytes are read), or a mission
// source. A pair count the format cannot hold (1 to 8) is refused: the
// search and the players would follow pairs the file does not have.
MissionImage ReadMission(const std::string& path) {
    bool source = fs::path(path).extension() == ".txt";
    std::vector<uint8_t> bytes;
    std::string why;
    if (!ReadFileBytes(path, bytes, source ? MissionSourceMaxBytes + 1 : MissionFileSize, &why))
        Fail(path + ": not a mission file (" + why + ")");
    MissionImage mission;
    if (source) {
        if (bytes.size() > MissionSourceMaxBytes) Fail(path + ": not a mission source (longer than 1 MiB)");
        MissionSource parsed;
        if (!ParseMissionSource(std::string(bytes.begin(), bytes.end()), parsed, why)) Fail(path + ": " + why);
        mission = parsed.image;
    } else {
        if (bytes.size() < MissionFileSize)
            Fail(path + ": not a mission file (" + std::to_string(bytes.size()) + " bytes, a mission has 294)");
        DecodeMission(bytes.data(), bytes.size(), mission);
    }
    if (mission.pieceLimit < 1 || mission.pieceLimit > MissionPairs)
        Fail(path + ": the mission uses " + std::to_string(mission.pieceLimit) +
             " pairs; a mission file holds 1 to 8");
    return mission;
}

// The numbered mission a file is, when it is NN.msn in a folder named mission.
int NumberedMission(const std::string& path) {
    fs::path p = fs::absolute(path).lexically_normal();
    std::string name = p.filename().string();
    if (p.parent_path().filename() != "mission" || name.size() != 6 || p.extension() != ".msn") return 0;
    if (name[0] < '0' || name[0] > '9' || name[1] < '0' || name[1] > '9') return 0;
    int n = (name[0] - '0') * 10 + (name[1] - '0');
    return n >= 1 && n <= 30 ? n : 0;
}

// True only when the whole text reached the file (a full disk may fail only
// at the close, which a stream would not report).
bool WriteText(const std::string& path, const std::string& text) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return false;
    bool written = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    if (std::fclose(f) == 0 && written) return true;
    std::remove(path.c_str());  // a torn way is no way
    return false;
}

std::string Cells(const Placement& p) {
    auto cell = [](int c, int r) { return "(" + std::to_string(c) + "," + std::to_string(r) + ")"; };
    return "first half at " + cell(p.col1, p.row1) + ", second at " + cell(p.col2, p.row2);
}

// The script of the shortest way, a comment before every pair.
std::string SolutionScript(const Options& o, const MissionImage& mission, const SolveResult& r) {
    std::string text = "# " + o.mission + ": cleared with " + std::to_string(r.solution.size()) + " pairs\n";
    if (!o.fromTitle) {
        text += "# a game started with --mission: the board entry\n" + ScriptLines(BoardEntry());
    } else if (int n = NumberedMission(o.mission)) {
        text += "# title, mission select, mission " + std::to_string(n) + ", board entry\n" +
                ScriptLines(MenuToMission(n));
    } else {
        text += "# title, mission select, EDIT GAME, the file picked, board entry\n" +
                MenuToEditGame(fs::absolute(o.mission).lexically_normal().string());
    }
    KeyLog log;
    StartMissionPlay(mission);
    RunToNextPair(&log);
    text += "# the first pair comes in\n" + ScriptLines(log);
    for (size_t i = 0; i < r.solution.size(); ++i) {
        const Placement& p = r.solution[i];
        log.clear();
        PlayPlacement(p, &log);
        RunToNextPair(&log);
        text += "# pair " + std::to_string(i + 1) + ": " + Cells(p) + "\n" + ScriptLines(log);
    }
    return text;
}

std::string Bool(bool b) { return b ? "true" : "false"; }

void PrintJson(const Options& o, const MissionImage& m, const SolveResult* r, const std::string& extra = {}) {
    std::string text = "{\"file\":" + JsonString(o.mission) + ",\"goal_type\":" + std::to_string(m.type) +
                       ",\"random_pairs\":" + Bool(r == nullptr);
    if (r) {
        char difficulty[32];
        std::snprintf(difficulty, sizeof difficulty, "%.2f", r->difficulty);
        bool rated = r->clearable && r->complete;
        text += ",\"pairs\":" + std::to_string(m.pieceLimit) + ",\"clearable\":" + Bool(r->clearable) +
                ",\"decided\":" + Bool(r->decided) + ",\"complete\":" + Bool(r->complete) +
                ",\"shortest\":" + (r->clearable ? std::to_string(r->shortest) : "null") +
                ",\"ways\":" + std::to_string(r->ways) + ",\"ways_at_least\":" + Bool(r->waysAtLeast) +
                ",\"first_placements\":" + std::to_string(r->first.placements) +
                ",\"open_doors\":" + std::to_string(r->first.open) + ",\"one_ahead_clears\":" +
                Bool(r->oneAheadClears) + ",\"two_ahead_clears\":" + Bool(r->twoAheadClears) +
                ",\"difficulty\":" + (rated ? std::string(difficulty) : "null") + ",\"doors_along\":[";
        for (size_t i = 0; i < r->along.size(); ++i)
            text += (i ? ",[" : "[") + std::to_string(r->along[i].placements) + "," +
                    std::to_string(r->along[i].open) + "]";
        text += "]";
    }
    std::printf("%s%s}\n", text.c_str(), extra.c_str());
    std::fflush(stdout);
}

void PrintHuman(const Options& o, const MissionImage& m, const SolveResult& r, double seconds) {
    std::printf("%s: goal type %d, target %u, %d pairs\n", o.mission.c_str(), m.type, m.target, m.pieceLimit);
    if (!r.clearable)
        std::printf("%s\n", r.decided ? "not clearable" : "undecided: no way found within the budget");
    else
        std::printf("clearable; shortest way %s%d pairs\n", r.decided ? "" : "found ", r.shortest);
    for (size_t i = 0; i < r.solution.size(); ++i) {
        std::printf("  pair %zu: %s", i + 1, Cells(r.solution[i]).c_str());
        if (i < r.along.size())
            std::printf(" (%d of %d placements keep it clearable)", r.along[i].open, r.along[i].placements);
        std::printf("\n");
    }
    std::printf("clearing ways: %s%llu; first pair: %d placements, %d open doors\n", r.waysAtLeast ? "at least " : "",
                (unsigned long long)r.ways, r.first.placements, r.first.open);
    std::printf("one pair ahead: %s; two pairs ahead: %s\n", r.oneAheadClears ? "clears" : "fails",
                r.twoAheadClears ? "clears" : "fails");
    if (r.clearable && r.complete) std::printf("difficulty: %.2f\n", r.difficulty);
    std::printf("searched: %llu positions, %llu placements (budget %llu positions), %.2f s\n",
                (unsigned long long)r.positions, (unsigned long long)r.placements, (unsigned long long)o.budget,
                seconds);
}

// One search that stops itself after S seconds; with --json it prints a
// progress line ({"progress":true,...}) about five times a second and the
// answer last, so a caller can show how far it got. A search that ends in
// time gives exactly the answer of one without --seconds.
template <typename Clock>
int SolveWithin(const Options& o, const MissionImage& mission, SolveOptions options, Clock elapsed) {
    constexpr double ProgressEvery = 0.2;
    double nextProgress = ProgressEvery;
    uint64_t seen = 0;
    bool outOfTime = false;
    options.players = false;  // the players weigh only a finished search
    options.keepSearching = [&](uint64_t positions) {
        double now = elapsed();
        seen = std::max(seen, positions);
        if (o.json && now >= nextProgress) {
            std::printf("{\"progress\":true,\"positions\":%llu,\"seconds\":%.2f}\n", (unsigned long long)seen, now);
            std::fflush(stdout);
            nextProgress = now + ProgressEvery;
        }
        outOfTime = outOfTime || now >= o.seconds;
        return !outOfTime;
    };
    SolveResult r = SolveMission(mission, options);
    if (r.complete && r.clearable) {
        r.oneAheadClears = GreedyPlayerClears(mission, 1);
        r.twoAheadClears = GreedyPlayerClears(mission, 2);
        r.difficulty = DifficultyFigure(r);
    }
    if (r.clearable && !o.script.empty() && !WriteText(o.script, SolutionScript(o, mission, r)))
        Fail("cannot write " + o.script);
    char extra[160];
    std::snprintf(extra, sizeof extra, ",\"positions\":%llu,\"budget\":%llu,\"seconds\":%.2f,\"final\":true,\"out_of_time\":%s",
                  (unsigned long long)r.positions, (unsigned long long)o.budget, elapsed(),
                  outOfTime ? "true" : "false");
    if (o.json) PrintJson(o, mission, &r, extra);
    else PrintHuman(o, mission, r, elapsed());
    return 0;
}

int Solve(const Options& o) {
    MissionImage mission = ReadMission(o.mission);
    if (!FixedQueueMission(mission)) {
        if (o.json) PrintJson(o, mission, nullptr);
        else std::printf("%s: goal type %d draws its pairs at random and cannot be checked\n", o.mission.c_str(),
                         mission.type);
        return 0;
    }
    auto start = std::chrono::steady_clock::now();
    auto elapsed = [&] { return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(); };
    SolveOptions options;
    options.positionBudget = o.budget;
    if (o.seconds > 0) return SolveWithin(o, mission, options, elapsed);
    SolveResult r = SolveMission(mission, options);
    double seconds = elapsed();
    if (o.json) PrintJson(o, mission, &r);
    else PrintHuman(o, mission, r, seconds);
    if (r.clearable && !o.script.empty() && !WriteText(o.script, SolutionScript(o, mission, r)))
        Fail("cannot write " + o.script);
    return 0;
}

// The day's mission of a date written to o.mission, and its proof.
int Daily(Options o) {
    o.budget = DailyProofBudget;
    CalendarDate date;
    if (!ParseDailyDate(o.daily, date))
        Fail("--daily " + o.daily + ": not a day from 1970-01-01 to 2100-12-31 (YYYY-MM-DD)");
    auto start = std::chrono::steady_clock::now();
    DailyMission daily = MakeDailyMission(date);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!daily.proof.clearable) Fail("--daily " + o.daily + ": no board drawn for the day could be proven");
    MissionBytes bytes = EncodeMission(daily.image);
    if (!WriteText(o.mission, std::string(bytes.begin(), bytes.end()))) Fail("cannot write " + o.mission);
    char extra[96];
    std::snprintf(extra, sizeof extra, ",\"date\":\"%s\",\"candidates\":%d,\"seconds\":%.2f",
                  DailyDateText(date).c_str(), daily.candidates, seconds);
    if (o.json) PrintJson(o, daily.image, &daily.proof, extra);
    else {
        std::printf("daily %s: board %d drawn\n", DailyDateText(date).c_str(), daily.candidates);
        PrintHuman(o, daily.image, daily.proof, seconds);
    }
    return 0;
}

// A plan: the cells each pair's halves land in, kept as placements without keys.
std::vector<Placement> ReadPlan(const std::string& text) {
    constexpr int Lowest = -2, Highest = 12;  // the rows and columns a landing can name
    std::vector<Placement> plan;
    std::stringstream pairs(text);
    std::string one;
    while (std::getline(pairs, one, ';')) {
        if (one.find_first_not_of(" \t") == std::string::npos) continue;
        int cell[4];
        char comma1 = 0, comma2 = 0;
        std::string rest;
        std::stringstream cells(one);
        bool read = bool(cells >> cell[0] >> comma1 >> cell[1] >> cell[2] >> comma2 >> cell[3]) && comma1 == ',' &&
                    comma2 == ',' && !(cells >> rest);
        for (int v : cell) read = read && v >= Lowest && v <= Highest;
        if (!read) Fail("--plan: \"" + one + "\" is not two cells C,R C,R");
        Placement p;
        p.col1 = int8_t(cell[0]), p.row1 = int8_t(cell[1]), p.col2 = int8_t(cell[2]), p.row2 = int8_t(cell[3]);
        plan.push_back(p);
    }
    if (plan.empty()) Fail("--plan: no pairs");
    return plan;
}

void PrintWell() {
    for (int r = 0; r <= BottomRow; ++r) {
        std::string row = "    ";
        for (int c = 0; c <= LastColumn; ++c) row += CharacterOfKind(GetKind(c, r));
        std::printf("%s\n", row.c_str());
    }
}

// Exit status 0 when the plan clears the mission, 1 when it does not.
int Plan(const Options& o) {
    MissionImage mission = ReadMission(o.mission);
    if (!FixedQueueMission(mission)) Fail(o.mission + ": its pairs are dealt at random");
    std::vector<Placement> plan = ReadPlan(o.plan);
    StartMissionPlay(mission);
    Outcome outcome = RunToNextPair(nullptr);
    for (size_t i = 0; i < plan.size() && outcome == Outcome::NextPair; ++i) {
        const Placement& wanted = plan[i];
        const std::vector<Placement>& known = KnownPlacements();
        auto match = std::find_if(known.begin(), known.end(), [&](const Placement& p) {
            return p.col1 == wanted.col1 && p.row1 == wanted.row1 && p.col2 == wanted.col2 && p.row2 == wanted.row2;
        });
        std::printf("pair %zu: %s", i + 1, Cells(wanted).c_str());
        if (match == known.end()) {
            std::printf(": no keys land it there\n");
            return 1;
        }
        Placement chosen = *match;  // the list is the search's own and changes with the next call
        PlayPlacement(chosen, nullptr);
        outcome = RunToNextPair(nullptr);
        std::printf("\n");
        PrintWell();
    }
    const char* end = outcome == Outcome::Cleared ? "cleared" : outcome == Outcome::Lost ? "lost" : "not cleared";
    std::printf("%s (goal progress %d)\n", end, int(GoalProgress));
    return outcome == Outcome::Cleared ? 0 : 1;
}

int Play(const Options& o) {
    PlayerRun run = PlayWithSimplePlayer(o.dir, o.number, o.seed, o.frames);
    std::printf("mission %d, seed %u: %s after %d frames of play, %d pairs\n", o.number, o.seed,
                run.cleared ? "cleared" : "not cleared", run.playFrames, run.pairs);
    if (!o.script.empty() && !WriteText(o.script, "# mission " + std::to_string(o.number) + ", the simple player, --seed " +
                                                      std::to_string(o.seed) + "\n" + ScriptLines(run.keys)))
        Fail("cannot write " + o.script);
    return run.cleared ? 0 : 1;
}
}  // namespace

int main(int argc, char** argv) {
    Options o = ReadOptions(argc, argv);
    if (o.menu) {
        // The keys from the title to numbered mission N's board entry, as the
        // stored ways begin.
        std::fputs(ScriptLines(MenuToMission(o.menu)).c_str(), stdout);
        return 0;
    }
    if (!o.plan.empty()) return Plan(o);
    return o.play ? Play(o) : !o.daily.empty() ? Daily(o) : Solve(o);
}
