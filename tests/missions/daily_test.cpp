// The day's mission: its line on the mission select, its kept file and the
// days file read and written, and whole days played by the headless runner
// (made, kept, cleared, lost, retried) with what a player sees and keeps.
#include <filesystem>

#include "platform/calendar.h"
#include "screens/daily.h"
#include "screens/notice.h"
#include "tests/missions/missions_support.h"

using namespace missions_test;

namespace {
namespace fs = std::filesystem;

std::string Text(const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }
std::vector<uint8_t> Bytes(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }

// The string under `key` in a trace line, or "missing".
std::string TraceText(const std::string& line, const std::string& key) {
    std::string pattern = "\"" + key + "\":\"";
    size_t at = line.find(pattern);
    if (at == std::string::npos) return "missing";
    at += pattern.size();
    return line.substr(at, line.find('"', at) - at);
}

TEST(DailyDays, DamagedLinesAreSkippedAndEachDayKeepsItsBestResult) {
    struct Row {
        const char* file;
        const char* added;  // a result added, "" for none
        const char* written;
        int streakThrough9;
    };
    const Row rows[] = {
        {"", "2026-12-09 CLEARED 0 0", "2026-12-09 CLEARED 0 0\n", 1},
        // Lines that are not a day's result: skipped, and gone from the file.
        {"garbage\n2026-12-08 CLEARED 1 0\n2026-02-30 CLEARED 0 0\n2026-12-07 WON 0 0\n2026-12-07 CLEARED x 0\n"
         "2026-12-07 CLEARED 0\n\n\x01\xff\n2026-12-07 CLEARED 0 0 0\n",
         "2026-12-09 CLEARED 0 2", "2026-12-08 CLEARED 1 0\n2026-12-09 CLEARED 0 2\n", 2},
        // Written oldest first whatever the order read; a gap ends the streak.
        {"2026-12-09 TRIED 0 0\n2026-12-06 CLEARED 0 0\n2026-12-08 CLEARED 0 0\n", "2026-12-09 CLEARED 3 1",
         "2026-12-06 CLEARED 0 0\n2026-12-08 CLEARED 0 0\n2026-12-09 CLEARED 3 1\n", 2},
        // A loss never replaces a clear; a clear with fewer undos and retries does.
        {"2026-12-09 CLEARED 2 0\n", "2026-12-09 TRIED 0 0", "2026-12-09 CLEARED 2 0\n", 1},
        {"2026-12-09 CLEARED 2 0\n", "2026-12-09 CLEARED 1 0", "2026-12-09 CLEARED 1 0\n", 1},
        {"2026-12-09 CLEARED 1 0\n", "2026-12-09 CLEARED 0 2", "2026-12-09 CLEARED 1 0\n", 1},
        {"2026-12-09 TRIED 4 4\n", "2026-12-09 TRIED 1 0", "2026-12-09 TRIED 1 0\n", 0},
        // Across a year's end and a leap day.
        {"2024-12-31 CLEARED 0 0\n2025-01-01 CLEARED 0 0\n", "", "2024-12-31 CLEARED 0 0\n2025-01-01 CLEARED 0 0\n", 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.file);
        std::vector<DayResult> days = ReadDays(Bytes(row.file));
        if (row.added[0] != '\0') {
            std::vector<DayResult> one = ReadDays(Bytes(std::string(row.added) + "\n"));
            ASSERT_EQ(one.size(), 1u);
            AddDayResult(days, one[0]);
        }
        EXPECT_EQ(Text(WriteDays(days)), row.written);
        EXPECT_EQ(StreakThrough(days, {2026, 12, 9}), row.streakThrough9);
    }
    std::vector<DayResult> turn = ReadDays(Bytes("2024-02-28 CLEARED 0 0\n2024-02-29 CLEARED 0 0\n2024-03-01 CLEARED 0 0\n"
                                                 "2024-12-31 CLEARED 0 0\n2025-01-01 CLEARED 0 0\n"));
    EXPECT_EQ(StreakThrough(turn, {2024, 3, 1}), 3);
    EXPECT_EQ(StreakThrough(turn, {2025, 1, 1}), 2);
}

TEST(DailyDays, TheFileKeepsOnlyTheNewestDays) {
    std::vector<DayResult> days;
    for (int i = 0; i < DaysKept + 30; ++i) days.push_back({DaysBefore({2026, 12, 9}, i), true, 0, 0});
    std::string text = Text(WriteDays(days));
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), DaysKept);
    EXPECT_EQ(text.substr(0, 10), CalendarDayText(DaysBefore({2026, 12, 9}, DaysKept - 1)));
    EXPECT_EQ(text.substr(text.size() - 23), "2026-12-09 CLEARED 0 0\n");
    EXPECT_LT(text.size(), DaysFileLimit);
}

