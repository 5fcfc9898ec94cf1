// Fuzz target of the game: any records file and any mission file on disk,
// any starting screen, then the keyboard and the joystick through the main
// loop for as long as the input lasts (games long enough to be lost, the
// score's flight and the name entry). Checks that the walls and floor stay
// whole, every kind stays one the tables know, the records decode back to
// their bytes, and a records file the game writes is whole.
//
// Input:
//   byte 0      seed of the random numbers
//   byte 1      start: bits 0..2 the screen (below), bits 3..7 the mission number
//   byte 2      length R of rcd.dat (255: no file at all)
//   bytes 3..4  length M of the mission file, little-endian, modulo 400
//   R bytes of rcd.dat, M bytes of the mission file (as far as the input reaches)
//   then two-byte commands (a, b):
//     b < 0x80    hold keys a | (b & 0x0F) << 8 (bit = Key; Escape left out)
//                 for a number of frames chosen by bits 4..6 of b
//     b = 0xFF    hold Escape for a frame: the program quits
//     b >= 0xC0   otherwise: unplug the joystick
//     otherwise   joystick 1: axes from a's bits 0..3, buttons from the rest
// Start screens: 0 title; 1..4 the title's item 0..3 chosen; 5 mission select,
// NORMAL GAME chosen; 6 EDIT GAME with the mission file picked; 7 EDIT GAME
// with the dialog cancelled.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "draw/surface.h"
#include "draw/surfaces.h"
#include "mission/mission_file.h"
#include "rules/game_mode.h"
#include "settings/data_folder.h"
#include "platform/platform.h"
#include "platform/platform_headless.h"
#include "platform/platform_os.h"
#include "rules/board.h"
#include "rules/queue.h"
#include "screens/game_over.h"
#include "screens/mission_loader.h"
#include "screens/mission_select.h"
#include "screens/records_file.h"
#include "screens/screens.h"
#include "screens/title.h"
#include "shell/main_loop.h"
#include "shell/program_state.h"
#include "shell/startup.h"
#include "tests/fuzz/fuzz_support.h"

