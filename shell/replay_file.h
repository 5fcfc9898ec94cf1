// Replay files (*.tsr): a game as the game sampled it, frame by frame, and
// the state it started from, so that feeding the frames back through the
// same input path plays the same game.
//
// Little-endian throughout:
//   "TSRP", u16 format version, u16 header size (bytes up to the mission)
//   16 bytes game version (zero-padded), u32 seed the program started with
//   u8 mode, u8 mission number, u16 mission bytes (0 or 294)
//   u16 year, u8 month, u8 day: the date the D key writes
//   u16 key of each action, u8 pad button of each action, u8 Nintendo layout
//   u32 state bytes, then the program state list's image at the first frame
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
#include "shell/input_script.h"

inline constexpr uint16_t ReplayFormatVersion = 1;
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
    std::vector<uint8_t> mission;  // empty or 294 bytes
    CalendarDay day{};
    uint16_t keyBinding[ReplayActionCount] = {};
    uint8_t padBinding[ReplayActionCount] = {};
    uint8_t padNintendo = 0;
    std::vector<uint8_t> state;
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
