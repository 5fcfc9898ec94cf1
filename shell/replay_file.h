// Replay files (*.tsr): a game as the game sampled it, frame by frame, and
// what the player brought into it, so that setting the game up again and
// feeding the frames back through the same input path plays the same game.
// Nothing of the game's own state is stored: a replay cannot claim a score,
// only hold the input that makes it.
//
// Little-endian throughout:
//   "TSRP", u16 format version, u16 header size (bytes up to the mission)
//   16 bytes game version (zero-padded), u32 seed the program started with
//   u8 mode, u8 mission number, u16 mission bytes (0 or 294)
//   u16 year, u8 month, u8 day: the date the D key writes
//   u16 key of each action, u8 pad button of each action, u8 Nintendo layout
//   the start: the random generator before the set-up drew from it (31 u32,
//     u8 front, u8 rear), u8 next rope-network label, u8 colours, u8 grid,
//     u8 daily, u16 year, u8 month, u8 day of the daily mission, each fish
//     (f32 x, f32 y, i32 phase, i32 dir, u8 state), the records file's bytes,
//     u8 the game's first screen (its board entry, or the first pair's),
//     u8 the brisk fall chosen
//   what the frame before the game sampled (a run's changes, all of them)
//   the mission file's bytes, u32 frames
//   runs: varint frames (1..MaxReplayRun), u8 what changed, then the changes
//     (keys: u8 count, u16 each; joystick: u8 present|pad<<1, u16 x, u16 y,
//     u32 buttons; pick: varint length, bytes), the owed pause a bit of its own
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/platform_os.h"
#include "rules/fish.h"
#include "rules/game_random.h"
#include "rules/screen_state.h"
#include "screens/records_file.h"
#include "shell/input_script.h"

inline constexpr uint16_t ReplayFormatVersion = 2;
inline constexpr size_t ReplayMissionSize = 294;
inline constexpr uint32_t MaxReplayRun = 4096;           // frames a run holds at most
inline constexpr uint32_t MaxReplayFrames = 40 * 86400;  // a day at 40 frames a second
inline constexpr size_t MaxReplayBytes = size_t(16) << 20;
inline constexpr int ReplayActionCount = 16;             // key and pad bindings kept

// What the game sampled in one frame.
struct ReplaySample {
    KeySet keys;
    bool joyPresent = false, joyPad = false, owedPause = false;
    uint32_t joyX = 32767, joyY = 32767, joyButtons = 0;
    bool operator==(const ReplaySample&) const = default;
};

// How the game stood when it was set up, as far as the player brought it
// there: the generator where the menus left it, the fish swimming across
// the title, the display toggles, the records (which decide the name
// entry), a daily mission's day and the keys held. Any such values are a
// game some player could have started.
struct ReplayStart {
    RandomGenerator random{};
    uint8_t nextGroupId = 1, colourMode = 0, gridMode = 0;
    bool daily = false;
    CalendarDay dailyDay{};
    Fish fish[FishCount]{};
    uint8_t records[RecordsFileSize]{};
    uint8_t firstScreen = BoardEntryScreen;  // a ScreenStateValue: the board entry, or the first pair (the runner's start)
    bool briskFall = false;
    ReplaySample before;
    bool operator==(const ReplayStart&) const;
};

struct ReplayRun {
    uint32_t frames = 0;
    uint32_t sample = 0;  // index in samples
    int32_t pick = -1;    // index in picks: the dialog's answer in the run's first frame
};

struct Replay {
    uint16_t format = ReplayFormatVersion;
    std::string gameVersion;
    uint32_t seed = 0;
    uint8_t mode = 0, missionNumber = 0;
    std::vector<uint8_t> mission;  // a mission's 294 bytes, empty in score attack
    CalendarDay day{};
    uint16_t keyBinding[ReplayActionCount] = {};
    uint8_t padBinding[ReplayActionCount] = {};
    uint8_t padNintendo = 0;
    ReplayStart start;
    uint32_t frames = 0;
    std::vector<ReplayRun> runs;
    std::vector<ReplaySample> samples;  // each distinct sample once
    std::vector<std::string> picks;
};

std::vector<uint8_t> EncodeReplay(const Replay& replay);
// False with one line in `error` on anything but a whole, sound replay of
// this format; `wrongFormat` set when it is a replay of another version.
bool DecodeReplay(const uint8_t* bytes, size_t size, Replay& out, std::string& error, bool* wrongFormat = nullptr);
// Reads and decodes `path` (a folder, a FIFO or a device is refused unread).
bool ReadReplayFile(const std::string& path, Replay& out, std::string& error, bool* wrongFormat = nullptr);
bool LooksLikeReplay(const std::string& path);

// The frames as a script the replay player walks.
InputScript ReplayScript(const Replay& replay);
