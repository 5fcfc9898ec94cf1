// Input scripts: the headless runner's input, the replay of the game, and
// the scripts the solver and the simple player write.
// One command a line, '#' starts a comment (except in a pick line, whose
// path is the rest of the line):
//   N KEY...          hold these keys for N frames (no key: nothing held); a key
//                     by SDL's scancode name, '_' for a blank in it ("Left_Shift"),
//                     or "Enter" for Return
//   joy X Y BUTTONS   joystick 1 from the next frame on; "joy none" unplugs it
//   pad BUTTON...     joystick 1 a pad from the next frame on, its stick at rest,
//                     these buttons held by SDL's names ("a", "start", "dpleft");
//                     "pad" alone holds none
//   pick PATH         the answer of the next open-file dialog ("pick cancel")
#pragma once
#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

#include "platform/platform.h"

// One step a line, lines holding the same keys one after the other joined:
// twelve bytes a step, the keys held, the joystick's values and the picked
// paths aside.
struct ScriptStep {
    enum Kind : uint8_t { Hold, Joy, JoyNone, Pick, OwedPause } kind = Hold;  // OwedPause: replay files only
    uint32_t frames = 0;  // Hold: how many frames; Joy, Pick: its index in joys or picks
    uint32_t keys = 0;    // Hold: its index in keySets
};
struct ScriptJoy {
    uint32_t x = 0, y = 0, buttons = 0;
    bool pad = false;  // buttons by PadButton
};
struct InputScript {
    std::vector<ScriptStep> steps;
    std::vector<ScriptJoy> joys;
    std::vector<std::string> picks;  // empty: cancel
    std::vector<KeySet> keySets;     // every set of keys held, once
};
// A script is read from at most MaxScriptBytes and holds at most
// MaxScriptSteps steps once joined (over a day of play at 40 frames a second).
inline constexpr size_t MaxScriptBytes = size_t(64) << 20;
inline constexpr size_t MaxScriptSteps = size_t(1) << 22;

// The keys that scripts written by the tools hold, as bits of a word: the
// word's bit of `key`, 0 for a key outside these.
inline constexpr Key WordKeys[] = {KeyLeft, KeyRight, KeyUp, KeyDown, KeyZ, KeyX, KeyA,
                                   KeyC, KeyD, KeyG, KeyL, KeyF1, KeyEnter, KeyEscape};
constexpr uint32_t WordBit(Key key) {
    for (size_t i = 0; i < std::size(WordKeys); ++i)
        if (WordKeys[i] == key) return 1u << i;
    return 0;
}

// The keys of a word.
constexpr KeySet KeysOfWord(uint32_t word) {
    KeySet keys;
    for (size_t i = 0; i < std::size(WordKeys); ++i)
        if ((word >> i) & 1u) keys.Add(WordKeys[i]);
    return keys;
}

// Frames with the same keys held (a word of WordBit).
struct HeldKeys {
    int frames;
    uint32_t keys;
};

// " Left Z" style names of the keys in a word, each after a blank.
std::string KeyNames(uint32_t keys);
// Script lines for held keys, runs of equal keys joined.
std::string ScriptLines(const std::vector<HeldKeys>& steps);

// Reads the script at `path`. On a bad line (or an unreadable file, or one
// past the bounds) returns false with "PATH:LINE: what was expected" in
// `error`.
bool ReadInputScript(const std::string& path, InputScript& script, std::string* error);

// The input a script gives for one frame.
struct ScriptedInput {
    KeySet keys;
    bool joyPresent = false;
    bool joyPad = false;
    uint32_t joyX = 32767, joyY = 32767, joyButtons = 0;
    std::vector<std::string> picks;  // answers not yet taken by a dialog
    bool owedPause = false;          // a focus loss's pause, this frame (replay files)
};

// Walks a script frame by frame: applies joystick and pick lines up to the
// next held frame. False when the script is used up (then nothing is held).
class ScriptPlayer {
public:
    explicit ScriptPlayer(InputScript script) : script_(std::move(script)) {}
    bool NextFrame(ScriptedInput& input);

private:
    InputScript script_;
    size_t index_ = 0;
    uint32_t framesDone_ = 0;  // of the hold at index_
};
