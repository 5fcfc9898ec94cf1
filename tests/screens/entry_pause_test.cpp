// Board entry (curtains, slide, the tune in the last frame) and the pause
// screen (empty frames, blinking text, resuming only by the keyboard's Enter).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "rules/game_mode.h"
#include "rules/board.h"
#include "rules/falling_pair.h"
#include "rules/queue.h"
#include "screens/board_entry.h"
#include "screens/help.h"
#include "screens/notice.h"
#include "shell/program_state.h"
#include "screens/pause.h"
#include "tests/screens/screen_checks.h"

namespace {
// A game folder with a tune, started at the title.
void StartWithTune(const char* name) {
    std::string folder = MakeTempFolder(name);
    std::filesystem::create_directories(folder + "/snd");
    std::ofstream(folder + "/snd/bgm.mid") << "MThd";
    StartInFolder(folder);
}

int Plays(const std::vector<std::string>& music) { return int(std::count(music.begin(), music.end(), "play")); }

// Chooses SCORE ATTACK on the title (cursor on it) and runs board entry to
// its end; returns the frames it took.
int EnterScoreAttack() {
    HoldFrame({KeyZ});
    Headless.keys = {};
    return RunUntilState(NextPair, 200);
}
}  // namespace

TEST(BoardEntry, LastsSeventyNineFramesAndStartsTheTuneInTheLast) {
    StartWithTune("entry_frames");
    HoldFrame({KeyZ});
    ASSERT_EQ(ScreenState, uint32_t(BoardEntryScreen));
    Headless.keys = {};
    int frames = 0;
    while (ScreenState == BoardEntryScreen && frames < 200) {
        Headless.music.clear();
        RunFrame();
        ++frames;
        if (ScreenState == BoardEntryScreen) {
            EXPECT_EQ(Plays(Headless.music), 0) << "frame " << frames;
        }
    }
    EXPECT_EQ(frames, 79);
    EXPECT_EQ(ScreenState, uint32_t(NextPair));
    EXPECT_EQ(Plays(Headless.music), 1);
    EXPECT_FALSE(PlatformTuneStopped());
    EXPECT_EQ(EntryCurtainWidth, 192);
    EXPECT_EQ(EntryBoardY, -480);
}

TEST(BoardEntry, SameLengthInAMissionLayout) {
    StartWithTune("entry_mission");
    GameMode = NormalGame;
    MissionGoal.type = GoalEraseAtOnce;
    BoardOriginX = 16;
    BoardOriginY = 80;
    ScreenState = BoardEntryScreen;
    Headless.music.clear();
    EXPECT_EQ(RunUntilState(NextPair, 200), 79);
    EXPECT_EQ(Plays(Headless.music), 1);
}

TEST(BoardEntry, CurtainsWithdrawAndTheBoardSlidesDown) {
    StartWithTune("entry_picture");
    HoldFrame({KeyZ});
    Headless.keys = {};
    RunFrame();  // first entry frame: strips of 189 pixels with a 6-pixel gap
    TileCheck left = CheckTiled(Shown(), 0, 0, 189, 460);
    TileCheck right = CheckTiled(Shown(), 195, 0, 189, 480);
    EXPECT_EQ(left.wrong, 0);
    EXPECT_EQ(right.wrong, 0);
    EXPECT_GT(left.tiled + right.tiled, 0);
    EXPECT_EQ(NotGradient(Shown(), 189, 0, 6, 480), 0) << "the gap in the middle";

    RunFrames(39);  // the 40th frame: strips of 72, board 240 above its place
    ASSERT_EQ(EntryCurtainWidth, 72);
    ASSERT_EQ(EntryBoardY, -240);
    TileCheck strip = CheckTiled(Shown(), 0, 250, 72, 200);
    EXPECT_EQ(strip.wrong, 0);
    EXPECT_GT(strip.tiled, 0);
    EXPECT_EQ(NotGradient(Shown(), 72, 250, 240, 200), 0) << "below the sliding well";
    TileCheck well = CheckTiled(Shown(), 72, 0, 240, 80 - 240 + 384);
    EXPECT_EQ(well.wrong, 0) << "the empty well, 240 pixels above its place";

    RunFrames(39);  // the last frame: board 6 pixels above its place, no curtains
    ASSERT_EQ(ScreenState, uint32_t(NextPair));
    EXPECT_EQ(NotGradient(Shown(), 64, 458, 256, 6), 0) << "the well ends 6 pixels above its place";
    EXPECT_EQ(CheckTiled(Shown(), 64, 74, 256, 384).wrong, 0);
}

