// The fuzzer's headless platform: a frame that draws no pixels is not
// copied out either.
#define PlatformPresent DrawnPlatformPresent
#include "platform/platform_headless.cpp"
#undef PlatformPresent

#include "tests/fuzz/fuzz_support.h"

void PlatformPresent(const Picture& picture) {
    if (FuzzDrawPixels) DrawnPlatformPresent(picture);
}
