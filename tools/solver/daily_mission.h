// The day's mission: a fixed-pair mission made from a calendar date with the
// game's random sequence (a generator of its own), and proven by the solver
// before it is handed out. The same date gives the same bytes everywhere.
#pragma once
#include <functional>
#include <string>

#include "mission/mission_file.h"
#include "platform/calendar.h"
#include "tools/solver/solver.h"

struct CalendarDate {
    int year = 0, month = 0, day = 0;
};

inline constexpr int DailyFirstYear = CalendarFirstYear, DailyLastYear = CalendarLastYear;
// The positions the proof of one board may search.
inline constexpr uint64_t DailyProofBudget = 40000;

// True for a day the calendar has, from 1970-01-01 to 2100-12-31.
bool DailyDateValid(const CalendarDate& date);
// Reads YYYY-MM-DD (exactly that shape); false for anything else.
bool ParseDailyDate(const std::string& text, CalendarDate& date);
std::string DailyDateText(const CalendarDate& date);
// 0 Monday .. 6 Sunday.
int DailyWeekday(const CalendarDate& date);

struct DailyMission {
    MissionImage image;
    std::string source;   // the mission as a mission source text
    SolveResult proof;    // the solver's answer for it
    int candidates = 0;   // boards drawn until one passed
    bool stopped = false; // goOn said stop: no mission
};

// The day's mission of a valid date. proof.clearable is false only when no
// board drawn passed (none of 1970-2100 does so) or `goOn`, asked after
// each board drawn, said stop. It runs the solver, which plays on the game's
// own state: a caller in the middle of a game saves and restores it.
DailyMission MakeDailyMission(const CalendarDate& date, const std::function<bool()>& goOn = {});

// The game's door to it (shell/daily_maker.h): the day's bytes, false when
// there is no mission.
bool MakeDailyMissionBytes(const CalendarDay& day, MissionBytes& bytes, const std::function<bool()>& goOn);
