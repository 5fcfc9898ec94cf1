#include "draw/surfaces.h"
#include "settings/data_folder.h"
#include "shell/startup.h"

#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <functional>
#include <optional>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <thread>
#include <fstream>
#include <vector>

#include "platform/platform_headless.h"
#include "rules/board.h"
#include "screens/mission_loader.h"
#include "platform/platform_os.h"
#include "platform/wave_length.h"
#include "screens/game_over.h"
#include "screens/notice.h"
#include "screens/records_file.h"
#include "shell/game_folder.h"
#include "shell/main_loop.h"
#include "tests/test_support.h"

namespace fs = std::filesystem;

namespace {
void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

std::vector<uint8_t> FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), {});
}

std::vector<uint8_t> Pattern(size_t n) {
    std::vector<uint8_t> v(n);
    for (size_t i = 0; i < n; ++i) v[i] = uint8_t(i * 7 + 3);
    return v;
}

int Red(uint32_t p) { return int(p >> 16); }
int Green(uint32_t p) { return int((p >> 8) & 0xFF); }
int Blue(uint32_t p) { return int(p & 0xFF); }
}  // namespace

TEST(StartupImages, GradientRows) {
    Surface g;
    DrawGradient(g);
    ASSERT_EQ(g.width, 1);  // every row is one colour
    ASSERT_EQ(g.height, 480);
    EXPECT_EQ(g.At(0, 0), Rgb(118, 188, 247));
    EXPECT_EQ(g.At(0, 239), Rgb(84, 154, 224));
    EXPECT_EQ(g.At(0, 479), Rgb(50, 120, 200));
}

TEST(StartupImages, GradientChangesOnlyInSteps) {
    Surface g;
    DrawGradient(g);
    int redSteps = 0, blueSteps = 0;
    for (int y = 1; y < 480; ++y) {
        uint32_t above = g.At(0, y - 1), here = g.At(0, y);
        int dr = Red(above) - Red(here), db = Blue(above) - Blue(here);
        EXPECT_TRUE(dr == 0 || dr == 1) << y;
        EXPECT_TRUE(db == 0 || db == 1) << y;
        EXPECT_EQ(Red(above) - Red(here), Green(above) - Green(here));
        if (dr) {
            ++redSteps;
            EXPECT_EQ((479 - y) % 7, 6) << "red and green step every 7 rows";
        }
        if (db) {
            ++blueSteps;
            EXPECT_EQ((479 - y) % 10, 9) << "blue steps every 10 rows";
        }
    }
    EXPECT_EQ(redSteps, 68);
    EXPECT_EQ(blueSteps, 47);
}

// The backgrounds drawn from the kept column and tile are, pixel for pixel
// and clipped alike, what BitBlt draws from the whole screen-sized pictures.
TEST(StartupImages, BackgroundsAsFromWholePictures) {
    FreshProgram();
    BlockSheet.Create(640, 256);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) BlockSheet.At(576 + x, 32 + y) = Rgb(x * 8, y * 8, 77);
    DrawGradient(GradientSurface);
    DrawTiledBackground(TileSurface, BlockSheet);
    Surface wholeSky, wholeTiles;
    wholeSky.Create(384, 480);
    wholeTiles.Create(384, 480);
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 384; ++x) {
            wholeSky.At(x, y) = GradientSurface.At(0, y);
            wholeTiles.At(x, y) = BlockSheet.At(576 + x % 32, 32 + y % 32);
        }
    struct Blit { int dx, dy, w, h, sx, sy; };
    const Blit blits[] = {
        {0, 0, 384, 480, 0, 0},        {16, 40, 256, 384, 16, 40},  {336, 40, 32, 384, 288, 40},
        {-20, -7, 100, 50, 5, 3},      {300, 450, 200, 100, 10, 10}, {0, 0, 50, 50, 370, 470},
        {0, 0, 50, 50, -10, -3},       {5, 5, 1, 1, 383, 479},       {0, 0, 384, 480, 384, 0},
    };
    for (Rop rop : {Rop::Copy, Rop::And, Rop::Or})
        for (bool sky : {true, false})
            for (const Blit& b : blits) {
                Surface expected, drawn;
                expected.Create(384, 480);
                // Rows already all sky, sky but for one pixel, and unrelated.
                for (int y = 0; y < 480; ++y)
                    for (int x = 0; x < 384; ++x) {
                        uint32_t noise = uint32_t((y * 384 + x) * 2654435761u) & White;
                        bool sky = y % 3 == 0 || (y % 3 == 1 && x != y % 384);
                        expected.At(x, y) = sky ? wholeSky.At(x, y) : noise;
                    }
                drawn = expected;
                BitBlt(expected, b.dx, b.dy, b.w, b.h, sky ? wholeSky : wholeTiles, b.sx, b.sy, rop);
                BackBuffer = drawn;
                (sky ? BlitGradient : BlitTiles)(b.dx, b.dy, b.w, b.h, b.sx, b.sy, rop);
                ASSERT_EQ(BackBuffer.pixels, expected.pixels)
                    << (sky ? "sky " : "tiles ") << int(rop) << " at " << b.dx << "," << b.dy << " from " << b.sx << "," << b.sy;
            }
}

