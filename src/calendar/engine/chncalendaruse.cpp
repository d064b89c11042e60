#include "chncalendaruse.h"

#include "eraindex.h"
#include "erarows.h"
#include "floormath.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>

namespace
{

// Date-time values count days from 1899-12-30, a Saturday.
constexpr long long EpochOffset = 693899; // days from 0000-03-01 to 1899-12-30

// Proleptic Gregorian civil date from days since 0000-03-01 (years counted astronomically).
CivilDate CivilFromShiftedDays(long long z)
{
    const long long era = floorDiv(z, 146097);
    const long long doe = z - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    const int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    const long long y = yoe + era * 400 + (m <= 2 ? 1 : 0);
    return CivilDate{static_cast<int>(y), m, d};
}

long long ShiftedDaysFromCivil(long long y, int m, int d)
{
    y -= m <= 2 ? 1 : 0;
    const long long era = floorDiv(y, 400);
    const long long yoe = y - era * 400;
    const long long mp = m > 2 ? m - 3 : m + 9;
    const long long doy = (153 * mp + 2) / 5 + d - 1;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe;
}

// The platform's date decoding covers the years 1 ... 9999.
constexpr double FirstValue = -693593; // 0001-01-01
constexpr double EndValue = 2958466;   // 10000-01-01

std::optional<CivilDate> DecodeValue(double value)
{
    if (!(value >= FirstValue && value < EndValue)) return std::nullopt;
    return CivilDateOfValue(value);
}

int WeekdayOfValue(double value) // 1 = Sunday ... 7 = Saturday
{
    return static_cast<int>(floorMod(static_cast<long long>(std::floor(value)) + 6, 7)) + 1;
}

struct FixedHoliday {
    int month;
    int day;     // day of month, or 0 for an n-th weekday rule
    int nth;     // n-th weekday of the month
    int weekday; // 1 = Sunday ... 7 = Saturday
    std::string_view name;
};

constexpr std::array<FixedHoliday, 18> Holidays = {{
    {1, 1, 0, 0, "元旦节"},
    {2, 14, 0, 0, "情人节"},
    {3, 8, 0, 0, "妇女节"},
    {4, 1, 0, 0, "愚人节"},
    {5, 1, 0, 0, "劳动节"},
    {5, 4, 0, 0, "青年节"},
    {5, 0, 2, 1, "母亲节"},
    {6, 1, 0, 0, "儿童节"},
    {6, 0, 3, 1, "父亲节"},
    {7, 1, 0, 0, "建党节"},
    {8, 1, 0, 0, "建军节"},
    {9, 10, 0, 0, "教师节"},
    {10, 1, 0, 0, "国庆节"},
    {10, 6, 0, 0, "老人节"},
    {10, 31, 0, 0, "万圣节"},
    {11, 8, 0, 0, "记者日"},
    {11, 0, 4, 5, "感恩节"},
    {12, 25, 0, 0, "圣诞节"},
}};

std::string LunarMonthText(int month, bool leap)
{
    return leap ? "闰" + LunarMonthName(month) : LunarMonthName(month) + "月";
}

} // namespace

CivilDate CivilDateOfValue(double value)
{
    if (!std::isfinite(value)) return CivilDate{};
    // Clamped far outside any date the program shows, so the arithmetic cannot overflow.
    const double days = std::clamp(std::floor(value), -1e12, 1e12);
    return CivilFromShiftedDays(static_cast<long long>(days) + EpochOffset);
}

double ValueOfCivilDate(int y, int m, int d)
{
    return static_cast<double>(ShiftedDaysFromCivil(y, m, d) - EpochOffset);
}

