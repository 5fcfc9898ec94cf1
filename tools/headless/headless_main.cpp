// tessmar-headless: the real game logic frame by frame, with no window or
// audio, driven by a script. See README for the command line.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <cerrno>
#include <filesystem>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "mission/mission_goal.h"
#include "rules/fish.h"
#include "rules/queue.h"
#include "screens/title.h"
#include "shell/platform_os.h"
#include "shell/main_loop.h"
#include "shell/platform.h"
#include "shell/platform_headless.h"
#include "shell/startup.h"
#include "tools/headless/trace.h"
#include "tools/png_io.h"

namespace {
struct Step {
    enum Kind { Hold, Joy, JoyNone, Pick } kind;
    int frames = 0;
    uint32_t keys = 0;
    uint32_t x = 0, y = 0, buttons = 0;
    std::string path;
};

[[noreturn]] void Fail(const std::string& message) {
    std::fprintf(stderr, "tessmar-headless: %s\n", message.c_str());
    std::exit(2);
}

bool ParseNumber(const std::string& word, long long low, long long high, long long& value) {
    char* end = nullptr;
    errno = 0;
    value = std::strtoll(word.c_str(), &end, 10);
    return !word.empty() && *end == '\0' && errno == 0 && value >= low && value <= high;
}

uint32_t KeyBit(const std::string& name) {
    static const std::map<std::string, Key> keys = {
        {"Left", KeyLeft}, {"Right", KeyRight}, {"Up", KeyUp}, {"Down", KeyDown}, {"Z", KeyZ},
        {"X", KeyX}, {"A", KeyA}, {"C", KeyC}, {"D", KeyD}, {"G", KeyG}, {"Enter", KeyEnter},
        {"Escape", KeyEscape},
    };
    auto it = keys.find(name);
    return it == keys.end() ? 0 : 1u << it->second;
}

std::vector<Step> ReadScript(const std::string& path) {
    std::ifstream in(path);
    if (!in) Fail("cannot read the input script " + path);
    std::vector<Step> steps;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (auto hash = line.find('#'); hash != std::string::npos) line.erase(hash);
        std::istringstream words(line);
        std::vector<std::string> w;
        for (std::string word; words >> word;) w.push_back(word);
        if (w.empty()) continue;
        auto bad = [&](const std::string& why) { Fail(path + ":" + std::to_string(number) + ": " + why); };
        Step s{};
        long long v = 0;
        if (w[0] == "joy") {
            if (w.size() == 2 && w[1] == "none") {
                s.kind = Step::JoyNone;
            } else {
                long long x, y, b;
                if (w.size() != 4 || !ParseNumber(w[1], 0, 65535, x) || !ParseNumber(w[2], 0, 65535, y) ||
                    !ParseNumber(w[3], 0, 0xFFFFFFFFLL, b))
                    bad("expected 'joy X Y BUTTONS' or 'joy none'");
                s.kind = Step::Joy;
                s.x = uint32_t(x);
                s.y = uint32_t(y);
                s.buttons = uint32_t(b);
            }
        } else if (w[0] == "pick") {
            if (w.size() < 2) bad("expected 'pick PATH' or 'pick cancel'");
            s.kind = Step::Pick;
            if (!(w.size() == 2 && w[1] == "cancel")) {
                std::string rest = line.substr(line.find("pick") + 4);
                s.path = rest.substr(rest.find_first_not_of(" \t"));
                s.path.erase(s.path.find_last_not_of(" \t\r") + 1);
            }
        } else {
            if (!ParseNumber(w[0], 0, 100000000, v)) bad("expected a frame count, 'joy' or 'pick'");
            s.kind = Step::Hold;
            s.frames = int(v);
            for (size_t i = 1; i < w.size(); ++i) {
                uint32_t bit = KeyBit(w[i]);
                if (bit == 0) bad("unknown key '" + w[i] + "'");
                s.keys |= bit;
            }
        }
        steps.push_back(s);
    }
    return steps;
}

struct Options {
    std::optional<unsigned> seed;
    std::string dir, input, trace, state;
    long long idleFrames = 0;
    std::map<int, std::string> shots;
    bool startScoreAttack = false;
};

