// Game over: places in the table, the flight, name entry and its finish,
// the records file it writes, and the mission modes that skip it all.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "rules/game_mode.h"
#include "platform/platform_os.h"
#include "rules/scoring.h"
#include "screens/game_over.h"
#include "screens/notice.h"
#include "screens/records_file.h"
#include "shell/program_state.h"
#include "tests/screens/screen_checks.h"

namespace fs = std::filesystem;

namespace {
void SetTable(std::initializer_list<uint32_t> scores) {
    int i = 1;
    for (uint32_t s : scores) {
        RecordTable[i].score = s;
        std::snprintf(reinterpret_cast<char*>(RecordTable[i].name), 12, "P%d", i);
        ++i;
    }
}

std::string Name(int place) {
    char shown[ShownNameSize];
    CopyShownName(RecordTable[place], shown);
    return shown;
}

// A score-attack game just lost with `score`, in a fresh folder.
std::string LoseWith(const char* folderName, int32_t score) {
    std::string folder = MakeTempFolder(folderName);
    StartInFolder(folder);
    GameMode = ScoreAttack;
    BoardOriginX = 64;
    BoardOriginY = 80;
    Score = score;
    ScreenState = GameOverScreen;
    return folder;
}

// Runs game over until the name entry; returns the frames of the flight.
int FlyToNameEntry() {
    int frames = 0;
    while (GameOverPhase != PhaseNameEntry && ScreenState == GameOverScreen && frames < 400) {
        RunFrame();
        if (GameOverPhase != PhaseFall) ++frames;
    }
    return frames;
}

std::vector<uint8_t> FileBytes(const std::string& path) {
    std::vector<uint8_t> bytes;
    ReadFileBytes(path, bytes, 1000);
    return bytes;
}
}  // namespace

TEST(GameOverPlace, EqualScoresGoBelowAndZeroNeverEnters) {
    ResetProgramState();
    EXPECT_EQ(FindNewPlace(0), 0) << "not even into an empty table";
    EXPECT_EQ(FindNewPlace(1), 1);
    SetTable({500, 400, 300, 200, 100});
    EXPECT_EQ(FindNewPlace(400), 3);
    EXPECT_EQ(FindNewPlace(401), 2);
    EXPECT_EQ(FindNewPlace(100), 0);
    EXPECT_EQ(FindNewPlace(101), 5);
    EXPECT_EQ(FindNewPlace(600), 1);
    RecordTable[5].score = 0x80000000u;  // compared unsigned
    RecordTable[1].score = 0xFFFFFFFFu;
    EXPECT_EQ(FindNewPlace(0x7FFFFFFF), 2);
}

TEST(GameOverPlace, InsertingAtThreeShiftsThreeAndFourAndDropsFive) {
    ResetProgramState();
    SetTable({500, 400, 300, 200, 100});
    std::memcpy(RecordTable[3].name, "OLD3\0\0\0\0\0xyz", 12);
    std::memcpy(RecordTable[0].name, "ZERO\0abcdefg", 12);
    RecordEntry zero = RecordTable[0];
    InsertNewEntry(3, 350);
    EXPECT_EQ(Name(1), "P1");
    EXPECT_EQ(Name(2), "P2");
    EXPECT_EQ(Name(3), "A@@@@@@@");
    EXPECT_EQ(RecordTable[3].score, 350u);
    EXPECT_EQ(std::memcmp(RecordTable[3].name + 8, "\0xyz", 4), 0) << "the zero written, the last 3 bytes kept";
    EXPECT_EQ(Name(4), "OLD3");
    EXPECT_EQ(std::memcmp(RecordTable[4].name + 9, "xyz", 3), 0) << "whole 16 bytes copied";
    EXPECT_EQ(RecordTable[4].score, 300u);
    EXPECT_EQ(Name(5), "P4");
    EXPECT_EQ(RecordTable[5].score, 200u);
    EXPECT_EQ(std::memcmp(&zero, &RecordTable[0], sizeof zero), 0);
}

