// Input scripts: the headless runner's input, the replay of the game, and
// the scripts the solver and the simple player write.
// One command a line, '#' starts a comment (except in a pick line, whose
// path is the rest of the line):
//   N KEY...          hold these keys for N frames (no key: nothing held)
//   joy X Y BUTTONS   joystick 1 from the next frame on; "joy none" unplugs it
//   pick PATH         the answer of the next open-file dialog ("pick cancel")
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct ScriptStep {
    enum Kind { Hold, Joy, JoyNone, Pick } kind = Hold;
    long long frames = 0;
    uint32_t keys = 0;  // bit (1 << Key) per held key
    uint32_t x = 0, y = 0, buttons = 0;
    std::string path;   // empty: cancel
};

// Frames with the same keys held.
struct HeldKeys {
    int frames;
    uint32_t keys;
};

// " Left Z" style names of the keys in a bit set, each after a blank.
std::string KeyNames(uint32_t keys);
// Script lines for held keys, runs of equal keys joined.
std::string ScriptLines(const std::vector<HeldKeys>& steps);

// Reads the script at `path`. On a bad line (or an unreadable file) returns
// false with "PATH:LINE: what was expected" in `error`.
bool ReadInputScript(const std::string& path, std::vector<ScriptStep>& steps, std::string* error);

// The input a script gives for one frame.
struct ScriptedInput {
    uint32_t keys = 0;
    bool joyPresent = false;
    uint32_t joyX = 32767, joyY = 32767, joyButtons = 0;
    std::vector<std::string> picks;  // answers not yet taken by a dialog
};

// Walks a script frame by frame: applies joystick and pick lines up to the
// next held frame. False when the script is used up (then nothing is held).
class ScriptPlayer {
public:
    explicit ScriptPlayer(std::vector<ScriptStep> steps) : steps_(std::move(steps)) {}
    bool NextFrame(ScriptedInput& input);

private:
    std::vector<ScriptStep> steps_;
    size_t index_ = 0;
    long long framesDone_ = 0;  // of the hold at index_
};