TEST(Startup, InAnEmptyFolder) {
    std::string folder = MakeTempFolder("startup_empty");
    StartInFolder(folder);
    EXPECT_TRUE(fs::exists(folder + "/rcd.dat"));
    EXPECT_EQ(fs::file_size(folder + "/rcd.dat"), 0u);
    EXPECT_FALSE(fs::exists(folder + "/snd")) << "no sound files are created";
    EXPECT_EQ(ClearedCount, 0);
    EXPECT_EQ(RecordTable[1].score, 0u);
    EXPECT_TRUE(WallsIntact());
    EXPECT_EQ(RopeSides[Cross][0] + RopeSides[Cross][1] + RopeSides[Cross][2] + RopeSides[Cross][3], 4);
    EXPECT_EQ(StartDirectory, fs::canonical(folder).string());
    EXPECT_EQ(Headless.music, (std::vector<std::string>{"close", "open"}));
    EXPECT_FALSE(Headless.tuneOpen);
    EXPECT_TRUE(SoundMove.bytes.empty());
    RunFrames(3);  // and it runs
    EXPECT_EQ(Headless.presents, 3);
}

TEST(Startup, ReadsTheSoundImagesWhole) {
    std::string folder = MakeTempFolder("startup_sounds");
    fs::create_directories(folder + "/snd");
    WriteBytes(folder + "/snd/lr.wav", Pattern(1000));
    WriteBytes(folder + "/snd/picoon.wav", {});  // empty: silent
    WriteBytes(folder + "/snd/turn.wav", Pattern(3));  // garbage: silent
    fs::create_directories(folder + "/snd/pi.wav");  // not even a file
    WriteBytes(folder + "/snd/bgm.mid", Pattern(50));
    StartInFolder(folder);
    EXPECT_EQ(SoundMove.bytes, Pattern(1000));
    EXPECT_EQ(SoundTurn.bytes.size(), 3u);
    EXPECT_TRUE(SoundCursor.bytes.empty());
    EXPECT_EQ(SoundCursor.readError, "Is a directory");
    EXPECT_TRUE(SoundDecide.bytes.empty());
    EXPECT_EQ(SoundDecide.readError, "") << "empty, but read";
    EXPECT_TRUE(Headless.tuneOpen);
    RunFrames(2);
    EXPECT_EQ(Headless.presents, 2);

    // Each sound that cannot be read says why; a file longer than ten
    // seconds of sound can be is not read at all.
    mkfifo((folder + "/snd/fifo.wav").c_str(), 0644);
    fs::resize_file(folder + "/snd/picoon.wav", MaxSoundFileBytes + 1);
    chmod((folder + "/snd/lr.wav").c_str(), 0);
    const struct { const char* file; const char* reason; } cases[] = {
        {"snd/fifo.wav", "Not a regular file"},
        {"snd/missing.wav", "No such file or directory"},
        {"snd/picoon.wav", "longer than 3145728 bytes"},
        {"snd/lr.wav", geteuid() == 0 ? "" : "Permission denied"},  // root reads it all the same
    };
    for (const auto& c : cases) {
        SoundImage image;
        LoadSoundImage(image, folder + "/" + c.file);
        EXPECT_EQ(image.readError, c.reason) << c.file;
        if (*c.reason) {
            EXPECT_TRUE(image.bytes.empty()) << c.file;
        }
    }
}