TEST(DailyKept, AFileThatIsNotTheDaysWholeIsRefused) {
    MissionBytes mission = EncodeMission(RingMission());
    const CalendarDay day{2026, 12, 9};
    const std::vector<uint8_t> good = KeptDailyFile(day, mission);
    ASSERT_EQ(good.size(), MissionFileSize + 43);
    auto changed = [&](size_t at) {
        std::vector<uint8_t> f = good;
        f[at] ^= 1;
        return f;
    };
    struct Row {
        const char* what;
        std::vector<uint8_t> file;
        CalendarDay day;
        bool read;
    };
    const Row rows[] = {
        {"whole", good, day, true},
        {"another day's", good, {2026, 12, 10}, false},
        {"a board cell changed", changed(MissionKindIndex(3, 10)), day, false},
        {"the checksum changed", changed(good.size() - 3), day, false},
        {"cut short", std::vector<uint8_t>(good.begin(), good.end() - 1), day, false},
        {"the mission alone", std::vector<uint8_t>(mission.begin(), mission.end()), day, false},
        {"a byte more", [&] { auto f = good; f.push_back('\n'); return f; }(), day, false},
        {"empty", {}, day, false},
    };
    for (const Row& row : rows) {
        MissionBytes out{};
        EXPECT_EQ(ReadKeptDailyFile(row.file, row.day, out), row.read) << row.what;
        if (row.read) {
            EXPECT_EQ(out, mission);
        }
    }
}

// The runner's game folder with mission select's data and records of three
// cleared missions.
std::string DayFolder(const std::string& name) {
    std::string folder = MakeTempFolder("daily-" + name);
    fs::copy(TESSMAR_BINARY_DIR "/gamedata", folder, fs::copy_options::recursive);
    WriteRecords(folder, 3);
    return folder;
}

// From the title to the DAILY line (mission select frames 4..7), `moves`
// there, and Z: the mission starts in the frame after.
std::string ToDaily(const std::string& moves = "") { return std::string(ToMissionSelect) + "1 Down\n1\n1 Down\n1\n" + moves + "1 Z\n"; }
constexpr int ConfirmFrame = 8;

// The day's mission as the command line makes it, and its shortest way from
// the board entry's first frame.
struct Day {
    std::vector<uint8_t> mission;
    std::string way;
};
const Day& December9() {
    static Day day = [] {
        std::string folder = MakeTempFolder("daily-cli");
        std::string solve = TESSMAR_BINARY_DIR "/tessmar-solve";
        std::string command = solve + " --daily 2026-12-09 " + folder + "/day.msn > /dev/null && " + solve + " " +
                              folder + "/day.msn --from mission --script " + folder + "/way.txt > /dev/null";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        std::ifstream in(folder + "/way.txt");
        return Day{ReadBytes(folder + "/day.msn"), std::string(std::istreambuf_iterator<char>(in), {})};
    }();
    return day;
}