TEST(Pause, TheEnterThatPausesIsNotSeenAgainAndOnlyTheKeyboardResumes) {
    StartWithTune("pause_enter");
    ASSERT_EQ(EnterScoreAttack(), 79);
    RunFrames(20);
    ASSERT_EQ(ScreenState, uint32_t(PairFalling));
    HoldFrame({KeyEnter});
    ASSERT_EQ(PauseFlag, 1);
    int32_t fallTimer = FallTimer;
    Fish fish[FishCount];
    std::memcpy(fish, FishTable, sizeof fish);

    RunFrames(50);  // Enter still held, then the joystick's Enter button
    Headless.keys = {};
    Headless.joyPresent = true;
    Headless.joyButtons = 1u << 14;
    RunFrames(3);
    Headless.joyButtons = 0;
    RunFrames(3);
    EXPECT_EQ(PauseFlag, 1);
    EXPECT_EQ(FallTimer, fallTimer) << "play stands still";
    EXPECT_EQ(std::memcmp(fish, FishTable, sizeof fish), 0) << "the fish stand still";

    HoldFrame({KeyEnter});
    EXPECT_EQ(PauseFlag, 0);
    EXPECT_EQ(PauseBlinkTimer, 0);
    Headless.keys = {};
    RunFrame();
    EXPECT_EQ(FallTimer, fallTimer + 1) << "play resumes where it stopped";
}

TEST(Pause, TextShowsAtOnceAndBlinksTwentyOnTwentyOff) {
    StartWithTune("pause_blink");
    EnterScoreAttack();
    RunFrames(15);
    HoldFrame({KeyEnter});
    Headless.keys = {};
    std::vector<Surface> shots;
    for (int i = 0; i < 41; ++i) {
        RunFrame();
        shots.push_back(Shown());
    }
    const Surface& hidden = shots[20];  // the 21st pause frame
    for (int i = 0; i < 41; ++i) {
        bool shown = i < 19 || i >= 39;  // blink timer 1..19, then 0 and 1 again
        int diff = DifferingPixels(shots[i], hidden, 152, 240, 80, 16);
        EXPECT_EQ(diff > 0, shown) << "pause frame " << i + 1;
        EXPECT_EQ(DifferingPixels(shots[i], hidden) - diff, 0) << "only the text changes, frame " << i + 1;
    }
    EXPECT_EQ(DifferingPixels(shots[0], WithText(hidden, "PAUSE", 152, 240)), 0);

    // Steady: the text stays through the frames it would be hidden in.
    FlashingSteady = true;
    for (int i = 0; i < 41; ++i) {
        RunFrame();
        EXPECT_EQ(DifferingPixels(Shown(), shots[0]), 0) << "steady pause frame " << i + 1;
    }
    FlashingSteady = false;
}

TEST(Pause, EmptyFramesOfScoreAttack) {
    StartWithTune("pause_frames_a");
    EnterScoreAttack();
    RunFrames(15);
    HoldFrame({KeyEnter});
    Headless.keys = {};
    RunFrames(25);  // text hidden
    const Surface& shot = Shown();
    TileCheck well = CheckTiled(shot, 64, 80, 256, 384);
    EXPECT_EQ(well.wrong, 0) << "no blocks drawn";
    EXPECT_GT(well.tiled, 0);
    EXPECT_EQ(CheckTiled(shot, 336, 80, 32, 384).wrong, 0);
    EXPECT_EQ(CheckTiled(shot, 6, 200, 52, 54).wrong, 0) << "the fish-count panel, without its count";
    EXPECT_EQ(CheckTiled(shot, 64, 8, 256, 64).wrong, 0) << "the status panel, without level or score";
    EXPECT_EQ(NotGradient(shot, 320, 8, 16, 472), 0);
    EXPECT_EQ(NotGradient(shot, 0, 0, 64, 8), 0);
    EXPECT_EQ(NotGradient(shot, 0, 72, 384, 8), 0);
}

TEST(Pause, EmptyFramesOfAFixedQueueMission) {
    StartWithTune("pause_frames_b");
    GameMode = NormalGame;
    MissionGoal.type = GoalChain;
    BoardOriginX = 16;
    BoardOriginY = 80;
    ScreenState = PairFalling;
    PauseFlag = 1;
    RunFrames(25);
    const Surface& shot = Shown();
    EXPECT_EQ(CheckTiled(shot, 16, 80, 256, 384).wrong, 0);
    EXPECT_EQ(CheckTiled(shot, 288, 80, 32, 384).wrong, 0);
    TileCheck second = CheckTiled(shot, 336, 80, 32, 384, 288, 80);
    EXPECT_EQ(second.wrong, 0) << "the second column takes the first column's tile";
    EXPECT_GT(second.tiled, 0);
    EXPECT_EQ(CheckTiled(shot, 16, 8, 352, 64).wrong, 0) << "the wide status panel";
    EXPECT_EQ(NotGradient(shot, 0, 200, 16, 54), 0) << "no fish-count panel";
    EXPECT_EQ(NotGradient(shot, 272, 80, 16, 384), 0);
}