TEST(RecordsRead, ShortFileFillsAsFarAsItReaches) {
    std::string folder = MakeTempFolder("records_short");
    WriteBytes(folder + "/rcd.dat", Pattern(20));
    StartInFolder(folder);
    uint8_t image[RecordsFileSize];
    EncodeRecords(image);
    std::vector<uint8_t> expected = Pattern(20);
    expected.resize(RecordsFileSize, 0);
    EXPECT_EQ(std::vector<uint8_t>(image, image + RecordsFileSize), expected);
}

TEST(RecordsRead, LongFileIgnoresBytesBeyondTheRecords) {
    std::string folder = MakeTempFolder("records_long");
    WriteBytes(folder + "/rcd.dat", Pattern(300));
    StartInFolder(folder);
    uint8_t image[RecordsFileSize];
    EncodeRecords(image);
    std::vector<uint8_t> expected = Pattern(RecordsFileSize);
    expected[196] = 100;  // the count the flags give: every flag of the pattern is set
    EXPECT_EQ(std::vector<uint8_t>(image, image + RecordsFileSize), expected);
    EXPECT_EQ(ClearedCount, 100);
    EXPECT_EQ(RecordTable[1].score, uint32_t(expected[28]) | uint32_t(expected[29]) << 8 |
                                        uint32_t(expected[30]) << 16 | uint32_t(expected[31]) << 24);
}

TEST(RecordsRead, DirectoryOrFifoInsteadOfAFileLeavesZeros) {
    std::string folder = MakeTempFolder("records_dir");
    fs::create_directories(folder + "/rcd.dat");
    StartInFolder(folder);
    EXPECT_EQ(ClearedCount, 0);
    RunFrames(2);

    std::string fifo = MakeTempFolder("records_fifo");
    ASSERT_EQ(mkfifo((fifo + "/rcd.dat").c_str(), 0644), 0);
    StartInFolder(fifo);  // must not block waiting for a writer
    EXPECT_EQ(ClearedCount, 0);
}

TEST(RecordsWrite, WritesTheWholeImageAtomicallyToTheStartFolder) {
    std::string folder = MakeTempFolder("records_write");
    StartInFolder(folder);
    RecordTable[0].name[0] = 'Q';
    RecordTable[1].score = 1234;
    ClearedFlags[3] = 1;
    ClearedCount = 1;
    fs::current_path(fs::temp_directory_path());  // a dialog may move the current folder
    ASSERT_TRUE(WriteRecordsFile());
    std::ifstream in(folder + "/rcd.dat", std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
    ASSERT_EQ(bytes.size(), 197u);
    EXPECT_EQ(bytes[0], 'Q');
    EXPECT_EQ(bytes[28], 0xD2);
    EXPECT_EQ(bytes[29], 0x04);
    EXPECT_EQ(bytes[99], 1);
    EXPECT_EQ(bytes[196], 1);
    for (const auto& entry : fs::directory_iterator(folder))
        EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos) << "no temporary file left";
}

TEST(RecordsWrite, FailureKeepsTheOldFile) {
    std::string folder = MakeTempFolder("records_fail");
    StartInFolder(folder);
    WriteBytes(folder + "/rcd.dat", Pattern(197));
    StartDirectory = folder + "/missing-folder";
    EXPECT_FALSE(WriteRecordsFile());
    EXPECT_EQ(fs::file_size(folder + "/rcd.dat"), 197u);

    // A file longer than the game keeps whole is left as it is, not cut short.
    StartDirectory = folder;
    std::vector<uint8_t> huge = Pattern((1 << 20) + 1);
    WriteBytes(folder + "/rcd.dat", huge);
    EXPECT_FALSE(WriteRecordsFile());
    EXPECT_EQ(FileBytes(folder + "/rcd.dat"), huge);
}

