#include "platform/calendar.h"

#include <cstdio>

namespace {
bool LeapYear(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int y, int m) {
    constexpr int Days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && LeapYear(y) ? 29 : Days[m - 1];
}
}  // namespace

bool CalendarDayExists(const CalendarDay& d) {
    return d.year >= 1 && d.year <= 9999 && d.month >= 1 && d.month <= 12 && d.day >= 1 &&
           d.day <= DaysInMonth(d.year, d.month);
}

bool CalendarDayValid(const CalendarDay& d) {
    return d.year >= CalendarFirstYear && d.year <= CalendarLastYear && CalendarDayExists(d);
}

bool ParseCalendarDay(const std::string& text, CalendarDay& d) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return false;
    for (int i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (text[size_t(i)] < '0' || text[size_t(i)] > '9') return false;
    auto number = [&](size_t at, size_t digits) {
        int n = 0;
        for (size_t i = at; i < at + digits; ++i) n = n * 10 + (text[i] - '0');
        return n;
    };
    CalendarDay read{number(0, 4), number(5, 2), number(8, 2)};
    if (!CalendarDayValid(read)) return false;
    d = read;
    return true;
}

std::string CalendarDayText(const CalendarDay& d) {
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", d.year, d.month, d.day);
    return text;
}

long DaysSince1970(const CalendarDay& d) {
    long days = 0;
    for (int y = CalendarFirstYear; y < d.year; ++y) days += LeapYear(y) ? 366 : 365;
    for (int m = 1; m < d.month; ++m) days += DaysInMonth(d.year, m);
    return days + d.day - 1;
}

CalendarDay DaysBefore(const CalendarDay& day, int days) {
    CalendarDay d = day;
    for (int i = 0; i < days && d.year > 1; ++i) {
        if (--d.day >= 1) continue;
        if (--d.month < 1) {
            d.month = 12;
            --d.year;
        }
        d.day = DaysInMonth(d.year, d.month);
    }
    return d;
}
