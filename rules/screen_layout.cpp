#include "rules/screen_layout.h"

constinit int32_t BoardOriginX, BoardOriginY;