TEST(Pause, EnterInTheFrameThatEndsPlayOpensTheNextGamePaused) {
    StartWithTune("pause_game_end");
    EnterScoreAttack();
    RunFrames(12);
    ASSERT_EQ(ScreenState, uint32_t(PairFalling));
    FallingPair.col1 = FallingPair.col2 = 0;  // the pair aside, the entry cell blocked
    SetKind(4, 0, Cross);
    HoldFrame({KeyEnter});
    ASSERT_EQ(ScreenState, uint32_t(GameOverScreen));
    EXPECT_EQ(PauseFlag, 1);
    Headless.keys = {};
    ASSERT_LT(RunUntilState(TitleScreen, 400), 400) << "a score of 0 bounces off and returns to the title";
    EXPECT_EQ(PauseFlag, 1);
    ASSERT_EQ(EnterScoreAttack(), 79);
    RunFrames(5);
    EXPECT_EQ(ScreenState, uint32_t(NextPair));
    EXPECT_EQ(SpawnTimer, 0) << "play has not moved";
    EXPECT_EQ(PauseFlag, 1);
    EXPECT_GT(CheckTiled(Shown(), 152, 240, 80, 16).wrong, 0) << "\"PAUSE\" shows";
    HoldFrame({KeyEnter});
    Headless.keys = {};
    RunFrame();
    EXPECT_EQ(SpawnTimer, 1);
}

// F1 opens the how-to-play pages over the pause; while they are open nothing
// of the game moves (the pause's own blink included), Right turns the page,
// X closes them and the game is still paused where it was. In play without
// the pause F1 does nothing.
TEST(Help, OverThePauseNothingMovesAndXReturnsToThePause) {
    StartWithTune("help_pause");
    ASSERT_EQ(EnterScoreAttack(), 79);
    RunFrames(20);
    HoldFrame({KeyF1});
    Headless.keys = {};
    EXPECT_EQ(HelpOpen, HelpClosed) << "not offered in play";
    HoldFrame({KeyEnter});
    Headless.keys = {};
    ASSERT_EQ(PauseFlag, 1);
    RunFrames(5);
    ProgramStateImage before;
    SaveProgramState(before);
    HoldFrame({KeyF1});
    ASSERT_NE(HelpOpen, HelpClosed) << "open from the frame F1 was pressed";
    Headless.keys = {};
    RunFrames(30);
    HoldFrame({KeyRight});
    Headless.keys = {};
    EXPECT_EQ(HelpPage, 1);
    HoldFrame({KeyX});
    Headless.keys = {};
    EXPECT_EQ(HelpOpen, HelpClosed);
    // Everything but the input words, the frame count and the pages is as it was.
    ProgramStateImage after;
    SaveProgramState(after);
    size_t at = 0;
    for (const StateVariable& v : ProgramState) {
        std::string name = v.name;
        bool moves = name.starts_with("Key") || name.ends_with("Held") || name.ends_with("Pressed") ||
                     name.starts_with("Fps") || name.starts_with("Frame") || name.starts_with("Help");
        if (!moves) {
            EXPECT_EQ(std::memcmp(before + at, after + at, v.size), 0) << name << " changed under the pages";
        }
        at += v.size;
    }
    EXPECT_EQ(PauseFlag, 1);
    HoldFrame({KeyEnter});
    EXPECT_EQ(PauseFlag, 0) << "the game resumes as from any pause";
}

TEST(Help, FromTheTitleAndBackWithF1) {
    StartWithTune("help_title");
    HoldFrame({KeyF1});
    Headless.keys = {};
    EXPECT_NE(HelpOpen, HelpClosed);
    RunFrames(3);
    EXPECT_EQ(ScreenState, uint32_t(TitleScreen));
    HoldFrame({KeyZ});  // Z does not choose the title's item under the pages
    Headless.keys = {};
    EXPECT_EQ(ScreenState, uint32_t(TitleScreen));
    HoldFrame({KeyF1});
    Headless.keys = {};
    EXPECT_EQ(HelpOpen, HelpClosed);
    HoldFrame({KeyZ});
    EXPECT_EQ(ScreenState, uint32_t(BoardEntryScreen)) << "the title takes Z again";
}

// Every character of every page, in both languages, has a picture in the
// sheets (the katakana sheet for the Japanese pages), and none runs past the
// right margin, the keys' labels filled in.
TEST(Help, EveryCharacterOfThePagesHasAPicture) {
    StartWithTune("help_glyphs");
    EXPECT_EQ(HelpCharactersWithoutPicture(Language::Japanese), 0);
    EXPECT_EQ(HelpCharactersWithoutPicture(Language::English), 0);
}