void FillDayInfo(TChnCal &cal, double value)
{
    cal.DateValue = value;
    const auto civil = DecodeValue(value);
    if (!civil) return;
    const int y = civil->year, m = civil->month, d = civil->day;
    const auto lunar = LunarDateOf(y, m, d);
    if (!lunar) return;

    cal.LunarYearNo = lunar->year;
    cal.LunarYearText = std::to_string(lunar->year);
    cal.YearCycle = CycleName(YearCycleOf(y, m, d));
    cal.Animal = AnimalName(AnimalIndex(lunar->year));
    cal.EraText = EraTextOf(y); // the civil year, not the lunar one

    cal.LunarMonthNo = lunar->month;
    cal.CnMonthText = LunarMonthText(lunar->month, lunar->leap);
    cal.MonthCycle = CycleName(MonthCycleOf(y, m, d));

    cal.CnDayText = LunarDayText(lunar->day);
    cal.DayCycle = CycleName(DayCycleOf(y, m, d));
    cal.Constellation = ConstellationName(ConstellationOf(m, d));

    cal.Holiday = HolidayOf(d, value);
    cal.CnHoliday = CnHolidayOf(lunar->month, lunar->day, lunar->leap, value);
    cal.SolarTerm = SolarTermText(y, m, d);
}

std::optional<LunarDate> LunarDateOfValue(double value)
{
    const auto civil = DecodeValue(value);
    if (!civil) return std::nullopt;
    return LunarDateOf(civil->year, civil->month, civil->day);
}

std::string HolidayOf(int day, double value)
{
    const CivilDate civil = CivilDateOfValue(value);
    std::string_view result;
    for (const FixedHoliday &h : Holidays) {
        if (h.month != civil.month) continue;
        if (h.day != 0) {
            if (h.day == day) result = h.name;
            continue;
        }
        if ((day - 1) / 7 != h.nth - 1 || day < 1) continue;
        if (WeekdayOfValue(ValueOfCivilDate(civil.year, civil.month, day)) == h.weekday)
            result = h.name;
    }
    return std::string(result);
}

std::string CnHolidayOf(int lunarMonth, int lunarDay, bool leap, double value)
{
    if (lunarMonth == 12 && lunarDay != 1 && lunarDay != 5 && lunarDay != 7 && lunarDay != 8 &&
        lunarDay != 9 && lunarDay != 15) {
        // 除夕 is the last day before 春节, whichever month it closes.
        const auto next = LunarDateOfValue(value + 1);
        return (next && next->month == 1 && next->day == 1) ? "除夕" : "";
    }
    // A leap month repeats the number of its month but none of its festivals.
    if (leap) return {};
    struct Festival {
        int month, day;
        const char *name;
    };
    static constexpr std::array<Festival, 7> Festivals = {{
        {1, 1, "春节"},
        {1, 15, "元宵节"},
        {5, 5, "端午节"},
        {7, 7, "七夕节"},
        {8, 15, "中秋节"},
        {9, 9, "重阳节"},
        {12, 8, "腊八节"},
    }};
    for (const Festival &f : Festivals)
        if (f.month == lunarMonth && f.day == lunarDay) return f.name;
    return {};
}

std::string CnHolidayOf(int lunarMonth, int lunarDay, double value)
{
    const std::string name = CnHolidayOf(lunarMonth, lunarDay, false, value);
    if (name.empty() || name == "除夕") return name;
    const auto lunar = LunarDateOfValue(value);
    return (lunar && lunar->leap) ? std::string() : name;
}

std::string EraTextOf(int y)
{
    // The table is constant, so a lookup over rows split once equals a fresh split.
    static const EraIndex index(EraRows());
    return index.textOf(y);
}

std::string FieldOf(const std::string &text, char separator, int n, bool skipEmpty)
{
    if (n < 1) return {};
    const auto trim = [](std::string_view s) {
        while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ')
            s.remove_prefix(1);
        while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ')
            s.remove_suffix(1);
        return s;
    };
    std::string_view rest(text);
    int index = 0;
    while (true) {
        const auto cut = rest.find(separator);
        const bool last = cut == std::string_view::npos;
        const std::string_view raw = last ? rest : rest.substr(0, cut);
        // The part after the last separator counts only when it is not empty.
        if (last && raw.empty()) return {};
        const std::string_view field = trim(raw);
        if (!(skipEmpty && field.empty()) && ++index == n) return std::string(field);
        if (last) return {};
        rest.remove_prefix(cut + 1);
    }
}