// Another game holding the lock: the save returns at once and is tried
// again each frame, finishing once the lock is free, or failing with the
// notice when it stays held past the lock's time (the frames meanwhile go
// on: no call waits). At the end of the program a waiting save waits out
// the rest of that time.
TEST(RecordsWrite, ALockHeldElsewhereHoldsUpNoFrame) {
    std::string folder = MakeTempFolder("records_lock_wait");
    for (bool released : {true, false}) {
        SCOPED_TRACE(released ? "released after 1 s" : "held for good");
        StartInFolder(folder);
        fs::remove(folder + "/rcd.dat");
        int lock = open((folder + "/rcd.dat.lock").c_str(), O_RDONLY | O_CREAT, 0644);
        ASSERT_EQ(flock(lock, LOCK_EX), 0);
        RecordTable[1].score = 4321;
        auto start = std::chrono::steady_clock::now();
        EXPECT_FALSE(WriteRecordsFile());
        EXPECT_TRUE(RecordsSaveWaiting());
        for (int frame = 0; frame < 40; ++frame) {  // one second of frames
            Headless.clock += 25;
            ContinueRecordsSave();
        }
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(300)) << "a frame waited";
        EXPECT_TRUE(RecordsSaveWaiting());
        EXPECT_FALSE(fs::exists(folder + "/rcd.dat"));
        if (released) close(lock);
        for (int frame = 0; frame < 41; ++frame) {
            Headless.clock += 25;
            ContinueRecordsSave();
        }
        EXPECT_FALSE(RecordsSaveWaiting());
        EXPECT_EQ(Notice == NoticeRecordsNotSaved, !released);
        EXPECT_EQ(fs::exists(folder + "/rcd.dat"), released);
        if (released) {
            EXPECT_EQ(FileBytes(folder + "/rcd.dat")[28], 4321 & 0xFF);
        } else {
            close(lock);
        }
    }
    StartInFolder(folder);
    int lock = open((folder + "/rcd.dat.lock").c_str(), O_RDONLY);
    ASSERT_EQ(flock(lock, LOCK_EX), 0);
    RecordTable[1].score = 99;
    EXPECT_FALSE(WriteRecordsFile());
    std::thread release([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        close(lock);
    });
    FinishRecordsSave();  // the program ends: waits for the lock
    release.join();
    EXPECT_FALSE(RecordsSaveWaiting());
    EXPECT_EQ(FileBytes(folder + "/rcd.dat")[28], 99);
}

TEST(GameFolders, DataFromTheStartFolderOrBesideTheExecutable) {
    std::string root = MakeTempFolder("game_folders");
    auto make = [&](const std::string& rel) { fs::create_directories(root + "/" + rel); };
    auto touch = [&](const std::string& rel) { WriteBytes(root + "/" + rel, {1}); };
    make("played/snd");                      // a game folder as ./tessmar play makes it
    make("missions-only/mission");
    touch("missions-only/mission/07.msn");
    make("sources/mission");                 // a source tree's mission/ holds no missions
    touch("sources/mission/mission_file.cpp");
    make("usr/bin");
    make("usr/share/tessmar/snd");           // installed or unpacked
    make("build/gamedata/mission");          // the build folder
    touch("build/gamedata/mission/01.msn");
    make("bare/bin");                        // a lone executable
    const std::string user = root + "/home/.local/share/tessmar";
    make("home/.local/share/tessmar/snd");   // the game folder ./tessmar play fills
    make("home/.local/share/tessmar/../other");
    struct Case { const char* start; const char* exeDir; std::string data; };
    // The records always go to the user's folder; only the data moves.
    const Case cases[] = {
        {"played", "usr/bin", root + "/usr/bin/../share/tessmar"},  // someone's snd/ is not ours
        {"missions-only", "usr/bin", root + "/usr/bin/../share/tessmar"},
        {"missions-only", "build", root + "/build/gamedata"},
        {"sources", "usr/bin", root + "/usr/bin/../share/tessmar"},
        {"home/.local/share/tessmar", "usr/bin", root + "/home/.local/share/tessmar"},
        {"home/.local/share/other/../tessmar", "build", root + "/home/.local/share/other/../tessmar"},
        {"bare", "bare/bin", root + "/bare/bin/gamedata"},  // none anywhere: silent
    };
    for (const Case& c : cases) {
        GameFolders f = ChooseGameFolders(root + "/" + c.start, root + "/" + c.exeDir, user);
        EXPECT_EQ(f.data, c.data) << c.start << " with " << c.exeDir;
        EXPECT_EQ(f.run, user) << c.start << " with " << c.exeDir;
    }
    EXPECT_EQ(UserGameFolder("/x/data", "/home/u"), "/x/data/tessmar");
    EXPECT_EQ(UserGameFolder("", "/home/u"), "/home/u/.local/share/tessmar");
    EXPECT_EQ(UserGameFolder(nullptr, "/home/u"), "/home/u/.local/share/tessmar");
    EXPECT_EQ(UserGameFolder("data", "/home/u"), "/home/u/.local/share/tessmar") << "a relative one is ignored";
    EXPECT_EQ(UserGameFolder("data", "home"), "");
    EXPECT_EQ(UserGameFolder(nullptr, nullptr), "");
}

