// One short line at the bottom of the screen for a few seconds, telling the
// player that something read or written on disk failed. Every screen draws it.
#pragma once
#include <cstdint>

enum NoticeValue : uint8_t {
    NoNotice, NoticeRecordsNotSaved, NoticeCannotReadMission, NoticeNoDailyForDay, NoticeDailyNotMade, NoticeReplaysNotKept
};

inline constexpr int32_t NoticeShownFrames = 120;  // 3 seconds
inline constexpr int NoticeY = 456;

extern uint8_t Notice;        // the line shown, a NoticeValue
extern int32_t NoticeFrames;  // frames left to show it

// This module's variables in the program state list (shell/program_state.h).
#define NOTICE_STATE(X) X(Notice) X(NoticeFrames)

void ShowNotice(NoticeValue notice);
const char* NoticeText(uint8_t notice);  // "RECORDS NOT SAVED", ...
void DrawNotice();  // centred on the back buffer while frames are left; counts one down
bool NoticeShowing();  // frames are left to show it
