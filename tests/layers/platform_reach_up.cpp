// Compiled with the platform's include folders: its own headers are found,
// the rules' are not.
#include "platform/platform.h"
#include "rules/screen_state.h"