// A records folder that cannot be used: the game says so and plays on
// without records; nothing is written into the folder it was started in.
TEST(GameFolders, UnusableRecordsFolderIsSaidAndNothingLandsInTheStartFolder) {
    std::string root = MakeTempFolder("records_unusable");
    WriteBytes(root + "/a-file", {1});
    const std::string longName(300, 'x');
    struct Case {
        const char* name;
        std::optional<std::string> xdg, home;
    };
    fs::create_directories(root + "/read-only");
    fs::permissions(root + "/read-only", fs::perms::owner_read | fs::perms::owner_exec);
    std::vector<Case> cases = {
        {"a file", root + "/a-file", std::nullopt},
        {"a name over 255 bytes", root + "/" + longName, std::nullopt},
        {"too long a path", root + "/" + std::string(4000, 'y'), std::nullopt},
        {"neither set", std::nullopt, std::nullopt},
        {"relative, no home", std::string("relative"), std::nullopt},
    };
    // Permissions do not stop root: that case runs for other users only.
    if (geteuid() != 0) cases.push_back({"not writable", root + "/read-only", std::nullopt});
    const char* oldXdg = std::getenv("XDG_DATA_HOME");
    const char* oldHome = std::getenv("HOME");
    std::string savedXdg = oldXdg ? oldXdg : "", savedHome = oldHome ? oldHome : "";
    std::string here = fs::current_path().string();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string start = MakeTempFolder("records_unusable_start");
        c.xdg ? setenv("XDG_DATA_HOME", c.xdg->c_str(), 1) : unsetenv("XDG_DATA_HOME");
        c.home ? setenv("HOME", c.home->c_str(), 1) : unsetenv("HOME");
        FreshProgram();
        ASSERT_EQ(chdir(start.c_str()), 0);
        EnterGameFolder();
        FixedSeed = 1;
        StartProgram();
        EXPECT_TRUE(RecordsDisabled);
        EXPECT_EQ(Notice, NoticeRecordsNotSaved);
        EXPECT_GT(NoticeFrames, 0);
        RecordTable[1].score = 99;
        EXPECT_FALSE(WriteRecordsFile());
        EXPECT_TRUE(fs::is_empty(start)) << "nothing in the start folder";
        EXPECT_EQ(fs::current_path().string(), fs::canonical(start).string());
    }
    oldXdg ? setenv("XDG_DATA_HOME", savedXdg.c_str(), 1) : unsetenv("XDG_DATA_HOME");
    oldHome ? setenv("HOME", savedHome.c_str(), 1) : unsetenv("HOME");
    ASSERT_EQ(chdir(here.c_str()), 0);
}

TEST(GameFolders, SoundsAndMissionsFromTheDataFolderRecordsWhereTheGameRuns) {
    std::string data = MakeTempFolder("data_folder");
    fs::create_directories(data + "/snd");
    fs::create_directories(data + "/mission");
    WriteBytes(data + "/snd/lr.wav", Pattern(10));
    WriteBytes(data + "/snd/bgm.mid", Pattern(50));
    std::string run = MakeTempFolder("run_folder");
    FreshProgram();
    ASSERT_EQ(chdir(run.c_str()), 0);
    DataDirectory = data;
    FixedSeed = 1;
    StartProgram();
    EXPECT_EQ(SoundMove.bytes, Pattern(10));
    EXPECT_TRUE(Headless.tuneOpen);
    EXPECT_EQ(NumberedMissionPath(3), data + "/mission/03.msn");
    EXPECT_TRUE(fs::exists(run + "/rcd.dat"));
    EXPECT_FALSE(fs::exists(data + "/rcd.dat"));
    EXPECT_FALSE(fs::exists(run + "/snd"));
}