TEST(GameOverFlight, ScoreArrivesOnTheRowOfItsPlace) {
    struct Case {
        int place;
        int frames;
    };
    for (Case c : {Case{1, 44}, Case{3, 36}, Case{5, 26}}) {
        LoseWith("game_over_flight", 1234);
        for (int i = 1; i < c.place; ++i) RecordTable[i].score = 5000;
        int frames = FlyToNameEntry();
        EXPECT_EQ(NewPlace, c.place);
        EXPECT_NEAR(frames, c.frames, 1) << "place " << c.place;
        // The last flight frame drew "1234" ending at x = 334 on the place's row, within two pixels.
        Surface background = MenuBackgroundNow();
        int rowY = 48 * c.place + 80, found = 0;
        for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -2; dx <= 2; ++dx)
                if (DifferingPixels(Shown(), WithText(background, "1234", 270 + dx, rowY + dy)) == 0) ++found;
        EXPECT_EQ(found, 1) << "place " << c.place;
    }
}

TEST(GameOverFlight, ScoreThatTakesNoPlaceBouncesOffAndLeaves) {
    std::string folder = LoseWith("game_over_bounce", 1000);
    SetTable({5000, 4000, 3000, 2000, 1000});
    Score = 123;
    RunFrame();
    RunFrame();  // the board has started to fall
    EXPECT_NEAR(RunUntilState(TitleScreen, 400) + 2, 174, 1);
    EXPECT_EQ(RecordTable[5].score, 1000u);
    EXPECT_EQ(fs::file_size(folder + "/rcd.dat"), 0u) << "nothing written";
    EXPECT_EQ(Score, 0) << "a new game was set up";
}

TEST(GameOverFlight, MissionModesShowNoScoreAndEnterNothing) {
    for (GameModeValue mode : {NormalGame, EditGame}) {
        std::string folder = LoseWith("game_over_mission", 90000);
        GameMode = mode;
        BoardOriginX = 16;
        int frames = RunUntilState(TitleScreen, 400);
        EXPECT_LT(frames, 100);
        EXPECT_EQ(RecordTable[1].score, 0u);
        EXPECT_EQ(fs::file_size(folder + "/rcd.dat"), 0u);
    }
}

TEST(NameEntry, CharacterCycleWithAutoRepeat) {
    LoseWith("name_cycle", 10);
    FlyToNameEntry();
    ASSERT_EQ(GameOverPhase, PhaseNameEntry);
    ASSERT_EQ(NameCursor, 1);
    uint8_t* name = RecordTable[NewPlace].name;
    EXPECT_EQ(Name(NewPlace), "A@@@@@@@");

    name[0] = 'Z';
    Headless.keys = Keys({KeyUp});
    std::string seen;
    for (int i = 0; i < 19; ++i) {
        RunFrame();
        seen += char(name[0]);
    }
    // One step at once, then one every 6 frames.
    EXPECT_EQ(seen, "------......//////0");

    auto stepFrom = [&](char from, Key key) {
        Headless.keys = {};
        RunFrames(6);  // the repeat counter runs out
        name[0] = uint8_t(from);
        HoldFrame({key});
        return char(name[0]);
    };
    EXPECT_EQ(stepFrom('-', KeyDown), 'Z');
    EXPECT_EQ(stepFrom('9', KeyUp), '@');
    EXPECT_EQ(stepFrom('@', KeyDown), '9');
    EXPECT_EQ(stepFrom('A', KeyDown), '@');
    EXPECT_EQ(stepFrom('Q', KeyUp), 'R');
    Headless.keys = {};
    RunFrames(6);
    HoldFrame({KeyUp, KeyDown});
    EXPECT_EQ(name[0], 'R') << "Up and Down together cancel";
    Headless.keys = {};
    RunFrame();
    HoldFrame({KeyX});
    EXPECT_EQ(name[0], '@') << "button 2 blanks";
}

TEST(NameEntry, ColumnsOneToEightAndButtonOneMovesRight) {
    LoseWith("name_columns", 10);
    FlyToNameEntry();
    Tap({KeyLeft});
    EXPECT_EQ(NameCursor, 1);
    for (int i = 0; i < 9; ++i) Tap({KeyRight});
    EXPECT_EQ(NameCursor, 8);
    for (int i = 0; i < 3; ++i) Tap({KeyLeft});
    EXPECT_EQ(NameCursor, 5);
    Tap({KeyZ});
    EXPECT_EQ(NameCursor, 6);
    Headless.keys = Keys({KeyUp});
    RunFrame();
    EXPECT_EQ(Name(NewPlace), "A@@@@A@@") << "the character under the cursor changes";
    EXPECT_EQ(ScreenState, uint32_t(GameOverScreen));
}

