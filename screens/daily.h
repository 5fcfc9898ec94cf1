// The day's mission, on the mission select's DAILY line: today or one of
// the six days before, made by the solver the first time (the file of the
// day is kept in the data folder's daily/, and a copy goes to missions/ for
// the editor), played as a mission file is, and its result kept per day in
// daily/days.txt: cleared or not, with the undos and retries it took.
#pragma once
#include <cstdint>
#include <string>

#include "mission/mission_file.h"
#include "platform/platform_os.h"

inline constexpr int DailyDaysBack = 6;  // the DAILY line reaches six days before today
inline constexpr int DailyLineY = 428;   // below "EDIT GAME", 64 lower as the items are

enum DailyStageValue : uint8_t { DailyNone, DailyPlaying, DailyCleared };

extern uint8_t DailyBack;     // days before today on the DAILY line, 0..DailyDaysBack
extern uint8_t DailyStage;    // a DailyStageValue: the game is a day's mission, or it was just cleared
extern CalendarDay DailyDay;  // the day being played
extern uint8_t DailyStreak;   // days cleared in a row through it, when just cleared

// The day the DAILY line shows: PlatformToday() less DailyBack days.
CalendarDay DailyChosenDay();
// The DAILY line: the item, and the day between arrows that show which way
// it can still move while `pointed` (blinking as the mission number does);
// while the mission is being made, dots for the boards tried instead.
void DrawDailyLine(bool pointed, bool arrowsShown);
void DrawDailyProgress(int boards);
bool DailyCanGoBack();
bool DailyCanGoForward();

// Confirm on DAILY: the chosen day's mission loaded (from its kept file, or
// made and kept) and the game set to start; false with a notice when there
// is none for that day.
bool StartDailyMission();

// The end of a day's game: its result into the days file; a clear also puts
// the result line on the clipboard and shows it on the clear screen.
void DailyGameCleared();
void DailyGameLost();
// The clear screen's lines while the result is shown, then its end.
void DrawDailyResult();
void DailyResultDone();

// The result line: "TESSMAR DAILY 2026-12-09 CLEARED 6 PAIRS 0 UNDO", with
// " 1 RETRY" (the count) after it when the mission was retried.
std::string DailyResultLine(const CalendarDay& day, int pairs, int undos, int retries);

// The folders and files, under the records folder.
std::string DailyFolder();
std::string DailyKeptPath(const CalendarDay& day);     // daily/YYYY-MM-DD.msn
std::string DailyMissionsPath(const CalendarDay& day); // missions/daily-YYYY-MM-DD.msn
std::string DaysFilePath();                            // daily/days.txt

// A kept day's file: the mission's 294 bytes, then a line naming the day
// and the bytes' checksum, so that a damaged file is made again.
std::vector<uint8_t> KeptDailyFile(const CalendarDay& day, const MissionBytes& bytes);
bool ReadKeptDailyFile(const std::vector<uint8_t>& file, const CalendarDay& day, MissionBytes& bytes);

// The days file: one line a day, "YYYY-MM-DD CLEARED|TRIED UNDOS RETRIES",
// oldest first, at most DaysKept lines; lines that do not read so are
// skipped.
inline constexpr int DaysKept = 400;
inline constexpr size_t DaysFileLimit = 64 * 1024;
struct DayResult {
    CalendarDay day;
    bool cleared;
    int undos, retries;
};
std::vector<DayResult> ReadDays(const std::vector<uint8_t>& file);
std::vector<uint8_t> WriteDays(std::vector<DayResult> days);
// A result added to those kept: a clear takes the place of a day not
// cleared, or of a clear with more undos and retries; a day not cleared
// never replaces a clear.
void AddDayResult(std::vector<DayResult>& days, const DayResult& result);
// Days cleared one after the other through `day`.
int StreakThrough(const std::vector<DayResult>& days, const CalendarDay& day);

// This module's variables in the program state list (shell/program_state.h).
#define DAILY_STATE(X) X(DailyBack) X(DailyStage) X(DailyDay) X(DailyStreak)