TEST(DailyGame, TheDayIsMadeKeptClearedAndSharedWithoutTouchingTheRecords) {
    const Day& day = December9();
    ASSERT_EQ(day.mission.size(), MissionFileSize);
    std::string folder = DayFolder("clear");
    fs::create_directories(folder + "/daily");
    WriteBytes(folder + "/daily/days.txt", Bytes("2026-12-07 CLEARED 0 0\nnot a day\n2026-12-08 CLEARED 2 1\n"));
    const std::vector<uint8_t> records = ReadBytes(folder + "/rcd.dat");

    std::string shots = " --shot 6=" + folder + "/line.png";
    for (int f = 150; f <= 330; f += 5) shots += " --shot " + std::to_string(f) + "=" + folder + "/" + std::to_string(f) + ".png";
    RunnerResult run = RunHeadless(folder, ToDaily() + day.way, "--today 2026-12-09 --language en --frames 120" + shots);
    ASSERT_GT(int(run.trace.size()), ConfirmFrame + 80);
    // Made in the frame of the choice, written there, the board entry next.
    const std::string& made = run.trace[ConfirmFrame - 1];
    EXPECT_GT(TraceNumber(made, "DailyBoardsTried"), 0);
    EXPECT_EQ(TraceList(made, "files"), "\"" + folder + "/daily/2026-12-09.msn\",\"" + folder +
                                            "/missions/daily-2026-12-09.msn\"");
    EXPECT_EQ(run.Value(ConfirmFrame + 1, "ScreenState"), 10);
    EXPECT_EQ(ReadBytes(folder + "/missions/daily-2026-12-09.msn"), day.mission);
    std::vector<uint8_t> kept = ReadBytes(folder + "/daily/2026-12-09.msn");
    EXPECT_EQ(std::vector<uint8_t>(kept.begin(), kept.begin() + MissionFileSize), day.mission);

    // Cleared: the result line on the clipboard and the screen, the streak of
    // three days, the days file rewritten without its damaged line.
    int cleared = run.FirstFrame("ScreenState", 8);
    ASSERT_GT(cleared, 0);
    EXPECT_EQ(TraceList(run.trace[size_t(cleared)], "files"), "\"" + folder + "/daily/days.txt\"");
    EXPECT_EQ(TraceList(run.state, "clipboard"), "\"TESSMAR DAILY 2026-12-09 CLEARED 3 PAIRS 0 UNDO\"");
    EXPECT_EQ(Text(ReadBytes(folder + "/daily/days.txt")),
              "2026-12-07 CLEARED 0 0\n2026-12-08 CLEARED 2 1\n2026-12-09 CLEARED 0 0\n");
    EXPECT_EQ(run.Value(cleared + 1, "DailyStreak"), 3);
    EXPECT_EQ(ReadBytes(folder + "/rcd.dat"), records);

    // What the player saw: the DAILY line pointed at, today's arrow only back;
    // the clear screen's message and streak.
    Surface line = Shot(folder + "/line.png");
    EXPECT_TRUE(TextDrawn(line, ">", 80, DailyLineY));
    EXPECT_TRUE(TextDrawn(line, "DAILY", 100, DailyLineY));
    EXPECT_TRUE(TextDrawn(line, "[2026-12-09", 180, DailyLineY));
    EXPECT_FALSE(TextDrawn(line, "]", 356, DailyLineY));
    int shown = (cleared + 44) / 5 * 5;
    ASSERT_LE(shown, 330);
    Surface clear = Shot(folder + "/" + std::to_string(shown) + ".png");
    EXPECT_TRUE(TextDrawn(clear, "DAILY CLEAR", 104, 240));
    EXPECT_TRUE(TextDrawn(clear, "STREAK 3 DAYS", 88, 336));
}

