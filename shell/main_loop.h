// The game's frame loop: 25 ms period, global keys, frame-rate count.
#pragma once
#include <cstdint>

#include "rules/screen_state.h"
#include "shell/message_pump.h"

inline constexpr uint32_t FramePeriodMs = 25;
// A frame late by more than this many periods (a stall, a dialog) starts the
// schedule afresh instead of running the frames it owes back to back.
inline constexpr uint32_t MaxLateFrames = 4;
// While the window is minimised the loop looks this often whether
// it is back (it wakes at once for any window event).
inline constexpr uint32_t HiddenWakeMs = 250;
// How long the help pages, which change only with a key, rest at a time.
inline constexpr uint32_t HelpRestFrames = 40;

extern uint32_t FrameCounter, FpsWindowStart;
extern bool FpsWindowStarted;
extern uint32_t FrameDeadline;  // the clock value at which the current frame ends
extern bool FrameDeadlineSet;

void CountFrame(uint32_t* fpsOut);

void CallScreenHandler();  // the handler of ScreenState (pause screen while paused in play)
void RunFrame();           // one whole frame of the loop (and the rest after it, if any)

// Frames after the current one that would draw the same picture with no key
// pressed: the pause between blinks, the help pages; 0 elsewhere.
uint32_t StillFrames();

// The program: start-up, new game, title state before the first frame; the
// records kept and everything closed after the last.
void StartProgram();
void EndProgram();

// This module's variables in the program state list (shell/program_state.h).
#define MAIN_LOOP_STATE(X) X(FrameCounter) X(FpsWindowStart) X(FpsWindowStarted) X(FrameDeadline) X(FrameDeadlineSet)