namespace {
constexpr int MaxFrames = 2000;
constexpr int PixelFramesEvery = 32;
constexpr int HoldFrames[8] = {1, 2, 3, 5, 8, 16, 40, 100};
constexpr uint32_t Axis[4] = {0, 32767, 65535, 16000};
constexpr size_t NoRecordsFile = 255;
constexpr size_t MissionLengthLimit = 400;
constexpr uint8_t QuitCommand = 0xFF;

int FuzzFrameCount;

// Every program-wide variable back to its start value, then the game's own
// start-up with this seed. The surfaces keep their memory from input to input.
void StartFuzzProgram(unsigned seed) {
    FuzzDrawPixels = true;
    Surface* kept[] = {&BackBuffer, &GradientSurface, &TileSurface, &BlockSheet, &FontSheet, &LogoSheet};
    Surface stash[std::size(kept)];
    for (size_t i = 0; i < std::size(kept); ++i) stash[i] = std::move(*kept[i]);
    ResetProgramState();
    for (size_t i = 0; i < std::size(kept); ++i) *kept[i] = std::move(stash[i]);
    HeadlessReset();
    FixedSeed = seed;
    StartProgram();
    FuzzFrameCount = 0;
}

// Pixels on one frame in 32 and on the first frame of every screen.
void FuzzFrame(int frame) {
    static uint32_t lastState;
    FuzzDrawPixels = frame % PixelFramesEvery == 0 || ScreenState != lastState;
    lastState = ScreenState;
    RunFrame();
}

[[noreturn]] void Broken(const char* what, int a, int b) {
    std::fprintf(stderr, "broken: %s (%d, %d) in ScreenState %u\n", what, a, b, unsigned(ScreenState));
    std::abort();
}

// Walls and floor whole and every kind one the tables know: true after
// loading and through all of play.
void CheckBoard() {
    for (int r = -2; r <= 12; ++r) {
        if (GetKind(-1, r) != Wall) Broken("left wall", -1, r);
        if (GetKind(8, r) != Wall) Broken("right wall", 8, r);
    }
    for (int c = 0; c <= 8; ++c)
        if (GetKind(c, 12) != Wall) Broken("floor", c, 12);
    for (int c = -1; c <= 8; ++c)
        for (int r = -2; r <= 12; ++r)
            if (GetKind(c, r) >= KindCount) Broken("kind", c, r);
    for (int p = 0; p < QueuePairs; ++p)
        for (int h = 0; h < 2; ++h)
            if (ComingQueue.kind[p][h] >= KindCount) Broken("queue kind", p, h);
}

void CheckScreens() {
    if (ScreenState > BoardEntryScreen) Broken("screen state", int(ScreenState), 0);
    if (NameCursor < 1 || NameCursor > 8) Broken("name cursor", NameCursor, 0);
    if (GameOverPhase != PhaseFall && (NewPlace < 1 || NewPlace > 5)) Broken("new place", NewPlace, GameOverPhase);
    if (MissionNumber < 1 || MissionNumber > MissionCount) Broken("mission number", MissionNumber, 0);
}

void ZeroRecords() {
    std::memset(RecordTable, 0, sizeof RecordTable);
    std::memset(ClearedFlags, 0, sizeof ClearedFlags);
    ClearedCount = 0;
}

// Decoding any bytes and encoding again gives back the bytes that were
// there, but for the cleared count, which is the number of flags set.
void CheckRecordsRoundTrip(const uint8_t* bytes, size_t size) {
    ZeroRecords();
    DecodeRecords(bytes, int(size));
    uint8_t image[RecordsFileSize];
    EncodeRecords(image);
    size_t n = size < ClearedCountOffset ? size : ClearedCountOffset;
    if (std::memcmp(image, bytes, n) != 0) Broken("records round trip", int(size), 0);
    for (size_t i = n; i < ClearedCountOffset; ++i)
        if (image[i] != 0) Broken("records beyond the file", int(size), int(i));
    int set = 0;
    for (int i = 0; i < ClearedFlagCount; ++i) set += image[ClearedFlagsOffset + i] != 0;
    if (image[ClearedCountOffset] != set) Broken("cleared count", image[ClearedCountOffset], set);
    ZeroRecords();
}

void Choose(uint8_t start) {
    int screen = start & 7;
    MissionNumber = uint8_t(1 + (start >> 3) % MissionCount);
    if (screen >= 1 && screen <= 4) {
        TitleCursor = screen - 1;
        Headless.keys = KeyBit(KeyZ);
    } else if (screen >= 5) {
        ScreenState = MissionSelectScreen;
        MissionCursor = screen == 5 ? 0 : 1;
        if (screen == 6) Headless.picks.push_back(JoinPath(StartDirectory, "picked.msn"));
        Headless.keys = KeyBit(KeyZ);
    }
    if (!Headless.keys.Empty()) FuzzFrame(FuzzFrameCount++);
}

void Frame() {
    FuzzFrame(FuzzFrameCount++);
    CheckBoard();
    CheckScreens();
}

// Runs one command; returns the frames it ran.
int Command(uint8_t a, uint8_t b, int framesLeft) {
    if (b == QuitCommand) {
        Headless.keys = KeyBit(KeyEscape);
        Frame();
        return 1;
    }
    if (b >= 0xC0) {
        Headless.joyPresent = false;
        return 0;
    }
    if (b >= 0x80) {
        Headless.joyPresent = true;
        Headless.joyX = Axis[a & 3];
        Headless.joyY = Axis[(a >> 2) & 3];
        Headless.joyButtons = uint32_t(a >> 4) | uint32_t(b & 0x3F) << 4;
        return 0;
    }
    // Escape held would end most inputs at once: it has a command of its own.
    // Bit i holds the key i of the list (the corpus reads as it did when keys were bits).
    static const Key CommandKeys[] = {KeyZ, KeyX, KeyA, KeyC, KeyD, KeyG, KeyEnter, KeyEscape,
                                      KeyLeft, KeyRight, KeyUp, KeyDown};
    const uint32_t bits = uint32_t(a) | uint32_t(b & 0x0F) << 8;
    Headless.keys = {};
    for (int i = 0; i < 12; ++i)
        if (((bits >> i) & 1u) != 0 && CommandKeys[i] != KeyEscape) Headless.keys.Add(CommandKeys[i]);
    int frames = HoldFrames[(b >> 4) & 7];
    if (frames > framesLeft) frames = framesLeft;
    for (int f = 0; f < frames && !QuitFlag; ++f) Frame();
    return frames;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 5) return 0;
    EnterScratchFolder("game");
    std::filesystem::create_directories("mission");
    size_t recordsSize = data[2];
    size_t missionSize = (size_t(data[3]) | size_t(data[4]) << 8) % MissionLengthLimit;
    const uint8_t* p = data + 5;
    const uint8_t* end = data + size;
    auto take = [&](size_t n) {
        const uint8_t* at = p;
        p += n < size_t(end - p) ? n : size_t(end - p);
        return std::pair{at, size_t(p - at)};
    };
    std::filesystem::remove("rcd.dat");
    std::vector<uint8_t> records;
    if (recordsSize != NoRecordsFile) {
        auto [bytes, n] = take(recordsSize);
        records.assign(bytes, bytes + n);
        WriteScratchFile("rcd.dat", bytes, n);
        CheckRecordsRoundTrip(bytes, n);
    }
    auto [mission, m] = take(missionSize);
    uint8_t number = uint8_t(1 + (data[1] >> 3) % MissionCount);
    // The chosen mission, the one that follows it after a clear, and the pick.
    for (int n : {int(number), int(number % MissionCount) + 1}) {
        char name[32];
        std::snprintf(name, sizeof name, "mission/%02d.msn", n);
        WriteScratchFile(name, mission, m);
    }
    WriteScratchFile("picked.msn", mission, m);

    StartFuzzProgram(data[0]);
    Choose(data[1]);
    int frames = 0;
    while (end - p >= 2 && frames < MaxFrames && !QuitFlag) {
        frames += Command(p[0], p[1], MaxFrames - frames);
        p += 2;
    }
    EndProgram();

    // A records file the game wrote is whole, and a longer one (a newer
    // version's) keeps its bytes beyond ours; one it did not write is as it was.
    bool written = false;
    for (const std::string& f : FilesWritten) written |= f.ends_with("/rcd.dat");
    std::vector<uint8_t> after;
    ReadFileBytes("rcd.dat", after, 1024);
    const size_t whole = records.size() > size_t(RecordsFileSize) ? records.size() : size_t(RecordsFileSize);
    if (written && after.size() != whole) Broken("records file size", int(after.size()), int(whole));
    if (written && whole > size_t(RecordsFileSize) &&
        !std::equal(records.begin() + RecordsFileSize, records.end(), after.begin() + RecordsFileSize))
        Broken("records file's newer bytes changed", int(after.size()), 0);
    if (!written && recordsSize != NoRecordsFile && after != records) Broken("records file changed", int(after.size()), 0);
    return 0;
}
