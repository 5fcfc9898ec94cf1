// Controls of the headless platform: virtual clock, scripted input and the
// record of what the game sent out (sounds, tune commands, frames shown).
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"

struct HeadlessWorld {
    uint32_t clock = 0;            // virtual milliseconds
    KeySet keys;                   // the keys held
    bool joyPresent = false;
    bool joyPad = false;           // a mapped pad: joyButtons by PadButton
    uint32_t joyX = 32767, joyY = 32767, joyButtons = 0;
    std::vector<PlatformEvent> pendingEvents;  // window events waiting to be taken, first first
    uint32_t eventAt = 0;          // one more comes when the clock reaches this (0: none)
    bool quitPosted = false;
    bool windowClosed = false;
    bool mayRest = false;          // a runner that lets the loop rest (tests of the rest)
    uint32_t hiddenUntil = 0;      // the window is minimised until the clock reaches this
    std::vector<std::string> picks;  // answers of the next open-file dialogs ("" = cancel)
    std::optional<DialogLanguage> dialogLanguage;  // the language the last dialog was asked in
    std::optional<CalendarDay> today;  // the date given; the system's when unset
    std::string clipboard;             // the text last put on the clipboard

    // Record.
    std::vector<std::string> sounds;  // names of sound images started
    // tune commands: open, play, stop, close; "second NAME" (a second
    // arrangement opened, its file's name) and "use first|second LINE_MS"
    std::vector<std::string> music;
    int eventsTaken = 0;
    int waits = 0;                 // waits for an event that ran out of time
    int presents = 0;
    std::vector<uint32_t> lastPresented;  // the pixels of the last picture shown
    int lastPresentedWidth = 0, lastPresentedHeight = 0;
    WindowRequest windowOpened;    // what the last window was opened as (its title and icon not kept)
    WindowLayout windowLayout;     // how the player has left the window
    uint32_t presentCostMs = 0;    // virtual time a present takes (a slow frame)
    double tuneVolume = 1, soundVolume = 1;  // as last set

    // Tune model: opened when the file exists; once played it runs for
    // tuneLengthMs of virtual time (0 = never ends).
    bool tuneOpen = false;
    bool tunePlaying = false;
    uint32_t tuneStartedAt = 0;
    uint32_t tuneLengthMs = 0;
};

extern HeadlessWorld Headless;

void HeadlessReset();
