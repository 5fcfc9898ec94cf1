// A whole score-attack game through the headless runner from a fresh folder:
// title, board entry, play, game over, name entry, the records file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/platform_os.h"
#include "tests/runner_support.h"
#include "tests/test_support.h"

TEST(WholeGame, ScoreAttackFromTitleToRecordsFile) {
    std::string folder = MakeTempFolder("whole_game");
    std::string script = "2            # the title\n"
                         "1 Z          # SCORE ATTACK\n"
                         "79           # board entry\n"
                         "200 Down     # every pair dropped straight down until the well is full\n"
                         "100          # the board falls, the score flies into the table\n"
                         "1 A          # the name as offered\n"
                         "10\n";
    std::vector<std::string> trace = RunHeadless(folder, script, "", 1).trace;
    ASSERT_EQ(trace.size(), 393u);
    auto at = [&](int frame) -> const std::string& { return trace[size_t(frame - 1)]; };
    auto state = [&](int frame) { return TraceNumber(at(frame), "ScreenState"); };

    EXPECT_EQ(state(2), 6);
    EXPECT_EQ(state(3), 10);
    EXPECT_TRUE(TraceListHas(at(3), "sounds", "SoundDecide"));
    for (int f = 4; f <= 81; ++f) ASSERT_EQ(state(f), 10) << "board entry, frame " << f;
    EXPECT_EQ(state(82), 3) << "79 frames of board entry";
    EXPECT_TRUE(TraceListHas(at(82), "music", "play"));

    int gameOver = 0;
    for (int f = 83; f <= 282 && gameOver == 0; ++f)
        if (state(f) == 5) gameOver = f;
    ASSERT_NE(gameOver, 0) << "the game did not end while the pairs were dropped";
    long long score = TraceNumber(at(gameOver), "Score");
    ASSERT_GT(score, 0) << "the dropped pairs scored nothing";
    EXPECT_EQ(TraceNumber(at(382), "GameOverPhase"), 2) << "name entry before the confirming press";
    EXPECT_EQ(TraceNumber(at(382), "NewPlace"), 1);
    EXPECT_EQ(state(383), 6);
    EXPECT_TRUE(TraceListHas(at(383), "files", "rcd.dat"));
    EXPECT_TRUE(TraceListHas(at(383), "sounds", "SoundDecide"));
    for (size_t f = 1; f <= trace.size(); ++f) {
        if (f == 383) continue;
        EXPECT_FALSE(TraceListHas(trace[f - 1], "files", "rcd.dat")) << "frame " << f;
    }

    std::vector<uint8_t> bytes;
    ASSERT_TRUE(ReadFileBytes(folder + "/rcd.dat", bytes, 1000));
    std::vector<uint8_t> expected(197, 0);
    const uint8_t name[12] = {0x41, 0x40, 0x40, 0x40, 0x40, 0x40, 0x40, 0x40, 0, 0, 0, 0};
    std::copy(name, name + 12, expected.begin() + 16);
    for (int b = 0; b < 4; ++b) expected[size_t(28 + b)] = uint8_t(uint32_t(score) >> (8 * b));
    EXPECT_EQ(bytes, expected);
}
