#include "rules/screen_state.h"

constinit ScreenStateValue ScreenState = TitleScreen;
constinit uint8_t PauseFlag;
