// The records screen and the records file as the game reads, shows and
// writes it, whatever bytes the file holds.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <random>

#include "rules/game_mode.h"
#include "platform/platform_os.h"
#include "rules/scoring.h"
#include "screens/game_over.h"
#include "screens/records_file.h"
#include "screens/title.h"
#include "tests/screens/screen_checks.h"

namespace {
void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

std::vector<uint8_t> FileBytes(const std::string& path) {
    std::vector<uint8_t> bytes;
    ReadFileBytes(path, bytes, 1000);
    return bytes;
}

// Starts in a folder holding `file` as rcd.dat and opens the records screen
// from the title.
std::string OpenRecordsWith(const char* name, const std::vector<uint8_t>* file) {
    std::string folder = MakeTempFolder(name);
    if (file) WriteBytes(folder + "/rcd.dat", *file);
    StartInFolder(folder);
    TitleCursor = ItemRecord;
    Tap({KeyZ});
    EXPECT_EQ(ScreenState, uint32_t(RecordsScreen));
    return folder;
}

// The records screen as it should look with these rows.
Surface RecordsPicture(const std::vector<std::string>& rows, const std::vector<std::string>& scores) {
    Surface picture = MenuBackgroundNow();
    for (int i = 0; i < 5; ++i) {
        int y = 48 * (i + 1) + 80;
        picture = WithText(picture, rows[i].c_str(), 40, y);
        picture = WithText(picture, scores[i].c_str(), 344 - 16 * int(scores[i].size()), y);
    }
    return picture;
}

void SetEntry(std::vector<uint8_t>& file, int place, const char* name12, uint32_t score) {
    std::memcpy(file.data() + 16 * place, name12, 12);
    for (int b = 0; b < 4; ++b) file[16 * place + 12 + b] = uint8_t(score >> (8 * b));
}
}  // namespace

TEST(RecordsScreen, FiveRowsFromAMissingFile) {
    OpenRecordsWith("records_missing", nullptr);
    Surface expected = RecordsPicture({"1. -", "2. -", "3. -", "4. -", "5. -"}, {"0", "0", "0", "0", "0"});
    EXPECT_EQ(DifferingPixels(Shown(), expected), 0);
    EXPECT_GT(DifferingPixels(expected, MenuBackgroundNow()), 0);
}

TEST(RecordsScreen, BlankNamesUnterminatedNamesAndLargeScores) {
    std::vector<uint8_t> file(197, 0);
    SetEntry(file, 1, "@@@@@@@@\0\0\0\0", 1234);
    SetEntry(file, 2, "ABCDEFGHIJKL", 4294967295u);  // no terminator in its 12 bytes
    SetEntry(file, 3, "XY\0ZZZZZZZZZ", 7);
    SetEntry(file, 4, "1234567890\0\0", 10);  // terminated after 8 characters: shown as stored
    SetEntry(file, 5, "\0BCDEFGHIJKL", 5);
    OpenRecordsWith("records_names", &file);
    Surface expected = RecordsPicture({"1. @@@@@@@@", "2. ABCDEFGH", "3. XY", "4. 1234567890", "5. -"},
                                      {"1234", "4294967295", "7", "10", "5"});
    EXPECT_EQ(DifferingPixels(Shown(), expected), 0);
    // Eight blanks are a name, not an empty place: no dash after "1. ".
    EXPECT_EQ(DifferingPixels(Shown(), MenuBackgroundNow(), 88, 128, 128, 16), 0);
}

TEST(RecordsScreen, ButtonsOneAndTwoLeaveSilentlyAndDirectionsDoNothing) {
    for (Key leave : {KeyZ, KeyX}) {
        OpenRecordsWith("records_buttons", nullptr);
        Headless.sounds.clear();
        for (Key k : {KeyUp, KeyDown, KeyLeft, KeyRight, KeyA, KeyD}) Tap({k});
        EXPECT_EQ(ScreenState, uint32_t(RecordsScreen));
        int presents = Headless.presents;
        HoldFrame({leave});
        EXPECT_EQ(ScreenState, uint32_t(TitleScreen));
        EXPECT_EQ(Headless.presents, presents + 1) << "the leaving frame still draws the records";
        EXPECT_EQ(Headless.sounds, std::vector<std::string>{});
        EXPECT_EQ(TitleCursor, ItemRecord);
    }
}

// Whatever the file holds, the game starts, shows the records screen and
// writes back a file of at least 197 bytes whose untouched parts are the
// bytes it read, a longer file's tail included.
// Some of the files go on through a lost game into the name-entry table.
TEST(RecordsFileRobustness, EveryLengthAndRandomBytes) {
    std::mt19937 random(20261206);
    int nameEntries = 0;
    for (int length = 0; length <= 300; ++length) {
        std::vector<uint8_t> file(static_cast<size_t>(length));
        for (uint8_t& b : file) b = uint8_t(random());
        // Every third file keeps its names free of zeros: no terminator anywhere.
        if (length % 3 == 0)
            for (uint8_t& b : file) b = b == 0 ? 0xFF : b;
        SCOPED_TRACE("length " + std::to_string(length));
        std::string folder = OpenRecordsWith("records_random", &file);
        HoldFrame({KeyX});
        ASSERT_EQ(ScreenState, uint32_t(TitleScreen));

        int32_t place = 0;
        if (length % 15 == 0 || length == 197) {
            // A lost score-attack game with the best score there is.
            Headless.keys = {};
            GameMode = ScoreAttack;
            Score = 0x7FFFFFFF;
            ScreenState = GameOverScreen;
            place = FindNewPlace(uint32_t(Score));
            for (int n = 0; n < 300 && ScreenState == GameOverScreen && GameOverPhase != PhaseNameEntry; ++n) RunFrame();
            if (place != 0) {
                ASSERT_EQ(GameOverPhase, PhaseNameEntry);
                Tap({KeyEnter});
                ++nameEntries;
            }
            ASSERT_EQ(ScreenState, uint32_t(TitleScreen));
        }
        if (place == 0) WriteRecordsFile();  // as after a cleared mission

        std::vector<uint8_t> expected = file;
        expected.resize(std::max<size_t>(file.size(), 197), 0);  // a longer file keeps its tail
        expected[196] = uint8_t(std::count_if(expected.begin() + 96, expected.begin() + 196, [](uint8_t f) { return f != 0; }));
        std::vector<uint8_t> written = FileBytes(folder + "/rcd.dat");
        ASSERT_EQ(written.size(), expected.size());
        EXPECT_TRUE(std::equal(expected.begin(), expected.begin() + 16 * (place ? place : 6), written.begin()))
            << "entry 0 and the places above the new one";
        EXPECT_TRUE(std::equal(expected.begin() + 96, expected.end(), written.begin() + 96)) << "flags and count";
    }
    EXPECT_GE(nameEntries, 15) << "most of the lost games reach the name entry";
}
