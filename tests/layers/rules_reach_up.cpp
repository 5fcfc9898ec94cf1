// Compiled with the rules' include folders: the rules' own headers are found,
// a screen's header is not.
#include "rules/board.h"
#include "screens/notice.h"
