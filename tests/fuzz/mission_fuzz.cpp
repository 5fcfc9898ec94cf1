// Fuzz target: arbitrary bytes as a mission file, then frames of arbitrary
// input through the game's loop (rules, screens and renderer), checking that
// the walls and floor stay whole and every kind stays one the tables know.
//
// Input: up to 294 bytes of mission file; then one byte choosing the game
// (mode and mission number) and one byte per frame of held keys.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "mission/mission_file.h"
#include "mission/mission_goal.h"
#include "mission/mission_loader.h"
#include "rules/board.h"
#include "rules/queue.h"
#include "shell/main_loop.h"
#include "shell/platform.h"
#include "shell/platform_headless.h"
#include "shell/program_state.h"
#include "shell/startup.h"

namespace {
constexpr int MaxFrames = 400;
constexpr int IdleFrames = 200;  // when the input holds no keys at all
constexpr int GameOverFrames = 40;
const Key FrameKeys[8] = {KeyLeft, KeyRight, KeyUp, KeyDown, KeyZ, KeyX, KeyA, KeyEnter};

// A folder of our own for rcd.dat and whatever the game writes, removed at exit.
char ScratchFolder[] = "/tmp/tessmar-fuzz-XXXXXX";

void EnterScratchFolder() {
    static bool entered = false;
    if (entered) return;
    if (mkdtemp(ScratchFolder) == nullptr || chdir(ScratchFolder) != 0) std::abort();
    std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(ScratchFolder, ignored);
    });
    entered = true;
}

uint32_t KeysOf(uint8_t byte) {
    uint32_t keys = 0;
    for (int i = 0; i < 8; ++i)
        if (byte & (1u << i)) keys |= 1u << FrameKeys[i];
    return keys;
}

[[noreturn]] void Broken(const char* what, int a, int b) {
    std::fprintf(stderr, "broken: %s (%d, %d) in ScreenState %u\n", what, a, b, unsigned(ScreenState));
    std::abort();
}

// Every kind the tables know, in the board and the queue.
void CheckRanges() {
    for (int c = -1; c <= 8; ++c)
        for (int r = -2; r <= 12; ++r)
            if (GetKind(c, r) >= KindCount) Broken("kind", c, r);
    for (int p = 0; p < QueuePairs; ++p)
        for (int h = 0; h < 2; ++h)
            if (ComingQueue.kind[p][h] >= KindCount) Broken("queue kind", p, h);
}

// Walls and floor whole: true after loading and through all of play.
void CheckWalls() {
    for (int r = -2; r <= 12; ++r) {
        if (GetKind(-1, r) != Wall) Broken("left wall", -1, r);
        if (GetKind(8, r) != Wall) Broken("right wall", 8, r);
    }
    for (int c = 0; c <= 8; ++c)
        if (GetKind(c, 12) != Wall) Broken("floor", c, 12);
    CheckRanges();
}

// What the loader promises besides: nothing above the well.
void CheckLoadedBoard() {
    CheckWalls();
    for (int c = 0; c <= 7; ++c)
        if (GetKind(c, -2) != Empty) Broken("row -2", c, -2);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    EnterScratchFolder();
    ResetProgramState();
    HeadlessReset();
    FixedSeed = size > 0 ? data[0] : 0;
    StartProgram();

    size_t missionSize = size < MissionFileSize ? size : MissionFileSize;
    LoadMissionBytes(data, missionSize);
    const uint8_t* rest = data + missionSize;
    size_t restSize = size - missionSize;
    uint8_t choice = restSize > 0 ? rest[0] : 0;
    GameMode = (choice & 0x80) ? EditGame : NormalGame;
    MissionNumber = uint8_t(1 + (choice & 0x7F) % 30);
    ScreenState = NextPair;
    CheckLoadedBoard();

    const uint8_t* keys = restSize > 1 ? rest + 1 : nullptr;
    int frames = keys ? int(restSize - 1 < MaxFrames ? restSize - 1 : MaxFrames) : IdleFrames;
    int overFrames = 0;
    for (int f = 0; f < frames && !QuitFlag; ++f) {
        // Once the game is lost, a few frames of game over are enough.
        if (ScreenState == TitleScreen || (ScreenState == GameOverScreen && ++overFrames > GameOverFrames)) break;
        Headless.keys = keys ? KeysOf(keys[f]) : 0;
        Headless.sounds.clear();
        Headless.music.clear();
        RunFrame();
        CheckWalls();
    }
    EndProgram();
    return 0;
}
