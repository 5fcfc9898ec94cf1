#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "rules/game_mode.h"
#include "platform/platform.h"
#include "platform/platform_headless.h"
#include "rules/board.h"
#include "rules/falling_pair.h"
#include "rules/fish.h"
#include "rules/new_game.h"
#include "rules/game_events.h"
#include "rules/queue.h"
#include "rules/scoring.h"
#include "shell/sound_choice.h"
#include "shell/main_loop.h"
#include "tests/test_support.h"

namespace {
// A score-attack game in the folder, with a tune of `tuneMs` virtual
// milliseconds already playing, waiting for its first pair.
void StartPlay(uint32_t tuneMs, SoundSet sounds = SoundSet::Classic) {
    std::string folder = MakeTempFolder("play_frame");
    std::filesystem::create_directories(folder + "/snd");
    std::ofstream(folder + "/snd/bgm.mid") << "MThd";
    StartInFolder(folder, sounds);
    Headless.tuneLengthMs = tuneMs;
    GameMode = ScoreAttack;
    BoardOriginX = 64;
    BoardOriginY = 80;
    FillRandomQueue();
    ClearQueueFrames();
    ScreenState = NextPair;
    PlatformTunePlay();
    Headless.music.clear();
}

int Count(const std::vector<std::string>& v, const std::string& s) { return int(std::count(v.begin(), v.end(), s)); }
}  // namespace

TEST(PlayFrame, EnterPausesAfterOneMoreNormalFrame) {
    StartPlay(0);
    RunFrames(20);
    ASSERT_EQ(ScreenState, uint32_t(PairFalling));
    int32_t fallTimer = FallTimer;
    Headless.keys = KeyBit(KeyEnter);
    RunFrame();
    EXPECT_EQ(PauseFlag, 1);
    EXPECT_EQ(FallTimer, fallTimer + 1) << "the frame in which Enter goes down still plays";
    RunFrames(5);  // held: the pause screen runs, play stands still
    EXPECT_EQ(FallTimer, fallTimer + 1);
    EXPECT_EQ(PauseFlag, 1);
}

TEST(PlayFrame, TuneRestartsOncePerEnd) {
    StartPlay(100);  // ends after four frames
    RunFrames(4);
    EXPECT_EQ(Count(Headless.music, "play"), 0);
    RunFrame();      // the first frame that finds it stopped restarts it
    EXPECT_EQ(Count(Headless.music, "play"), 1);
    RunFrames(3);
    EXPECT_EQ(Count(Headless.music, "play"), 1);
    RunFrames(2);
    EXPECT_EQ(Count(Headless.music, "play"), 2);
}

TEST(PlayFrame, TuneIsNotRestartedInTheFrameThatEndsPlay) {
    StartPlay(0);
    RunFrames(12);
    ASSERT_EQ(ScreenState, uint32_t(PairFalling));
    FallingPair.col1 = FallingPair.col2 = 0;  // move the pair aside and block the entry cell
    SetKind(4, 0, Cross);
    Headless.music.clear();
    RunFrame();
    EXPECT_EQ(ScreenState, uint32_t(GameOverScreen));
    EXPECT_EQ(Count(Headless.music, "stop"), 1);
    EXPECT_EQ(Count(Headless.music, "play"), 0);
    EXPECT_TRUE(PlatformTuneStopped());
}

TEST(PlayFrame, EnterInTheFrameThatEndsPlayStillPauses) {
    StartPlay(0);
    RunFrames(12);
    SetKind(4, 0, Cross);
    FallingPair.col1 = FallingPair.col2 = 0;
    Headless.keys = KeyBit(KeyEnter);
    RunFrame();
    EXPECT_EQ(ScreenState, uint32_t(GameOverScreen));
    EXPECT_EQ(PauseFlag, 1);
}

TEST(NewGame, LeavesWallsAndAnEmptyWell) {
    StartPlay(0);
    for (int c = 0; c < 8; ++c)
        for (int r = -2; r <= 11; ++r) {
            SetKind(c, r, Cross);
            SetGroup(c, r, 7);
            SetFrame(c, r, 1);
        }
    for (int i = 0; i < 200; ++i) {
        NewGame();
        ASSERT_GE(NextGroupId, 1);
        ASSERT_LE(NextGroupId, 5);
    }
    EXPECT_TRUE(WallsIntact());
    for (int c = 0; c < 8; ++c)
        for (int r = -2; r <= 11; ++r) {
            EXPECT_EQ(GetKind(c, r), Empty);
            EXPECT_EQ(GetGroup(c, r), 0);
            EXPECT_EQ(GetFrame(c, r), 0);
        }
    EXPECT_EQ(FallInterval, 50);
}

