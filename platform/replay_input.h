// The real program's replay (tessmar --replay SCRIPT): while active, the
// platform takes keys, joystick and dialog answers from here instead of the
// devices. Defined with the SDL platform.
#pragma once
#include "platform/input_script.h"

extern bool ReplayActive;
extern bool ReplayUsedUp;  // every step of the script played: nothing held from now on
extern ScriptedInput ReplayInput;
