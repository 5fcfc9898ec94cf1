// Compiled with the renderer's include folders: the rules below it are found,
// the shell above it is not.
#include "rules/board.h"
#include "shell/startup.h"
