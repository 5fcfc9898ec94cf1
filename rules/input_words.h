// The input of this frame as words and flags: sampled by the shell once a
// frame, read by the rules and the screens.
#pragma once
#include <cstdint>

// Bits of the input words.
inline constexpr uint32_t BitButton1 = 0x1, BitButton2 = 0x2, BitButton3 = 0x4;
inline constexpr uint32_t BitC = 0x8, BitD = 0x10, BitG = 0x20, BitL = 0x40, BitF1 = 0x80;
// Backspace and the pad's Back: undo in a mission.
inline constexpr uint32_t BitUndo = 0x100;
inline constexpr uint32_t BitF2 = 0x200, BitM = 0x400;
inline constexpr uint32_t BitEnter = 0x4000, BitEscape = 0x8000;
inline constexpr uint32_t BitRight = 0x10000, BitDown = 0x20000, BitLeft = 0x40000, BitUp = 0x80000;

extern uint32_t KeyHeld, KeyPressed, JoyHeld, JoyPressed;
extern uint8_t LeftHeld, LeftPressed, RightHeld, RightPressed, DownHeld, DownPressed, UpHeld, UpPressed;
extern uint8_t Button1Pressed, Button2Pressed, Button3Pressed;
// The first key (by scancode) newly pressed this frame, -1 for none: the key
// the options screen binds.
extern int32_t NewestKey;
// A pad's actions beyond play (pause, options, help...) as the bits of their
// keys: the keyboard's word holds them too, these tell the pad's own (the
// EDIT GAME chosen with the pad). The pad's buttons held, as the pad numbers
// them (so a change of layout does not make a held one new), and the first
// one newly pressed this frame as the bindings number it (-1: none), which
// the options screen binds.
extern uint32_t PadKeyHeld, PadKeyPressed, PadButtonsHeld;
extern int32_t NewestPadButton;

inline bool UndoPressed() { return ((KeyPressed | JoyPressed) & BitUndo) != 0; }

// This module's variables in the program state list (shell/program_state.h).
#define INPUT_STATE(X) X(KeyHeld) X(KeyPressed) X(JoyHeld) X(JoyPressed) X(LeftHeld) X(LeftPressed) X(RightHeld) \
    X(RightPressed) X(DownHeld) X(DownPressed) X(UpHeld) X(UpPressed) X(Button1Pressed) X(Button2Pressed) \
    X(Button3Pressed) X(NewestKey) X(PadKeyHeld) X(PadKeyPressed) X(PadButtonsHeld) X(NewestPadButton)
