#pragma once

// Lunar calculation: civil and lunar dates, leap months, solar terms and the stem-branch
// attributes of a date, for the years -849 ... 2100. Plain standard C++, no state.
//
// Civil dates are Julian up to 1582-10-04 and Gregorian from 1582-10-15; years are numbered
// historically (-1 is the year before 1). Texts are UTF-8.

#include <optional>
#include <string>

struct CivilDate {
    int year = 0;
    int month = 0; // 1 ... 12
    int day = 0;   // 1 ... 31
    friend bool operator==(const CivilDate &, const CivilDate &) = default;
};

struct LunarDate {
    int year = 0;
    int month = 0; // 1 ... 12
    int day = 0;   // 1 ... 30
    bool leap = false;
    friend bool operator==(const LunarDate &, const LunarDate &) = default;
};

struct LunarMonthDay {
    int month = 0; // 1 ... 12
    int day = 0;   // 1 ... 30, or -1 when no new moon lies within the 30 days before
    bool leap = false;
    friend bool operator==(const LunarMonthDay &, const LunarMonthDay &) = default;
};

struct TermMonthDay {
    int month = 0;
    int day = 0;
    friend bool operator==(const TermMonthDay &, const TermMonthDay &) = default;
};

// Vocabulary lookups; the empty string outside the stated range.
std::string CycleName(int i);          // 0 ... 59
std::string AnimalName(int i);         // 0 ... 11
std::string TermName(int i);           // 0 ... 23, 0 = 立春
std::string ConstellationName(int i);  // 0 ... 11, 0 = 白羊
std::string LunarDayText(int d);       // 1 ... 30
std::string LunarMonthName(int month); // 1 ... 12: 正 ... 腊

// Civil calendar.
int CivilKind(int y, int m, int d); // 1 Julian, 0 for 1582-10-05 ... 14, 2 Gregorian
bool IsLeapCivilYear(int y);
int MonthLength(int y, int m); // 0 when m is not 1 ... 12
int DayOfYearNumber(int y, int m, int d);
int DayCount(int y, int m, int d); // 2000-01-01 is 730120, 0001-01-01 is -1
std::optional<CivilDate> DateFromDayCount(int n);
int CompareCivilDates(const CivilDate &a, const CivilDate &b);

// Lunar calendar.
int LeapMonthEntry(int y); // -1 ... 12
int LeapMonthOf(int y);    // 0 ... 12
int LeapCount(int y);
int LunarDayOf(int y, int m, int d);
int LunarMonthOf(int y, int m, int d); // negative for a leap month
std::optional<LunarMonthDay> LunarMonthDayOf(int y, int m, int d);
std::optional<LunarDate> LunarDateOf(int y, int m, int d);
std::optional<CivilDate> LunarToCivil(const LunarDate &lunar);
int CompareLunarDates(const LunarDate &a, const LunarDate &b);

// Solar terms and day attributes. Term numbers n = 0 ... 25 count from 冬至 of year y - 1.
double TermDayOfYear(int y, int n);
std::optional<TermMonthDay> TermDate(int y, int i); // i = 0 ... 23, term n = i + 1
std::string SolarTermText(int y, int m, int d);
int YearCycleIndex(int y);
int AnimalIndex(int y);
int YearCycleOf(int y, int m, int d);
int MonthCycleOf(int y, int m, int d);
int DayCycleOf(int y, int m, int d);
int CycleIndexOf(int stem, int branch);
int ConstellationOf(int m, int d);
