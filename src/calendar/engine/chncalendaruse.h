#pragma once

// Day information: every text the calendar control shows for one date.

#include "lunarcalc.h"

#include <optional>
#include <string>

// Filled by FillDayInfo; all fields start zero or empty.
struct TChnCal {
    int LunarYearNo = 0;
    int LunarMonthNo = 0; // 1 ... 12
    double DateValue = 0; // days since 1899-12-30, time of day as fraction
    std::string SolarTerm;
    std::string Holiday;
    std::string CnMonthText; // 正月 ... 腊月, or 闰四 for a leap month
    std::string DayCycle;
    std::string YearCycle; // changes at 立春
    std::string MonthCycle;
    std::string CnHoliday;
    std::string LunarYearText;
    std::string CnDayText;
    std::string Animal;
    std::string Constellation;
    std::string EraText; // empty from 1949 on
};

// Civil date of a date-time value as the platform decodes it: proleptic Gregorian, time of
// day ignored (floor of the value).
CivilDate CivilDateOfValue(double value);
// Inverse of CivilDateOfValue for a proleptic Gregorian date, at midnight.
double ValueOfCivilDate(int y, int m, int d);

void FillDayInfo(TChnCal &cal, double value);
std::optional<LunarDate> LunarDateOfValue(double value);
std::string HolidayOf(int day, double value);
// value is the date-time of the day in question; a day of a leap month has no lunar festival,
// so this form reads the leap flag from value where it matters.
std::string CnHolidayOf(int lunarMonth, int lunarDay, double value);
// The same with the leap flag already known.
std::string CnHolidayOf(int lunarMonth, int lunarDay, bool leap, double value);
std::string EraTextOf(int y);
std::string FieldOf(const std::string &text, char separator, int n, bool skipEmpty);
