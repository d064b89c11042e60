#pragma once

// Date-time values as the control stores them: days since 1899-12-30 (a Saturday), time of day
// as the fraction. Dates are proleptic Gregorian, the way the platform decodes such a value.

#include <QDate>
#include <QDateTime>

#include <optional>

// The calendar date of a value, time of day ignored (floor); nullopt for NaN, infinities and
// values beyond any calendar date.
std::optional<QDate> DateOfValue(double value);
// Midnight of a valid date.
double ValueOfDate(const QDate &date);
double ValueOfDateTime(const QDateTime &dateTime);
// The local date and time of day now.
double NowValue();
// 1 = Sunday ... 7 = Saturday.
int DayOfWeekOfDate(const QDate &date);
