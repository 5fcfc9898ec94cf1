// The keyboard as a window's key events leave it for the game to sample:
// the keys held, and a key tapped between two samples counts as down in the
// next one (twice, in two samples, when it was tapped twice). Shared by the
// desktop's and the browser's doors.
#pragma once
#include <cstring>

#include "platform/platform.h"

struct KeyPresses {
    bool held[KeyCount] = {};
    bool pressedSinceSample[KeyCount] = {};
    bool reportedDown[KeyCount] = {};  // what the last sample said
    bool pressedAgain[KeyCount] = {};  // pressed anew while the last sample said down
    bool pressOwed[KeyCount] = {};     // a second tap, for the sample after next

    static bool Valid(int key) { return key >= 0 && key < KeyCount; }

    void Take(int key, bool down) {
        if (!Valid(key)) return;
        if (down && !held[key]) {
            pressedSinceSample[key] = true;
            if (reportedDown[key]) pressedAgain[key] = true;
        }
        held[key] = down;
    }

    bool Sample(int key) {
        if (!Valid(key)) return false;
        bool down = held[key] || pressedSinceSample[key] || pressOwed[key];
        pressOwed[key] = false;
        if (pressedAgain[key]) down = false, pressOwed[key] = true;
        pressedSinceSample[key] = pressedAgain[key] = false;
        reportedDown[key] = down;
        return down;
    }

    // Focus gone: nothing is held any more, and no tap is owed.
    void Forget() {
        for (bool* a : {held, pressedSinceSample, pressedAgain, pressOwed}) std::memset(a, 0, KeyCount);
    }
};
