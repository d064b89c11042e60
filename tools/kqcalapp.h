#pragma once

// kqcal: a command-line Chinese calendar on the calendar engine. Output is UTF-8.

#include "lunarcalc.h"

#include <ostream>
#include <string>
#include <vector>

// Runs kqcal with its arguments (program name excluded) and returns the exit status: 0, or 2
// for bad arguments, which print one usage line on err and nothing on out. today selects the
// current month and its marked day; markToday shows that day in reverse video.
int RunKqcal(const std::vector<std::string> &args, const CivilDate &today, bool markToday,
             std::ostream &out, std::ostream &err);

// One month, Sunday first, each day number over its lunar text, then the stem-branch year,
// zodiac and era text of selectedDay (1 ... month length).
void WriteMonth(std::ostream &out, int year, int month, int selectedDay, bool markSelected);

// One tab-separated line per day from..to (proleptic Gregorian, inclusive) with the day
// information fields.
void WriteDump(std::ostream &out, const CivilDate &from, const CivilDate &to);
