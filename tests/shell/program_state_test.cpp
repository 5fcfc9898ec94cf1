// The program state list holds every variable the game plays by: a game
// put back from its image plays on exactly as it did, byte for byte, after
// anything at all happened in between. A variable missing from the list keeps
// what the frames in between left in it, and the replay drifts.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <sstream>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "draw/surface.h"
#include "draw/surfaces.h"
#include "platform/platform.h"
#include "platform/platform_headless.h"
#include "rules/game_mode.h"
#include "rules/game_random.h"
#include "rules/link.h"
#include "rules/queue.h"
#include "rules/screen_state.h"
#include "screens/mission_loader.h"
#include "screens/title.h"
#include "shell/program_state.h"
#include "shell/startup.h"
#include "tests/test_support.h"

namespace {
// Keys a player might hold in a frame, Down seldom so that pairs also fall
// on their own. Escape would end the program; Enter would pause it half the time.
KeySet RandomKeys(std::mt19937& rng) {
    static const Key keys[] = {KeyLeft, KeyRight, KeyUp, KeyZ, KeyX, KeyA, KeyC, KeyD, KeyG};
    KeySet held = rng() % 12 == 0 ? KeyBit(KeyDown) : KeySet{};
    for (Key k : keys)
        if (rng() % 8 == 0) held |= KeyBit(k);
    return held;
}

// Frames of random input from `seed`; each frame's whole state image.
std::vector<std::vector<uint8_t>> PlayFrames(unsigned seed, int frames) {
    std::mt19937 rng(seed);
    std::vector<std::vector<uint8_t>> images;
    for (int f = 0; f < frames && !QuitFlag; ++f) {
        Headless.keys = RandomKeys(rng);
        RunFrame();
        static ProgramStateImage image;
        SaveProgramState(image);
        images.emplace_back(image, image + ProgramStateBytes);
    }
    return images;
}

std::string Differences(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
    std::string d;
    size_t at = 0;
    for (const StateVariable& v : ProgramState) {
        if (std::memcmp(a.data() + at, b.data() + at, v.size) != 0) d += std::string(v.name) + " ";
        at += v.size;
    }
    return d;
}
}  // namespace

// From several points of a game: the frames from there recorded, then 500
// (or fewer) random frames played, the image put back and the same frames
// played again. Short detours end mid-fall, mid-turn, mid-erase or mid-spawn,
// so a forgotten timer differs from the one put back.
TEST(ProgramStateList, RestoredGameReplaysByteForByteAfterRandomFrames) {
    StartInFolder(MakeTempFolder("program_state"));
    SetUpScoreAttack();
    ScreenState = NextPair;
    PlayFrames(1, 100);
    int round = 0;
    for (int detour : {500, 3, 7, 11, 17, 23, 31, 43, 59, 71}) {
        ++round;
        static ProgramStateImage start;
        SaveProgramState(start);
        const uint32_t clock = Headless.clock;
        SeedGameRandom(99 + round);
        const auto first = PlayFrames(1000 + round, 150);
        const std::vector<uint32_t> firstPicture = Headless.lastPresented;

        PlayFrames(2000 + round, detour);
        RestoreProgramState(start);
        Headless.clock = clock;
        SeedGameRandom(99 + round);
        const auto again = PlayFrames(1000 + round, 150);

        ASSERT_EQ(again.size(), first.size());
        for (size_t f = 0; f < first.size(); ++f)
            ASSERT_EQ(Differences(first[f], again[f]), "") << "frame " << f + 1 << " after a detour of " << detour;
        EXPECT_TRUE(firstPicture == Headless.lastPresented) << "after a detour of " << detour;
    }
}

