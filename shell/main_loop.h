// The game's frame loop: 25 ms period, global keys, frame-rate count.
#pragma once
#include <cstdint>

#include "shell/screen_state.h"

inline constexpr uint32_t FramePeriodMs = 25;

extern uint8_t PauseFlag;
extern uint8_t QuitFlag;
extern uint32_t FpsValue, FrameCounter, FpsWindowStart;
extern bool FpsWindowStarted;
extern uint8_t ColourMode, GridMode;

void PumpMessages(uint32_t waitMs);
void CountFrame(uint32_t* fpsOut);

void CallScreenHandler();  // the handler of ScreenState (pause screen while paused in play)
void RunFrame();           // one whole frame of the loop

// The program: start-up, new game, title state; frames until quit; shutdown.
void StartProgram();
void EndProgram();
int RunMainLoop();

// This module's variables in the program state list (shell/program_state.h).
#define MAIN_LOOP_STATE(X) X(ScreenState) X(PauseFlag) X(QuitFlag) X(FpsValue) X(FrameCounter) X(FpsWindowStart) \
    X(FpsWindowStarted) X(ColourMode) X(GridMode)