// What the title's "SCORE ATTACK" sets up, straight into the first NextPair
// without board entry.
void StartScoreAttack() {
    SetUpScoreAttack();
    ScreenState = NextPair;
}

Options ReadOptions(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) Fail("option " + a + " needs a value");
            return argv[++i];
        };
        long long v = 0;
        if (a == "--seed") {
            if (!ParseNumber(value(), 0, 0xFFFFFFFFLL, v)) Fail("--seed needs a number 0..4294967295");
            o.seed = unsigned(v);
        } else if (a == "--dir") {
            o.dir = value();
        } else if (a == "--input") {
            o.input = value();
        } else if (a == "--frames") {
            if (!ParseNumber(value(), 0, 100000000, v)) Fail("--frames needs a number");
            o.idleFrames = v;
        } else if (a == "--trace") {
            o.trace = value();
        } else if (a == "--state") {
            o.state = value();
        } else if (a == "--shot") {
            std::string shotArg = value();
            auto eq = shotArg.find('=');
            if (eq == std::string::npos || !ParseNumber(shotArg.substr(0, eq), 1, 100000000, v) || eq + 1 == shotArg.size())
                Fail("--shot needs FRAME=FILE.png");
            o.shots[int(v)] = shotArg.substr(eq + 1);
        } else if (a == "--start-score-attack") {
            o.startScoreAttack = true;
        } else {
            Fail("unknown option " + a);
        }
    }
    return o;
}
}  // namespace

int main(int argc, char** argv) {
    Options o = ReadOptions(argc, argv);
    // Output paths are taken relative to where we were started, not the game folder.
    auto absolute = [](std::string& p) { if (!p.empty()) p = std::filesystem::absolute(p).string(); };
    absolute(o.state);
    for (auto& [frame, path] : o.shots) absolute(path);
    std::vector<Step> steps;
    if (!o.input.empty()) steps = ReadScript(o.input);
    std::FILE* trace = nullptr;
    if (!o.trace.empty() && (trace = std::fopen(o.trace.c_str(), "w")) == nullptr) Fail("cannot write " + o.trace);
    if (!o.dir.empty() && chdir(o.dir.c_str()) != 0) Fail("cannot enter the game folder " + o.dir);

    FixedSeed = o.seed;
    PlatformInit();
    PlatformOpenWindow("Tessmar", ScreenWidth, ScreenHeight);
    StartProgram();
    if (o.startScoreAttack) StartScoreAttack();

    int frame = 0;
    auto runFrame = [&]() {
        Headless.sounds.clear();
        Headless.music.clear();
        FilesWritten.clear();
        ++frame;
        int presentsBefore = Headless.presents;
        RunFrame();
        if (auto shot = o.shots.find(frame); shot != o.shots.end() && Headless.presents > presentsBefore)
            if (!WritePng(shot->second, Headless.lastPresented))
                std::fprintf(stderr, "tessmar-headless: cannot write %s\n", shot->second.c_str());
        if (trace) std::fprintf(trace, "%s\n", TraceObject(frame, false).c_str());
    };

    for (const Step& s : steps) {
        if (QuitFlag) break;
        switch (s.kind) {
            case Step::Joy:
                Headless.joyPresent = true;
                Headless.joyX = s.x;
                Headless.joyY = s.y;
                Headless.joyButtons = s.buttons;
                break;
            case Step::JoyNone: Headless.joyPresent = false; break;
            case Step::Pick: Headless.picks.push_back(s.path); break;
            case Step::Hold:
                Headless.keys = s.keys;
                for (int i = 0; i < s.frames && !QuitFlag; ++i) runFrame();
                break;
        }
    }
    Headless.keys = 0;
    for (long long i = 0; i < o.idleFrames && !QuitFlag; ++i) runFrame();

    if (trace) std::fclose(trace);
    if (!o.state.empty()) {
        std::FILE* f = std::fopen(o.state.c_str(), "w");
        if (f == nullptr) Fail("cannot write " + o.state);
        std::fprintf(f, "%s\n", TraceObject(frame, true).c_str());
        std::fclose(f);
    }
    EndProgram();
    PlatformShutdown();
    return 0;
}