// Undo through the game's own keys in a random-pair mission (the fish swim)
// with fish in stock: three pairs played at random, link actions among them,
// four Backspaces back to the entry of the first of them, and the same keys
// again: every frame's state equals the first time's, byte for byte, but for
// the frame count and pacing and the C and G toggles, which do not go back.
TEST(ProgramStateList, UndoneGameReplaysByteForByteAcrossLinkActions) {
    StartInFolder(MakeTempFolder("undo_links"));
    ASSERT_TRUE(LoadMissionFile(TESSMAR_BINARY_DIR "/gamedata/mission/15.msn"));
    GameMode = EditGame;
    ScreenState = BoardEntryScreen;
    LinkStock = 9;
    std::mt19937 rng(3);
    // Random keys, none in the frame a pair comes in, so that the next
    // frame's keys count as pressed in both games.
    auto keysFor = [&] {
        KeySet keys = RandomKeys(rng);
        return ScreenState == NextPair && SpawnTimer == SpawnFrames - 1 ? KeySet{} : keys;
    };
    while (UndoDepth < 3 && !QuitFlag) {
        Headless.keys = keysFor();
        RunFrame();
    }
    std::vector<KeySet> keys;
    std::vector<std::vector<uint8_t>> first;
    int linking = 0;
    while (UndoDepth < 6 && ScreenState <= Linking) {
        keys.push_back(keys.empty() ? keysFor() | KeyBit(KeyUp) : keysFor());
        Headless.keys = keys.back();
        RunFrame();
        linking += ScreenState == Linking;
        static ProgramStateImage image;
        SaveProgramState(image);
        first.emplace_back(image, image + ProgramStateBytes);
    }
    ASSERT_EQ(UndoDepth, 6) << "the game ended before three more pairs came in";
    EXPECT_GT(linking, 0);
    for (int press = 0; press < 4; ++press) {
        Headless.keys = KeyBit(KeyBackspace);
        RunFrame();
        Headless.keys = {};
        RunFrame();
    }
    ASSERT_EQ(UndoDepth, 3);
    // Besides the pacing and the toggles, the undos are counted.
    const std::set<std::string> pacing = {"FrameCounter", "FpsWindowStart", "FpsWindowStarted", "FrameDeadline",
                                          "FrameDeadlineSet", "FpsValue", "ColourMode", "GridMode", "UndoCount"};
    for (size_t f = 0; f < keys.size(); ++f) {
        Headless.keys = keys[f];
        RunFrame();
        static ProgramStateImage image;
        SaveProgramState(image);
        std::string differ, d = Differences(first[f], std::vector<uint8_t>(image, image + ProgramStateBytes));
        std::stringstream names(d);
        for (std::string n; names >> n;)
            if (!pacing.count(n)) differ += n + " ";
        ASSERT_EQ(differ, "") << "frame " << f + 1 << " after the undos";
    }
}

