// The game's frame loop: 25 ms period, global keys, frame-rate count.
#pragma once
#include <cstdint>

#include "rules/screen_state.h"

inline constexpr uint32_t FramePeriodMs = 25;

extern uint32_t FrameCounter, FpsWindowStart;
extern bool FpsWindowStarted;

void CountFrame(uint32_t* fpsOut);

void CallScreenHandler();  // the handler of ScreenState (pause screen while paused in play)
void RunFrame();           // one whole frame of the loop

// The program: start-up, new game, title state before the first frame; the
// records kept and everything closed after the last.
void StartProgram();
void EndProgram();

// This module's variables in the program state list (shell/program_state.h).
#define MAIN_LOOP_STATE(X) X(FrameCounter) X(FpsWindowStart) X(FpsWindowStarted)
