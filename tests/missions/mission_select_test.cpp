// Mission select driven by the headless runner: unlock limit, arrows, the
// cleared mark, the two-digit number, the dialog's pick and cancel.
#include <sys/stat.h>

#include <filesystem>

#include "tests/missions/missions_support.h"

using namespace missions_test;

namespace {

std::string Folder(const std::string& name, int cleared) {
    std::string folder = MakeTempFolder("missions-select-" + name);
    std::filesystem::create_directories(folder + "/mission");
    WriteRecords(folder, cleared);
    return folder;
}

// Right held from the first mission-select frame for `frames` frames.
struct UnlockCase {
    int cleared;
    int highest;
};

class UnlockLimit : public testing::TestWithParam<UnlockCase> {};

TEST_P(UnlockLimit, HoldingRightStopsAtTheHighestOpenMission) {
    UnlockCase c = GetParam();
    std::string folder = Folder("unlock-" + std::to_string(c.cleared), c.cleared);
    int frames = 6 * 30 + 10;
    RunnerResult run = RunHeadless(folder, std::string(ToMissionSelect) + std::to_string(frames) + " Right\n");
    int last = MissionSelectFirstFrame + frames - 1;
    ASSERT_EQ(int(run.trace.size()), last);
    EXPECT_EQ(run.Value(last, "MissionNumber"), c.highest);
    EXPECT_EQ(run.Value(last, "ScreenState"), 7);
    // One step at once, then one every 6 frames, one cursor sound each.
    int f = MissionSelectFirstFrame;
    EXPECT_EQ(run.Value(f, "MissionNumber"), 2);
    EXPECT_EQ(run.Value(f + 5, "MissionNumber"), 2);
    EXPECT_EQ(run.Value(f + 6, "MissionNumber"), 3);
    EXPECT_EQ(TraceList(run.trace[size_t(f + 6 - 1)], "sounds"), "\"SoundCursor\"");
    EXPECT_EQ(TraceList(run.trace[size_t(f + 7 - 1)], "sounds"), "");
}

INSTANTIATE_TEST_SUITE_P(Missions, UnlockLimit,
                         testing::Values(UnlockCase{0, 5}, UnlockCase{1, 6}, UnlockCase{24, 29}, UnlockCase{25, 30},
                                         UnlockCase{30, 30}));

// Blink timer: mission-select frames 1..19 and 40..59 show the arrows.
TEST(MissionSelect, ArrowsShowOnlyWhereTheNumberCanMove) {
    std::string folder = Folder("arrows", 0);
    // Frames 4..13: Left held at 1 does nothing; then Right to 5 and wait.
    RunnerResult run = RunHeadless(folder, std::string(ToMissionSelect) + "10 Left\n30 Right\n30\n",
                          "--shot 5=" + folder + "/at1.png --shot 48=" + folder + "/at5.png --shot 40=" + folder +
                              "/dark.png");
    ASSERT_GE(int(run.trace.size()), 48);
    for (int f = 4; f <= 13; ++f) {
        EXPECT_EQ(run.Value(f, "MissionNumber"), 1);
        EXPECT_EQ(TraceList(run.trace[size_t(f - 1)], "sounds"), "");
    }
    Surface at1 = Shot(folder + "/at1.png");
    EXPECT_TRUE(TextDrawn(at1, "01", 180, 324));
    EXPECT_FALSE(TextDrawn(at1, "[", 148, 324));
    EXPECT_TRUE(TextDrawn(at1, "]", 244, 324));
    EXPECT_TRUE(TextDrawn(at1, ">", 80, 300));
    EXPECT_TRUE(TextDrawn(at1, "NORMAL GAME", 100, 300));
    EXPECT_TRUE(TextDrawn(at1, "EDIT GAME", 100, 364));
    EXPECT_FALSE(TextDrawn(at1, "C", 228, 324));  // nothing cleared

    ASSERT_EQ(run.Value(48, "MissionNumber"), 5);
    Surface at5 = Shot(folder + "/at5.png");
    EXPECT_TRUE(TextDrawn(at5, "05", 180, 324));
    EXPECT_TRUE(TextDrawn(at5, "[", 148, 324));
    EXPECT_FALSE(TextDrawn(at5, "]", 244, 324));

    // The 37th mission-select frame lies in the dark half of the blink.
    Surface dark = Shot(folder + "/dark.png");
    EXPECT_FALSE(TextDrawn(dark, "[", 148, 324));
    EXPECT_FALSE(TextDrawn(dark, "]", 244, 324));
    EXPECT_TRUE(TextDrawn(dark, "05", 180, 324));
}

TEST(MissionSelect, EditGameIgnoresLeftAndRightAndKeepsTheClearedMark) {
    std::string folder = Folder("edit-cursor", 3);
    // Frame 4: down to "EDIT GAME"; 5..24 both directions held; 25: back up.
    RunnerResult run = RunHeadless(folder, std::string(ToMissionSelect) + "1 Down\n10 Left\n10 Right\n1 Up\n",
                          "--shot 8=" + folder + "/edit.png --shot 25=" + folder + "/up.png");
    ASSERT_EQ(int(run.trace.size()), 25);
    EXPECT_EQ(run.Value(4, "MissionCursor"), 1);
    EXPECT_EQ(TraceList(run.trace[3], "sounds"), "\"SoundCursor\"");
    for (int f = 5; f <= 24; ++f) {
        EXPECT_EQ(run.Value(f, "MissionNumber"), 1);
        EXPECT_EQ(TraceList(run.trace[size_t(f - 1)], "sounds"), "");
    }
    Surface edit = Shot(folder + "/edit.png");
    EXPECT_TRUE(TextDrawn(edit, "C", 228, 324));
    EXPECT_TRUE(TextDrawn(edit, ">", 80, 364));
    EXPECT_FALSE(TextDrawn(edit, ">", 80, 300));
    EXPECT_FALSE(TextDrawn(edit, "]", 244, 324));
    // Moving up shows the arrows in the same frame, whatever the blink was.
    EXPECT_EQ(run.Value(25, "MissionCursor"), 0);
    EXPECT_EQ(run.Value(25, "MissionBlinkTimer"), 1);
    EXPECT_TRUE(TextDrawn(Shot(folder + "/up.png"), "]", 244, 324));
}

TEST(MissionSelect, NumberedMissionHasTwoDigitsAndLoadsItsFile) {
    std::string folder = Folder("two-digits", 10);
    MissionImage seven = EmptyMission(0, 3, 2);
    SetCell(seven, 0, 11, X);
    SetCell(seven, 7, 11, V);
    WriteMission(folder + "/mission/07.msn", seven);
    // Right held for six steps: 1 -> 7 in mission-select frame 31.
    RunnerResult run = RunHeadless(folder, std::string(ToMissionSelect) + "31 Right\n1\n1 Z\n2\n",
                          "--shot 35=" + folder + "/seven.png");
    ASSERT_EQ(int(run.trace.size()), 38);
    EXPECT_EQ(run.Value(35, "MissionNumber"), 7);
    EXPECT_TRUE(TextDrawn(Shot(folder + "/seven.png"), "07", 180, 324));
    EXPECT_EQ(run.Value(36, "ScreenState"), 10);
    EXPECT_EQ(run.Value(36, "GameMode"), 1);
    EXPECT_EQ(TraceList(run.trace[35], "sounds"), "\"SoundDecide\"");
    // The well of mission 07: a cross and a vertical on the floor row.
    EXPECT_NE(run.state.find("\"b0000002\"]"), std::string::npos) << run.state;
}

TEST(MissionSelect, PickedFileStartsAnEditGameAfterHalfASecond) {
    std::string folder = Folder("pick", 0);
    std::filesystem::create_directories(folder + "/elsewhere");
    MissionImage m = EmptyMission(6, 500, 8);
    SetCell(m, 2, 11, X);
    WriteMission(folder + "/elsewhere/any name.msn", m);
    RunnerResult run = RunHeadless(folder, std::string(ToMissionSelect) + "1 Down\n1\npick " + folder +
                                      "/elsewhere/any name.msn\n1 Z\n1\n");
    ASSERT_EQ(int(run.trace.size()), 7);
    auto frameTime = [&](int f) { return run.Value(f, "Ticks") - run.Value(f - 1, "Ticks"); };
    EXPECT_EQ(frameTime(5), 25);
    EXPECT_EQ(frameTime(6), 500);
    EXPECT_EQ(frameTime(7), 25);
    EXPECT_EQ(run.Value(6, "ScreenState"), 10);
    EXPECT_EQ(run.Value(6, "GameMode"), 2);
    EXPECT_EQ(run.Value(6, "MissionNumber"), 1);
    EXPECT_NE(run.state.find("\"00b00000\"]"), std::string::npos) << run.state;
}

TEST(MissionSelect, CancelledDialogLeavesTheScreenAsItWas) {
    std::string folder = Folder("cancel", 2);
    // One explicit cancel, then a dialog with no answer left, which cancels too.
    RunnerResult run = RunHeadless(folder, std::string(ToMissionSelect) + "7 Right\n1 Down\n1\npick cancel\n1 Z\n1\n1 Z\n1\n");
    ASSERT_EQ(int(run.trace.size()), 16);
    for (int f : {13, 15}) {
        EXPECT_EQ(run.Value(f, "ScreenState"), 7);
        EXPECT_EQ(run.Value(f, "Ticks") - run.Value(f - 1, "Ticks"), 25);
        EXPECT_EQ(run.Value(f, "MissionCursor"), 1);
        EXPECT_EQ(run.Value(f, "MissionNumber"), 3);
        EXPECT_EQ(run.Value(f, "GameMode"), 0);
        EXPECT_EQ(TraceList(run.trace[size_t(f - 1)], "sounds"), "\"SoundDecide\"");
    }
    EXPECT_EQ(run.Value(16, "ScreenState"), 7);
    EXPECT_NE(run.state.find("\"00000000\"]"), std::string::npos) << run.state;
}

TEST(MissionSelect, ButtonTwoReturnsToTheTitleEvenAfterAMissionWasLoaded) {
    std::string folder = Folder("back", 0);
    MissionImage m = EmptyMission();
    SetCell(m, 5, 11, X);
    WriteMission(folder + "/mission/01.msn", m);
    RunnerResult run = RunHeadless(folder, std::string(ToMissionSelect) + "1\n1 Z X\n1\n");
    ASSERT_EQ(int(run.trace.size()), 6);
    EXPECT_EQ(run.Value(5, "ScreenState"), 6);
    EXPECT_EQ(run.Value(5, "GameMode"), 1);  // the mission was loaded all the same
    EXPECT_NE(run.state.find("\"00000b00\"]"), std::string::npos) << run.state;
}

// A numbered mission or a picked file that cannot be read whole starts
// nothing: the screen stays, no decide sound for the numbered one, a line on
// the screen, the file named on stderr, the records untouched.
TEST(MissionSelect, MissionThatCannotBeReadWholeIsNotStarted) {
    struct Case {
        const char* name;
        void (*make)(const std::string& path);
        bool picked;
    };
    const Case cases[] = {
        {"missing", [](const std::string&) {}, false},
        {"empty", [](const std::string& p) { WriteBytes(p, {}); }, false},
        {"short", [](const std::string& p) { WriteBytes(p, std::vector<uint8_t>(MissionFileSize - 1, 0)); }, false},
        {"folder", [](const std::string& p) { std::filesystem::create_directories(p); }, false},
        {"fifo", [](const std::string& p) { ASSERT_EQ(mkfifo(p.c_str(), 0644), 0); }, false},
        {"picked short", [](const std::string& p) { WriteBytes(p, std::vector<uint8_t>(200, 0)); }, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string folder = Folder("unreadable", 3);
        std::string path = folder + "/mission/01.msn";
        c.make(path);
        std::vector<uint8_t> records = ReadBytes(folder + "/rcd.dat");
        std::string script = std::string(ToMissionSelect) + (c.picked ? "1 Down\n1\npick " + path + "\n" : "1\n") + "1 Z\n1\n";
        int decide = c.picked ? 6 : 5;
        RunnerResult run = RunHeadless(folder, script,
                                       "--shot " + std::to_string(decide + 1) + "=" + folder + "/shot.png 2>" + folder + "/err.txt");
        ASSERT_EQ(int(run.trace.size()), decide + 1);
        for (int f : {decide, decide + 1}) {
            EXPECT_EQ(run.Value(f, "ScreenState"), 7);
            EXPECT_EQ(run.Value(f, "GameMode"), 0);
        }
        EXPECT_EQ(TraceListHas(run.trace[size_t(decide - 1)], "sounds", "SoundDecide"), c.picked);
        EXPECT_EQ(run.Value(decide, "Ticks") - run.Value(decide - 1, "Ticks"), 25);
        // "CANNOT READ MISSION": 19 characters centred at x = 40, on the bottom line.
        EXPECT_TRUE(TextDrawn(Shot(folder + "/shot.png"), "CANNOT READ MISSION", 40, 456));
        EXPECT_NE(ReadLines(folder + "/err.txt").at(0).find(path), std::string::npos);
        EXPECT_EQ(ReadBytes(folder + "/rcd.dat"), records);
    }
}

}  // namespace

// EDIT GAME chosen with the pad lists the .msn files of the author's
// missions folder, sorted as read (case aside), in place of the dialog; the
// one chosen starts as a picked file does. With none, a word, and back
// returns to the title. (The keyboard's Z still asks the dialog: above.)
TEST(MissionSelect, EditGameWithThePadListsTheAuthorsMissions) {
    std::string folder = Folder("pad-list", 0);
    const std::string missions = folder + "/xdg/tessmar/missions";
    std::filesystem::create_directories(missions + "/folder.msn");
    const char* names[] = {"b.msn", "C.msn", "A.msn"};  // listed A, b, C
    const int column[] = {1, 2, 0};
    for (int i = 0; i < 3; ++i) {
        MissionImage m = EmptyMission(6, 500, 8);
        SetCell(m, column[i], 11, X);
        WriteMission(missions + "/" + names[i], m);
    }
    WriteBytes(missions + "/notes.txt", {'h', 'i'});
    const char* oldData = std::getenv("XDG_DATA_HOME");
    const std::string savedData = oldData ? oldData : "";
    setenv("XDG_DATA_HOME", (folder + "/xdg").c_str(), 1);
    // A pick waits for a dialog that the pad never opens.
    const std::string toList = std::string(ToMissionSelect) + "1 Down\n1\npick /nowhere.msn\npad a\n1\npad\n1\n";
    RunnerResult run = RunHeadless(folder, toList + "pad dpdown\n1\npad\n1\npad dpdown\n1\npad\n1\npad dpdown\n1\npad\n1\n"
                                                 "pad a\n1\npad\n1\n");
    ASSERT_EQ(int(run.trace.size()), 15);
    EXPECT_EQ(run.Value(6, "MissionListOpen"), 1);
    EXPECT_EQ(run.Value(6, "ScreenState"), 7);
    EXPECT_EQ(run.Value(13, "MissionListCursor"), 2) << "three files: the third down stays on the last";
    EXPECT_EQ(run.Value(14, "ScreenState"), 10);
    EXPECT_EQ(run.Value(14, "GameMode"), 2);
    EXPECT_EQ(run.Value(14, "Ticks") - run.Value(13, "Ticks"), 500) << "the half second after a pick";
    EXPECT_NE(run.state.find("\"00b00000\"]"), std::string::npos) << "C.msn: " << run.state;

    std::filesystem::remove_all(missions);
    run = RunHeadless(folder, toList + "pad dpdown\n1\npad dpright\n1\npad b\n1\npad\n1\n", "--shot 7=" + folder + "/none.png");
    ASSERT_EQ(int(run.trace.size()), 11);
    EXPECT_EQ(run.Value(7, "MissionListOpen"), 1);
    EXPECT_EQ(run.Value(9, "MissionListCursor"), 0) << "nothing to move to";
    EXPECT_EQ(run.Value(10, "ScreenState"), 6) << "back returns to the title";
    EXPECT_EQ(run.Value(10, "MissionListOpen"), 0);
    oldData ? setenv("XDG_DATA_HOME", savedData.c_str(), 1) : unsetenv("XDG_DATA_HOME");
}