// Every variable with static storage that the game's logic defines, file-
// local ones included, is in the list, unless it is one of the few that
// start-up fills from outside (surfaces, sounds, the seed), a scratch buffer
// rewritten before every use, or the list itself. Read from the libraries'
// symbol tables, so a variable added to any module and to no list fails here.
TEST(ProgramStateList, HoldsEveryVariableOfTheGameLogic) {
    const std::set<std::string> outside = {
        "BackBuffer", "GradientSurface", "TileSurface", "BlockSheet", "FontSheet", "KanaSheet", "LogoSheet", "SoundMove",
        "SoundTurn", "SoundCursor", "SoundDecide", "FixedSeed", "ProgramState", "SoundMoveFull", "SoundTurnFull", "SoundLand",
        "SoundChain", "SoundFish", "SoundLink", "SoundGameOver", "SoundClear", "SoundLevelUp",
        "(anonymous namespace)::AllSounds",
        "ChosenSounds",                              // the player's choice of sounds
        "(anonymous namespace)::soundWaiting", "(anonymous namespace)::waitingSound",  // empty between frames
        "(anonymous namespace)::openTune",           // which tune files the platform holds
        "(anonymous namespace)::livelyChosen",       // which of them it was told to play
        "TextLanguage",                             // the player's choice, like the folders and the seed
        "PaletteSafe", "FlashingSteady", "ScaleFit",  // the player's choice of colours, blinking and picture size
        "BriskFall",  // the player's choice of speed, which each replay carries
        "KeyBinding", "MusicLevel", "EffectsLevel", "SoundMuted",  // the player's keys and sound
        "PadBinding", "PadNintendo",                 // and pad
        "(anonymous namespace)::listedFiles",        // the author's mission files, as a folder on disk
        "(anonymous namespace)::inFile",             // the settings file's choices as last seen
        "TextBuffer",                               // FormatText's scratch
        "RecordsOnDisk",                            // the records file as last seen, not play
        "(anonymous namespace)::saveWaiting", "(anonymous namespace)::saveAskedAt",
        "(anonymous namespace)::clearedSinceAsked",  // a save waiting for the file's lock, not play
        "(anonymous namespace)::lastFile",           // the mission file's bytes, kept for its replay
        "RandomAtSetUp", "GroupIdAtSetUp",           // what the last set-up found, for its replay
        "ProgramSeed", "NameEntryDay",               // the seed as it was given; a watched replay's day
        // The recording of the game being played, outside what it records.
        "RecordingReplays", "ReplaysFolder[abi:cxx11]", "(anonymous namespace)::sampled",
        "(anonymous namespace)::recording", "(anonymous namespace)::current", "(anonymous namespace)::startTime",
        "(anonymous namespace)::bestScore", "(anonymous namespace)::cleared", "(anonymous namespace)::toldNotKept",
        "(anonymous namespace)::lastSample",
        // The replays list and the watch: they outlast the game state a replay puts back.
        "(anonymous namespace)::listOpen", "(anonymous namespace)::watching", "(anonymous namespace)::paused",
        "(anonymous namespace)::justBack", "(anonymous namespace)::rows", "(anonymous namespace)::cursor",
        "(anonymous namespace)::speed", "(anonymous namespace)::saved", "(anonymous namespace)::savedKeys",
        "(anonymous namespace)::savedPad", "(anonymous namespace)::savedNintendo", "(anonymous namespace)::savedBrisk", "(anonymous namespace)::wasDown",
        "(anonymous namespace)::List", "(anonymous namespace)::Start",  // the list and its start image
        "(anonymous namespace)::pictureStands", "(anonymous namespace)::rowsUnderWord",  // of the back buffer
        "(anonymous namespace)::focusPausePending", "(anonymous namespace)::focusBackSincePending",  // the window's focus
        "(anonymous namespace)::player", "(anonymous namespace)::frame", "(anonymous namespace)::usedUp",  // the replay
        "GameSettingsPath[abi:cxx11]", "(anonymous namespace)::openedAs",  // the settings file, the window as it opened
        "(anonymous namespace)::fitting",  // the player's choice of picture size
        "(anonymous namespace)::pairEntries", "(anonymous namespace)::retryPoint",  // images of the list, for undo
        // A search inside the game: its keys and quiet while it samples and
        // steps, the game's image and the progress mark's pacing while the
        // day's mission is made, the maker the program hands over, and how
        // many boards it tried (for the trace: the game's state is put back
        // after the making).
        "(anonymous namespace)::searchKeys", "PlayUnheard", "(anonymous namespace)::gameState",
        "(anonymous namespace)::lastShown", "DailyMaker", "DailyBoardsTried",
        // The back buffer's held drawing: what the picture was drawn from, not play.
        "HeldSurface", "(anonymous namespace)::ops", "(anonymous namespace)::coverFirst",
        "(anonymous namespace)::knownLast", "(anonymous namespace)::keys", "(anonymous namespace)::lastKeys",
        "(anonymous namespace)::tilesX", "(anonymous namespace)::tilesY", "(anonymous namespace)::changed",
        "(anonymous namespace)::allChanged", "(anonymous namespace)::drawNow", "(anonymous namespace)::drawRects",
        "(anonymous namespace)::changedRects", "(anonymous namespace)::endAbove", "(anonymous namespace)::endHere",
        "ShowBackBuffer()::areas",
    };
    std::set<std::string> listed;
    for (const StateVariable& v : ProgramState) listed.insert(v.name);
    // System V format: "name|value|class|type|size|line|section".
    std::string command = "nm -C --defined-only -f sysv " TESSMAR_LOGIC_FILES;
    std::FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    char line[1024];
    std::set<std::string> found;
    while (std::fgets(line, sizeof line, pipe)) {
        std::vector<std::string> field;
        std::stringstream fields(line);
        for (std::string f; std::getline(fields, f, '|');) field.push_back(f);
        if (field.size() < 7) continue;
        auto trimmed = [](std::string t) {
            t.erase(0, t.find_first_not_of(" \t"));
            t.erase(t.find_last_not_of(" \t\n") + 1);
            return t;
        };
        // Data (D, d) and zero-filled data (B, b), global or file-local; not
        // constants that only need relocating (".data.rel.ro").
        std::string type = trimmed(field[2]), section = trimmed(field[6]);
        if (type.size() != 1 || !std::strchr("BDbd", type[0]) || section.starts_with(".data.rel.ro")) continue;
        std::string n = trimmed(field[0]);
        if (n.starts_with("__") || n.starts_with("guard variable for ")) continue;  // the compiler's own
        const std::string spelled = "std::__cxx11::basic_string<char, std::char_traits<char>, std::allocator<char> >";
        for (size_t at; (at = n.find(spelled)) != std::string::npos;) n.replace(at, spelled.size(), "std::string");
        found.insert(n);
        if (!outside.count(n)) {
            EXPECT_TRUE(listed.count(n)) << n << " is in no state list";
        }
    }
    EXPECT_EQ(pclose(pipe), 0);
    for (const std::string& n : listed) EXPECT_TRUE(found.count(n)) << n << " is listed but not defined";
}