TEST(NameEntry, DateKeyWritesYearMonthDay) {
    LoseWith("name_date", 10);
    Headless.today = CalendarDay{2026, 12, 6};
    FlyToNameEntry();
    Tap({KeyRight});
    Tap({KeyRight});
    HoldFrame({KeyD});
    EXPECT_EQ(Name(NewPlace), "26/12/06");
    EXPECT_EQ(RecordTable[NewPlace].name[8], 0);
    EXPECT_EQ(NameCursor, 3) << "the cursor does not move";
    Headless.today = CalendarDay{1999, 1, 31};
    Headless.keys = {};
    RunFrame();
    Tap({KeyD});
    EXPECT_EQ(Name(NewPlace), "99/01/31");
    Headless.today = CalendarDay{123456, 77777, -5};  // nonsense from a broken clock
    Tap({KeyD});
    EXPECT_EQ(Name(NewPlace).size(), 8u) << "cut to eight characters, never past its field";
}

TEST(NameEntry, PictureShowsTheTableAndBlinkingArrows) {
    LoseWith("name_picture", 700);
    SetTable({900, 800});
    std::memcpy(RecordTable[2].name, "@@@@@@@@", 9);
    FlyToNameEntry();
    ASSERT_EQ(NewPlace, 3);
    Tap({KeyRight});  // column 2; the arrows show at once
    auto table = [] {
        Surface picture = MenuBackgroundNow();
        const char* rows[5] = {"1.  P1", "2.  @@@@@@@@", "3.  A@@@@@@@", "4.  -", "5.  -"};
        const char* scores[5] = {"900", "800", "700", "0", "0"};
        for (int i = 0; i < 5; ++i) {
            int y = 48 * (i + 1) + 80;
            picture = WithText(picture, rows[i], 50, y);
            picture = WithText(picture, scores[i], 334 - 16 * int(std::strlen(scores[i])), y);
        }
        return picture;
    };
    Surface withArrows = WithText(WithText(table(), ")", 50 + 16 * 5, 48 * 3 + 64), "(", 50 + 16 * 5, 48 * 3 + 96);
    EXPECT_EQ(DifferingPixels(Shown(), withArrows), 0);
    EXPECT_GT(DifferingPixels(withArrows, table()), 0);
    RunFrames(20);  // 20 frames later the arrows are off
    EXPECT_EQ(DifferingPixels(Shown(), table()), 0);
}

TEST(NameEntry, FinishingWritesTheFileAfterHalfASecondAndReturnsToTheTitle) {
    std::string folder = LoseWith("name_finish", 77);
    std::memcpy(RecordTable[0].name, "entry zero!", 12);
    RecordTable[0].score = 0xDEADBEEF;
    FlyToNameEntry();
    for (int i = 0; i < 7; ++i) Tap({KeyZ});
    ASSERT_EQ(NameCursor, 8);
    // Another folder current, as an open-file dialog may leave it.
    std::string elsewhere = MakeTempFolder("name_finish_elsewhere");
    ASSERT_EQ(chdir(elsewhere.c_str()), 0);
    Headless.sounds.clear();
    uint32_t clock = Headless.clock;
    HoldFrame({KeyZ});
    EXPECT_EQ(Headless.sounds, std::vector<std::string>{"SoundDecide"});
    EXPECT_GE(Headless.clock - clock, 500u);
    EXPECT_EQ(ScreenState, uint32_t(TitleScreen));
    EXPECT_EQ(GameOverPhase, PhaseFall);
    EXPECT_EQ(Score, 0);
    EXPECT_FLOAT_EQ(ScoreFlySpeedY, -5.0f);
    EXPECT_EQ(NameCursor, 8) << "kept for the next entry";
    EXPECT_FALSE(fs::exists(elsewhere + "/rcd.dat"));
    std::vector<uint8_t> bytes = FileBytes(folder + "/rcd.dat");
    ASSERT_EQ(bytes.size(), 197u);
    EXPECT_EQ(std::memcmp(bytes.data(), "entry zero!\0\xEF\xBE\xAD\xDE", 16), 0) << "entry 0 byte for byte";
    EXPECT_EQ(std::memcmp(bytes.data() + 16, "A@@@@@@@\0\0\0\0\x4D\0\0\0", 16), 0);
}

