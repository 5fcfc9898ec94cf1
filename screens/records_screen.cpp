#include "screens/records_screen.h"

#include <cstring>

#include "draw/text.h"
#include "rules/fish.h"
#include "screens/records.h"
#include "screens/screens.h"
#include "shell/input.h"
#include "shell/main_loop.h"
#include "shell/platform.h"
#include "shell/startup.h"

void DrawRightAlignedText(const char* text, int right, int y) {
    DrawGlyphText(text, right - 16 * int(std::strlen(text)), y);
}

void RecordsFrame() {
    UpdateFish();
    if (Button1Pressed || Button2Pressed) ScreenState = TitleScreen;  // silently; this frame still draws
    DrawMenuBackground();
    for (int i = 1; i <= 5; ++i) {
        char name[ShownNameSize];
        CopyShownName(RecordTable[i], name);
        int y = 48 * i + 80;
        DrawGlyphText(FormatText("%d. %s", i, name[0] ? name : "-"), 40, y);
        DrawRightAlignedText(FormatText("%u", RecordTable[i].score), 344, y);
    }
    PlatformPresent(BackBuffer);
}