// What a frame that raises these sounds lets the player hear: the classic
// set everything it knows, in order; the full set the menus' sounds at once
// and of the play sounds only the most rewarding, at the end of the frame.
TEST(PlayFrame, SoundsOfAFrameBySetAndReward) {
    using enum GameSound;
    using Sounds = std::vector<std::string>;
    struct Case {
        SoundSet set;
        std::vector<GameSound> raised;
        Sounds heard;
    };
    const Case cases[] = {
        {SoundSet::Classic, {Move, Land, Chain1, Turn, Fish, Link, GameOver, Clear, LevelUp}, {"SoundMove", "SoundTurn"}},
        {SoundSet::Classic, {Move, Move}, {"SoundMove", "SoundMove"}},
        {SoundSet::Full, {Move, Move}, {"SoundMoveFull"}},
        {SoundSet::Full, {Move, Turn}, {"SoundTurnFull"}},
        {SoundSet::Full, {Turn, Land}, {"SoundLand"}},
        {SoundSet::Full, {Land, Fish}, {"SoundFish"}},
        {SoundSet::Full, {Link, Fish}, {"SoundLink"}},
        {SoundSet::Full, {Land, Chain1, Link}, {"SoundChain1"}},
        {SoundSet::Full, {Link, LevelUp, Land}, {"SoundLevelUp"}},
        {SoundSet::Full, {LevelUp, Chain1}, {"SoundChain1"}},
        {SoundSet::Full, {Chain5, Chain2}, {"SoundChain5"}},
        {SoundSet::Full, {Chain5, GameOver}, {"SoundGameOver"}},
        {SoundSet::Full, {GameOver, Clear, Chain5}, {"SoundClear"}},
        {SoundSet::Full, {Move, Cursor, Decide}, {"SoundCursor", "SoundDecide", "SoundMoveFull"}},
        {SoundSet::Full, {ChainSound(9)}, {"SoundChain5"}},
        {SoundSet::Full, {}, {}},
    };
    for (const Case& c : cases) {
        StartPlay(0, c.set);
        Headless.sounds.clear();
        for (GameSound sound : c.raised) PlayGameSound(sound);
        PlayFrameSound();
        EXPECT_EQ(Headless.sounds, c.heard) << "case " << (&c - cases);
        Headless.sounds.clear();
        PlayFrameSound();
        EXPECT_EQ(Headless.sounds, Sounds{}) << "played twice, case " << (&c - cases);
    }
}

// The full set in real frames: a pair dropped to the floor lands with its
// sound; a blocked entry ends the game with the tune stopped and the
// game-over sound heard in that frame.
TEST(PlayFrame, FullSetLandsAndEndsAGameAudibly) {
    StartPlay(0, SoundSet::Full);
    while (ScreenState != PairFalling) RunFrame();
    Headless.keys = KeyBit(KeyDown);
    int frames = 0;
    Headless.sounds.clear();
    while (ScreenState != NextPair && frames++ < 40) RunFrame();
    ASSERT_EQ(ScreenState, uint32_t(NextPair));
    EXPECT_EQ(Headless.sounds, std::vector<std::string>{"SoundLand"});
    Headless.keys = {};
    RunFrames(12);
    ASSERT_EQ(ScreenState, uint32_t(PairFalling));
    FallingPair.col1 = FallingPair.col2 = 0;
    SetKind(4, 0, Cross);
    Headless.sounds.clear();
    Headless.music.clear();
    RunFrame();
    EXPECT_EQ(ScreenState, uint32_t(GameOverScreen));
    EXPECT_EQ(Headless.music, std::vector<std::string>{"stop"});
    EXPECT_EQ(Headless.sounds, std::vector<std::string>{"SoundGameOver"});
}

// The missions' tune in the full set, opened during board entry; with its
// file missing the score-attack tune stands in; score attack in the full set
// opens its calm arrangement with the tune itself as the second; the classic
// set keeps the one tune opened at start-up.
TEST(PlayFrame, MissionsHaveTheirOwnTuneInTheFullSet) {
    struct Case {
        SoundSet set;
        GameModeValue mode;
        bool secondTune;
        std::vector<std::string> music;
    };
    const Case cases[] = {
        {SoundSet::Full, NormalGame, true, {"close", "open"}},
        {SoundSet::Full, EditGame, false, {"close", "open"}},
        {SoundSet::Full, ScoreAttack, true, {"close", "open", "second bgm.mid"}},
        {SoundSet::Classic, NormalGame, true, {}},
    };
    for (const Case& c : cases) {
        std::string folder = MakeTempFolder("mission_tune");
        std::filesystem::create_directories(folder + "/snd");
        std::ofstream(folder + "/snd/bgm.mid") << "MThd";
        if (c.secondTune) std::ofstream(folder + "/snd/bgm2.mid") << "MThd";
        StartInFolder(folder, c.set);
        GameMode = c.mode;
        ScreenState = BoardEntryScreen;
        Headless.music.clear();
        RunFrame();
        EXPECT_EQ(Headless.music, c.music) << "case " << (&c - cases);
        EXPECT_TRUE(Headless.tuneOpen) << "case " << (&c - cases);
        Headless.music.clear();
        RunFrame();
        EXPECT_TRUE(Headless.music.empty()) << "opened once, case " << (&c - cases);
    }
}

// Score attack in the full set changes to the tune itself when the level
// reaches 5, on a line of two bars of the calm arrangement, once; a new
// game goes back to the calm one. The classic set never changes.
TEST(PlayFrame, ScoreAttackTuneFollowsTheLevel) {
    const std::string lively = "use second 4444.444", calm = "use first 4444.444";
    for (SoundSet set : {SoundSet::Full, SoundSet::Classic}) {
        StartPlay(0, set);
        ScreenState = BoardEntryScreen;
        RunFrame();
        Headless.music.clear();
        Level = 4;
        RunFrame();
        Level = 5;
        RunFrames(2);
        Level = 7;
        RunFrame();
        NewGame();
        RunFrame();
        const std::vector<std::string> heard = set == SoundSet::Full ? std::vector<std::string>{lively, calm}
                                                                     : std::vector<std::string>{};
        std::vector<std::string> uses;
        for (const std::string& m : Headless.music)
            if (m.starts_with("use ")) uses.push_back(m);
        EXPECT_EQ(uses, heard) << (set == SoundSet::Full ? "full" : "classic");
    }
}