// A linked rcd.dat stays a link; the file it names gets the records, and a
// dangling link's file is created. A chain of two links is followed too.
TEST(RecordsWrite, LinkIsFollowedNotReplaced) {
    std::string folder = MakeTempFolder("records_link");
    fs::create_directories(folder + "/real");
    struct Case {
        const char* name;
        const char* linkTo;    // relative to the game folder
        const char* realFile;  // where the records must end up
        bool existing;
    };
    for (const Case& c : {Case{"to a file", "real/records.bin", "real/records.bin", true},
                          Case{"dangling", "real/new.bin", "real/new.bin", false},
                          Case{"chain", "second-link", "real/chained.bin", true}}) {
        SCOPED_TRACE(c.name);
        fs::remove(folder + "/rcd.dat");
        fs::remove(folder + "/second-link");
        if (c.existing) WriteBytes(folder + "/" + c.realFile, Pattern(197));
        if (std::string(c.linkTo) == "second-link") fs::create_symlink("real/chained.bin", folder + "/second-link");
        fs::create_symlink(c.linkTo, folder + "/rcd.dat");
        StartInFolder(folder);
        RecordTable[0].name[0] = 'Q';
        ASSERT_TRUE(WriteRecordsFile());
        EXPECT_TRUE(fs::is_symlink(folder + "/rcd.dat"));
        std::vector<uint8_t> bytes = FileBytes(folder + "/" + c.realFile);
        ASSERT_EQ(bytes.size(), 197u);
        EXPECT_EQ(bytes[0], 'Q');
        for (const auto& entry : fs::directory_iterator(folder + "/real"))
            EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos);
    }
}

// Start-up removes what killed writes of rcd.dat left behind, and only that:
// not a user's file of a like name, not one a live writer holds.
TEST(Startup, RemovesStaleTemporaryFilesOfTheRecordsOnly) {
    std::string folder = MakeTempFolder("records_stale");
    for (const char* name : {"rcd.dat.tmp-tessmar-a1B2c3", "rcd.dat.tmp-tessmar-zzzzzz", "rcd.dat.tmp-backup",
                             "rcd.dat.tmp-tessmar-1234567", "rcd.dat.tmp-tessmar-HeLd00", "m.msn.tmp-tessmar-a1B2c3",
                             "rcd.dat"})
        WriteBytes(folder + "/" + name, Pattern(10));
    fs::create_directories(folder + "/rcd.dat.tmp-tessmar-folder");
    int held = open((folder + "/rcd.dat.tmp-tessmar-HeLd00").c_str(), O_RDONLY);
    ASSERT_EQ(flock(held, LOCK_EX), 0);
    StartInFolder(folder);
    close(held);
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(folder)) left.push_back(entry.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"m.msn.tmp-tessmar-a1B2c3", "rcd.dat", "rcd.dat.tmp-backup",
                                              "rcd.dat.tmp-tessmar-1234567", "rcd.dat.tmp-tessmar-HeLd00",
                                              "rcd.dat.tmp-tessmar-folder"}));
}

// One process saving in a loop while another removes stale temporaries of
// the same file: every save succeeds.
TEST(RecordsWrite, SavesSucceedWhileAnotherProcessCleans) {
    std::string folder = MakeTempFolder("records_cleaner");
    std::string path = folder + "/rcd.dat";
    pid_t cleaner = fork();
    ASSERT_GE(cleaner, 0);
    if (cleaner == 0) {
        for (;;) RemoveStaleTemporaries(path);  // until killed
    }
    int failed = 0;
    std::string reason;
    std::vector<uint8_t> bytes = Pattern(197);
    for (int i = 0; i < 100; ++i)
        if (!WriteFileAtomically(path, bytes.data(), bytes.size(), &reason)) ++failed;
    kill(cleaner, SIGKILL);
    waitpid(cleaner, nullptr, 0);
    EXPECT_EQ(failed, 0) << reason;
}

