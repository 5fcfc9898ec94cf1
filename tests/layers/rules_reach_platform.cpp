// Compiled with the rules' include folders: the settings below them are
// found, the platform's doors are not (the rules reach the world only
// through the shell's calls out).
#include "settings/language.h"
#include "platform/platform_os.h"