// Escape while a best score waits for its name writes it, with the name as
// entered so far, exactly as finishing would; at any moment of game over.
TEST(NameEntry, EscapeWritesThePendingScoreWithTheNameSoFar) {
    struct Case {
        const char* name;
        int framesIntoGameOver;  // -1: into name entry, then two characters edited
        uint8_t phase;
        const char* stored;
    };
    for (const Case& c : {Case{"name entry", -1, PhaseNameEntry, "B@A@@@@@"}, Case{"falling", 3, PhaseFall, "A@@@@@@@"},
                          Case{"flying", 90, PhaseFly, "A@@@@@@@"}}) {
        SCOPED_TRACE(c.name);
        std::string folder = LoseWith("name_escape", 300);
        SetTable({500, 200, 100});
        WriteRecordsFile();
        if (c.framesIntoGameOver < 0) {
            FlyToNameEntry();
            Tap({KeyUp});
            Tap({KeyRight});
            Tap({KeyRight});
            HoldFrame({KeyUp});
        } else {
            RunFrames(c.framesIntoGameOver);
        }
        ASSERT_EQ(ScreenState, uint32_t(GameOverScreen));
        ASSERT_EQ(GameOverPhase, c.phase);
        HoldFrame({KeyEscape});
        ASSERT_TRUE(QuitFlag);
        EndProgram();
        std::vector<uint8_t> bytes = FileBytes(folder + "/rcd.dat");
        ASSERT_EQ(bytes.size(), 197u);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes.data() + 32)), c.stored);
        EXPECT_EQ(bytes[32 + 12], 300 % 256);
        EXPECT_EQ(bytes[32 + 13], 300 / 256);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes.data() + 48)), "P2");
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes.data() + 64)), "P3");
    }
    // A score that takes no place writes nothing.
    std::string folder = LoseWith("name_escape_none", 50);
    SetTable({500, 200, 100, 90, 80});
    RunFrames(3);
    HoldFrame({KeyEscape});
    EndProgram();
    EXPECT_EQ(fs::file_size(folder + "/rcd.dat"), 0u);
}

// A records file that cannot be replaced stays as it was; the title that
// follows tells the player for three seconds, and the game goes on.
TEST(NameEntry, FailedWriteIsShownOnTheTitleForThreeSeconds) {
    std::string folder = LoseWith("name_unsaved", 77);
    fs::remove(folder + "/rcd.dat");
    fs::create_directories(folder + "/rcd.dat/kept");  // rename cannot replace it
    FlyToNameEntry();
    HoldFrame({KeyEnter});
    ASSERT_EQ(ScreenState, uint32_t(TitleScreen));
    EXPECT_TRUE(fs::is_directory(folder + "/rcd.dat/kept"));
    // "RECORDS NOT SAVED": 17 characters centred at x = 56 on the bottom line.
    auto lineShown = [] {
        Surface again = WithText(Shown(), "RECORDS NOT SAVED", 56, 456);
        return DifferingPixels(Shown(), again) == 0 && NotGradient(Shown(), 56, 456, 272, 16) > 0 &&
               DifferingPixels(Shown(), MenuBackgroundNow(), 0, 456, 384, 16) > 0;
    };
    RunFrames(1);
    EXPECT_TRUE(lineShown());
    RunFrames(NoticeShownFrames - 1);  // the 120th frame
    EXPECT_TRUE(lineShown());
    RunFrames(1);
    EXPECT_GT(DifferingPixels(Shown(), WithText(Shown(), "RECORDS NOT SAVED", 56, 456)), 0) << "gone";
    EXPECT_EQ(RecordTable[1].score, 77u) << "kept in memory";
}

TEST(NameEntry, SecondEntryStartsInTheColumnWhereTheFirstEnded) {
    LoseWith("name_second", 50);
    FlyToNameEntry();
    Tap({KeyRight});
    Tap({KeyRight});
    Tap({KeyRight});
    Headless.keys = Keys({KeyA});  // button 3 finishes
    RunFrame();
    ASSERT_EQ(ScreenState, uint32_t(TitleScreen));
    EXPECT_EQ(NameCursor, 4);

    GameMode = ScoreAttack;
    Score = 60;
    ScreenState = GameOverScreen;
    Headless.keys = {};
    FlyToNameEntry();
    EXPECT_EQ(NewPlace, 1);
    EXPECT_EQ(NameCursor, 4);
    Headless.keys = Keys({KeyUp, KeyEnter});  // Enter finishes; this frame's edit is in the name
    RunFrame();
    EXPECT_EQ(ScreenState, uint32_t(TitleScreen));
    EXPECT_EQ(Name(1), "A@@A@@@@");
    EXPECT_EQ(Name(2), "A@@@@@@@");
    EXPECT_EQ(RecordTable[2].score, 50u);
}
