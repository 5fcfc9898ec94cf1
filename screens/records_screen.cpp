#include "screens/records_screen.h"

#include <cstring>

#include "draw/surfaces.h"
#include "draw/text.h"
#include "platform/platform.h"
#include "rules/fish.h"
#include "rules/input_words.h"
#include "rules/screen_state.h"
#include "screens/notice.h"
#include "screens/records_file.h"
#include "screens/screens.h"

void DrawRecordRows(const char* format, int x, int right) {
    for (int i = 1; i <= 5; ++i) {
        char name[ShownNameSize];
        CopyShownName(RecordTable[i], name);
        int y = 48 * i + 80;
        DrawGlyphText(FormatText(format, i, name[0] ? name : "-"), x, y);
        DrawGlyphTextRightAligned(FormatText("%u", RecordTable[i].score), right, y);
    }
}

void RecordsFrame() {
    UpdateFish();
    if (ConfirmPressed() || Button2Pressed) ScreenState = TitleScreen;  // silently; this frame still draws
    DrawMenuBackground();
    DrawRecordRows("%d. %s", 40, 344);
    DrawNotice();
    ShowBackBuffer();
}