// The second start of a day reads its kept file: nothing is made or written,
// the same board enters. A damaged kept file is made again.
TEST(DailyGame, TheSecondStartOpensTheKeptFileAndADamagedOneIsMadeAgain) {
    std::string folder = DayFolder("kept");
    const std::string options = "--today 2026-12-09 --frames 3";
    RunnerResult first = RunHeadless(folder, ToDaily(), options);
    std::vector<uint8_t> kept = ReadBytes(folder + "/daily/2026-12-09.msn");
    RunnerResult second = RunHeadless(folder, ToDaily(), options);
    ASSERT_EQ(second.trace.size(), first.trace.size());
    EXPECT_GT(first.Value(ConfirmFrame, "DailyBoardsTried"), 0);
    EXPECT_EQ(second.Value(ConfirmFrame, "DailyBoardsTried"), 0);
    EXPECT_EQ(TraceList(second.trace[ConfirmFrame - 1], "files"), "");
    EXPECT_EQ(TraceText(second.trace.back(), "Board"), TraceText(first.trace.back(), "Board"));
    EXPECT_EQ(second.Value(ConfirmFrame + 1, "ScreenState"), 10);

    std::vector<uint8_t> damaged = kept;
    damaged[MissionKindIndex(4, 11)] ^= 0x0F;
    WriteBytes(folder + "/daily/2026-12-09.msn", damaged);
    RunnerResult third = RunHeadless(folder, ToDaily(), options);
    EXPECT_EQ(third.Value(ConfirmFrame, "DailyBoardsTried"), first.Value(ConfirmFrame, "DailyBoardsTried"));
    EXPECT_EQ(ReadBytes(folder + "/daily/2026-12-09.msn"), kept);
    EXPECT_EQ(TraceText(third.trace.back(), "Board"), TraceText(first.trace.back(), "Board"));
}

// An undo and a retry before the way: both counted, in the days file and on
// the clipboard; the records untouched.
TEST(DailyGame, UndosAndRetriesAreCountedIntoTheResult) {
    const Day& day = December9();
    std::string folder = DayFolder("counted");
    const std::vector<uint8_t> records = ReadBytes(folder + "/rcd.dat");
    // The board entry, the first pair in and dropped a little, an undo, then
    // the pause menu (shown by a first Down) and its RETRY (RESUME, UNDO,
    // RETRY, GIVE UP).
    std::string spoil = "79\n12\n3 Down\n1 Backspace\n3\n1 Enter\n10\n1 Down\n1\n1 Down\n1\n1 Down\n1\n1 Z\n";
    RunnerResult run = RunHeadless(folder, ToDaily() + spoil + day.way, "--today 2026-12-09 --frames 120");
    int cleared = run.FirstFrame("ScreenState", 8);
    ASSERT_GT(cleared, 0);
    EXPECT_EQ(run.Value(cleared, "UndoCount"), 1);
    EXPECT_EQ(run.Value(cleared, "RetryCount"), 1);
    EXPECT_EQ(TraceList(run.state, "clipboard"), "\"TESSMAR DAILY 2026-12-09 CLEARED 3 PAIRS 1 UNDO 1 RETRY\"");
    EXPECT_EQ(Text(ReadBytes(folder + "/daily/days.txt")), "2026-12-09 CLEARED 1 1\n");
    EXPECT_EQ(ReadBytes(folder + "/rcd.dat"), records);
}

// Lost by dropping every pair, then given up from the pause: kept as tried,
// with the undo counted; no clipboard, no records.
TEST(DailyGame, ALostOrGivenUpDayIsKeptAsTried) {
    std::string folder = DayFolder("lost");
    const std::vector<uint8_t> records = ReadBytes(folder + "/rcd.dat");
    RunnerResult lost = RunHeadless(folder, ToDaily() + "79\n400 Down\n", "--today 2026-12-09");
    EXPECT_GT(lost.FirstFrame("ScreenState", 5), 0);
    EXPECT_EQ(lost.FirstFrame("ScreenState", 8), 0);
    EXPECT_EQ(Text(ReadBytes(folder + "/daily/days.txt")), "2026-12-09 TRIED 0 0\n");
    EXPECT_EQ(TraceList(lost.state, "clipboard"), "");

    RunnerResult givenUp = RunHeadless(
        folder, ToDaily("1 Left\n1\n") + "79\n12\n3 Down\n1 Backspace\n2\n1 Enter\n10\n1 Down\n1\n1 Down\n1\n1 Down\n1\n1 Down\n1\n1 Z\n20\n",
        "--today 2026-12-09");
    EXPECT_EQ(givenUp.trace.back().find("\"ScreenState\":7,") != std::string::npos, true);
    EXPECT_EQ(Text(ReadBytes(folder + "/daily/days.txt")), "2026-12-08 TRIED 1 0\n2026-12-09 TRIED 0 0\n");
    EXPECT_EQ(ReadBytes(folder + "/rcd.dat"), records);
}

