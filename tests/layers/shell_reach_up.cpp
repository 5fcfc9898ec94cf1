// Compiled with the shell's include folders: the screens below it are found,
// the solver's layer above it (which makes the day's mission) is not.
#include "screens/daily.h"
#include "tools/solver/daily_mission.h"
