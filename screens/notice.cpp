#include "screens/notice.h"

#include <cstring>

#include "draw/text.h"
#include "rules/screen_layout.h"

constinit uint8_t Notice;
constinit int32_t NoticeFrames;

void ShowNotice(NoticeValue notice) {
    Notice = notice;
    NoticeFrames = NoticeShownFrames;
}

const char* NoticeText(uint8_t notice) {
    switch (notice) {
        case NoticeRecordsNotSaved: return "RECORDS NOT SAVED";
        case NoticeCannotReadMission: return "CANNOT READ MISSION";
        case NoticeNoDailyForDay: return "NO DAILY FOR THIS DAY";
        case NoticeDailyNotMade: return "DAILY NOT MADE";
        case NoticeReplaysNotKept: return "REPLAYS NOT KEPT";
        default: return "";
    }
}

bool NoticeShowing() { return NoticeFrames > 0; }

void DrawNotice() {
    if (NoticeFrames <= 0) return;
    --NoticeFrames;
    const char* text = NoticeText(Notice);
    DrawGlyphText(text, (ScreenWidth - 16 * int(std::strlen(text))) / 2, NoticeY);
}
