#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

// Date-time values (days since 1899-12-30, time of day as the fraction) are converted by the
// calendar control's helpers, the one day count of the program.
#include "datevalue.h"

#include <array>

// One day of the displayed week.
struct TWeekConList {
    int DayNo = 0;   // 1 = Monday ... 7 = Sunday
    double Date = 0; // days since 1899-12-30, time of day as fraction
    int BoxNo = 0;   // note slot 1 ... 6; Sunday shares slot 6 with Saturday
    QString DateKey; // "YYYYMMDD"; Sunday carries Saturday's key
};

// Monday ... Sunday; never resized.
using TWeekList = std::array<TWeekConList, 7>;

// The program's one week, rebuilt by every week load.
extern TWeekList WeekList;

// Overwrites all seven entries with the Monday-to-Sunday week of d; every entry keeps d's time
// of day.
void BuildWeek(TWeekList &week, double d);

// "YYYYMMDD" of the value's date part.
QString DateKeyOf(double value);
