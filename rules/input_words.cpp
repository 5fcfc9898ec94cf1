#include "rules/input_words.h"

constinit uint32_t KeyHeld, KeyPressed, JoyHeld, JoyPressed;
constinit uint8_t LeftHeld, LeftPressed, RightHeld, RightPressed, DownHeld, DownPressed, UpHeld, UpPressed;
constinit uint8_t Button1Pressed, Button2Pressed, Button3Pressed;
constinit int32_t NewestKey = -1;
constinit uint32_t PadKeyHeld, PadKeyPressed, PadButtonsHeld;
constinit int32_t NewestPadButton = -1;
