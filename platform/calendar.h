// Days of the calendar: which exist, how they are written, the day before.
#pragma once
#include <string>

#include "platform/platform_os.h"

// The years the game's days reach, 1970-01-01 to 2100-12-31.
inline constexpr int CalendarFirstYear = 1970, CalendarLastYear = 2100;

// True for a day the calendar has within those years.
bool CalendarDayValid(const CalendarDay& day);
// True for a day the calendar has in any year from 1 to 9999.
bool CalendarDayExists(const CalendarDay& day);
// "YYYY-MM-DD"; true and the day when `text` is exactly that shape and a valid day.
bool ParseCalendarDay(const std::string& text, CalendarDay& day);
std::string CalendarDayText(const CalendarDay& day);
// Days from 1970-01-01 (a valid day).
long DaysSince1970(const CalendarDay& day);
// The day `days` before one that exists; the result may be out of the
// years that are valid (check it).
CalendarDay DaysBefore(const CalendarDay& day, int days);