// What a write does with the file as another game (or the player) left it
// since this game last read it: everything this game added is merged in, the
// rest of the file is kept.
TEST(RecordsWrite, MergesIntoTheFileAsItIsNow) {
    auto entry = [](std::vector<uint8_t>& image, int place, const char* name, uint32_t score) {
        std::memset(image.data() + 16 * place, 0, 12);
        std::memcpy(image.data() + 16 * place, name, std::strlen(name));
        for (int b = 0; b < 4; ++b) image[size_t(16 * place + 12 + b)] = uint8_t(score >> (8 * b));
    };
    auto score = [](const std::vector<uint8_t>& image, int place) {
        return uint32_t(image[size_t(16 * place + 12)]) | uint32_t(image[size_t(16 * place + 13)]) << 8;
    };
    struct Case {
        const char* name;
        std::vector<uint8_t> atStart;  // the file when the game started
        std::function<void()> game;    // what this game changed in memory
        std::function<void(const std::string&)> other;  // what happened to the file meanwhile
        std::function<void(const std::vector<uint8_t>&)> check;
    };
    std::vector<uint8_t> empty(197, 0), fiveHundred(197, 0);
    entry(fiveHundred, 1, "OLD", 500);
    auto add = [](uint32_t s) { InsertNewEntry(FindNewPlace(s), s); };
    const Case cases[] = {
        {"another game's best score and tie stay ahead of ours", empty, [&] { add(300); },
         [&](const std::string& path) {
             std::vector<uint8_t> other(197, 0);
             entry(other, 1, "B", 900);
             entry(other, 2, "T", 300);
             WriteBytes(path, other);
         },
         [&](const std::vector<uint8_t>& f) {
             EXPECT_EQ(score(f, 1), 900u);
             EXPECT_EQ(f[32], 'T');
             EXPECT_EQ(score(f, 3), 300u);
             EXPECT_NE(f[48], 'T');
             EXPECT_EQ(score(f, 4), 0u);
         }},
        {"a deleted file starts the records afresh", fiveHundred, [&] { add(300); },
         [](const std::string& path) { fs::remove(path); },
         [&](const std::vector<uint8_t>& f) {
             EXPECT_EQ(score(f, 1), 300u);
             EXPECT_EQ(score(f, 2), 0u);
         }},
        {"missions cleared by either count once each", empty,
         [] {
             ClearedFlags[3] = ClearedFlags[4] = 1;
             ClearedCount = 2;
         },
         [&](const std::string& path) {
             std::vector<uint8_t> other(197, 0);
             other[96 + 4] = other[96 + 9] = 1;
             other[196] = 2;
             WriteBytes(path, other);
         },
         [](const std::vector<uint8_t>& f) {
             EXPECT_EQ(f[96 + 3] + f[96 + 4] + f[96 + 9], 3);
             EXPECT_EQ(f[196], 3);
         }},
        {"a newer version's longer file keeps its own bytes", empty, [&] { add(300); },
         [](const std::string& path) { WriteBytes(path, Pattern(300)); },
         [](const std::vector<uint8_t>& f) {
             ASSERT_EQ(f.size(), 300u);
             std::vector<uint8_t> p = Pattern(300);
             EXPECT_TRUE(std::equal(f.begin() + 197, f.end(), p.begin() + 197));
             EXPECT_TRUE(std::equal(f.begin(), f.begin() + 16, p.begin())) << "entry 0";
         }},
        {"a file past 64 KiB keeps every byte", empty, [&] { add(300); },
         [](const std::string& path) { WriteBytes(path, Pattern(100000)); },
         [](const std::vector<uint8_t>& f) {
             ASSERT_EQ(f.size(), 100000u);
             std::vector<uint8_t> p = Pattern(100000);
             EXPECT_TRUE(std::equal(f.begin() + 197, f.end(), p.begin() + 197));
         }},
        {"a count that disagrees with the flags is taken at the flags", empty,
         [] {
             ClearedFlags[5] = 1;
             ClearedCount = 1;
         },
         [&](const std::string& path) {
             std::vector<uint8_t> other(197, 0);
             other[96 + 2] = 1;
             other[196] = 255;  // one more clear must not wrap it to 0
             WriteBytes(path, other);
         },
         [](const std::vector<uint8_t>& f) { EXPECT_EQ(f[196], 2); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string folder = MakeTempFolder("records_merge");
        WriteBytes(folder + "/rcd.dat", c.atStart);
        StartInFolder(folder);
        c.game();
        c.other(folder + "/rcd.dat");
        ASSERT_TRUE(WriteRecordsFile());
        std::vector<uint8_t> file = FileBytes(folder + "/rcd.dat");
        c.check(file);
        uint8_t memory[RecordsFileSize];
        EncodeRecords(memory);
        EXPECT_TRUE(std::equal(memory, memory + RecordsFileSize, file.begin())) << "memory holds what was written";
    }
}