// The solver plays with the actions' own keys: a player who moved the turn
// and drop keys elsewhere gets the day's mission everyone gets.
TEST(DailyGame, ThePlayersOwnKeysMakeTheSameMission) {
    const Day& day = December9();
    std::string folder = DayFolder("keys");
    fs::create_directories(folder + "/config/tessmar");
    std::ofstream(folder + "/config/tessmar/settings.conf") << "key.turn_left=J\nkey.turn_right=K\nkey.drop=S\nkey.up=W\n";
    std::ofstream(folder + "/input.txt") << "1 S\n1\n1 J\n1 S\n1\n1 S\n1\n1 J\n3\n";
    std::string command = "XDG_CONFIG_HOME=" + folder + "/config " TESSMAR_BINARY_DIR "/tessmar-headless --today 2026-12-09 --dir " +
                          folder + " --input " + folder + "/input.txt";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    EXPECT_EQ(ReadBytes(folder + "/missions/daily-2026-12-09.msn"), day.mission);
}

// Clocks and folders a player may have: a mission for every day the
// calendar has from 1970 to 2100, a plain notice for any other; a days file
// that is a folder leaves the day playable.
TEST(DailyGame, BadClocksAndADaysFolderEndInAMissionOrANotice) {
    struct Row {
        const char* today;
        const char* moves;  // on the DAILY line before Z
        int notice;         // 0: the mission starts
    };
    const Row rows[] = {
        {"1970-01-01", "", NoNotice},
        {"1970-01-02", "1 Left\n1\n", NoNotice},
        {"1970-01-01", "1 Left\n1\n", NoticeNoDailyForDay},  // 1969-12-31
        {"2100-12-31", "", NoNotice},
        {"2101-01-01", "", NoticeNoDailyForDay},
        {"2101-01-01", "1 Left\n1\n", NoNotice},  // 2100-12-31
        {"2026-02-30", "", NoticeNoDailyForDay},
        {"2026-13-01", "1 Left\n1\n", NoticeNoDailyForDay},
        {"0000-00-00", "", NoticeNoDailyForDay},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.today) + " " + row.moves);
        std::string folder = DayFolder("clock");
        RunnerResult run = RunHeadless(folder, ToDaily(row.moves) + "2\n", std::string("--today ") + row.today);
        int confirm = int(run.trace.size()) - 2;
        ASSERT_GT(confirm, ConfirmFrame - 1);
        EXPECT_EQ(run.Value(confirm, "Notice"), row.notice);
        EXPECT_EQ(run.Value(confirm + 1, "ScreenState"), row.notice == NoNotice ? 10 : 7);
    }

    std::string folder = DayFolder("days-folder");
    fs::create_directories(folder + "/daily/days.txt");
    RunnerResult run = RunHeadless(folder, ToDaily() + "79\n400 Down\n", "--today 2026-12-09");
    EXPECT_EQ(run.Value(ConfirmFrame + 1, "ScreenState"), 10);
    EXPECT_GT(run.FirstFrame("ScreenState", 5), 0);
    EXPECT_TRUE(fs::is_directory(folder + "/daily/days.txt"));
}

}  // namespace
