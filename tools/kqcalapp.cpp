#include "kqcalapp.h"

#include "chncalendaruse.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string_view>

namespace
{

constexpr int MinYear = 1;
constexpr int MaxYear = 2100;
constexpr int CellWidth = 6; // three CJK characters, the longest lower text
constexpr int MonthWidth = 7 * CellWidth + 6;

constexpr std::string_view Usage =
    "用法: kqcal [年 [月]] | kqcal dump 起始日期 结束日期 (年 1-2100, 月 1-12, 日期 YYYY-MM-DD)";

std::optional<int> ParseNumber(std::string_view text, int lo, int hi)
{
    int value = 0;
    if (text.empty() || text.front() < '0' || text.front() > '9') return std::nullopt;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || ptr != text.data() + text.size() || value < lo || value > hi)
        return std::nullopt;
    return value;
}

bool IsGregorianLeap(int y)
{
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

// Month length as the calendar control counts it: Gregorian leap years throughout.
int DaysInMonth(int y, int m)
{
    constexpr int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsGregorianLeap(y) ? 29 : lengths[m - 1];
}

std::optional<CivilDate> ParseDate(std::string_view text)
{
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
    const auto y = ParseNumber(text.substr(0, 4), MinYear, MaxYear);
    const auto m = ParseNumber(text.substr(5, 2), 1, 12);
    if (!y || !m) return std::nullopt;
    const auto d = ParseNumber(text.substr(8, 2), 1, DaysInMonth(*y, *m));
    if (!d) return std::nullopt;
    return CivilDate{*y, *m, *d};
}

// Terminal columns of a UTF-8 text: ASCII one, every other character (all CJK here) two.
int DisplayWidth(std::string_view text)
{
    int width = 0;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80)
            width += 1;
        else if ((byte & 0xC0) != 0x80)
            width += 2;
    }
    return width;
}

void PadLeft(std::string &line, std::string_view text, int width)
{
    line.append(static_cast<std::size_t>(std::max(0, width - DisplayWidth(text))), ' ');
    line.append(text);
}

void EndLine(std::ostream &out, std::string &line)
{
    while (!line.empty() && line.back() == ' ')
        line.pop_back();
    out << line << '\n';
    line.clear();
}

// The lower text of a day cell; each later rule overrides the earlier ones.
std::string LowerText(const TChnCal &cal)
{
    std::string text = cal.CnDayText == "初一" ? cal.CnMonthText : cal.CnDayText;
    if (!cal.Holiday.empty()) text = cal.Holiday;
    if (!cal.SolarTerm.empty()) text = cal.SolarTerm;
    if (!cal.CnHoliday.empty()) text = cal.CnHoliday;
    return text;
}

void WriteYear(std::ostream &out, int year, const CivilDate &today, bool markToday)
{
    for (int month = 1; month <= 12; ++month) {
        if (month > 1) out << '\n';
        const bool current = today.year == year && today.month == month;
        WriteMonth(out, year, month, current ? today.day : 1, current && markToday);
    }
}

} // namespace

void WriteMonth(std::ostream &out, int year, int month, int selectedDay, bool markSelected)
{
    std::string line;
    const std::string title = std::to_string(year) + "年" + std::to_string(month) + "月";
    line.append(static_cast<std::size_t>((MonthWidth - DisplayWidth(title)) / 2), ' ');
    line += title;
    EndLine(out, line);
    constexpr std::string_view weekdays[] = {"日", "一", "二", "三", "四", "五", "六"};
    for (int c = 0; c < 7; ++c) {
        if (c > 0) line += ' ';
        PadLeft(line, weekdays[c], CellWidth);
    }
    EndLine(out, line);

    const double first = ValueOfCivilDate(year, month, 1);
    // Date-time value 0 is a Saturday (column 6); column 0 is Sunday.
    const int firstColumn = static_cast<int>(std::fmod(std::fmod(first, 7) + 13, 7));
    const int days = DaysInMonth(year, month);
    TChnCal cal;
    std::string numbers, texts;
    int column = 0;
    const auto flush = [&] {
        EndLine(out, numbers);
        EndLine(out, texts);
        column = 0;
    };
    for (int i = 0; i < firstColumn; ++i, ++column) {
        if (column > 0) numbers += ' ', texts += ' ';
        numbers.append(CellWidth, ' ');
        texts.append(CellWidth, ' ');
    }
    for (int day = 1; day <= days; ++day) {
        FillDayInfo(cal, first + day - 1);
        if (column > 0) numbers += ' ', texts += ' ';
        const std::string number = std::to_string(day);
        if (markSelected && day == selectedDay) {
            numbers.append(static_cast<std::size_t>(CellWidth - DisplayWidth(number)), ' ');
            numbers += "\x1b[7m" + number + "\x1b[0m";
        } else {
            PadLeft(numbers, number, CellWidth);
        }
        PadLeft(texts, LowerText(cal), CellWidth);
        if (++column == 7) flush();
    }
    if (column > 0) flush();

    FillDayInfo(cal, first + std::clamp(selectedDay, 1, days) - 1);
    line = cal.YearCycle + "年 " + cal.Animal + "年";
    if (!cal.EraText.empty()) line += "  " + cal.EraText;
    EndLine(out, line);
}

void WriteDump(std::ostream &out, const CivilDate &from, const CivilDate &to)
{
    const double last = ValueOfCivilDate(to.year, to.month, to.day);
    TChnCal cal;
    std::string buffer;
    buffer.reserve(1 << 16);
    char date[16];
    for (double v = ValueOfCivilDate(from.year, from.month, from.day); v <= last; v += 1) {
        FillDayInfo(cal, v);
        const CivilDate c = CivilDateOfValue(v);
        std::snprintf(date, sizeof date, "%04d-%02d-%02d", c.year, c.month, c.day);
        const bool leap = cal.CnMonthText.starts_with("闰");
        const std::string yearNo = std::to_string(cal.LunarYearNo);
        const std::string monthNo = std::to_string(cal.LunarMonthNo);
        const std::string_view fields[] = {
            date,           yearNo,        monthNo,     leap ? "1" : "0",  cal.CnMonthText,
            cal.CnDayText,  cal.SolarTerm, cal.Holiday, cal.CnHoliday,     cal.YearCycle,
            cal.MonthCycle, cal.DayCycle,  cal.Animal,  cal.Constellation, cal.EraText};
        for (const std::string_view field : fields) {
            buffer += field;
            buffer += '\t';
        }
        buffer.back() = '\n';
        if (buffer.size() > 60000) {
            out << buffer;
            buffer.clear();
        }
    }
    out << buffer;
}

int RunKqcal(const std::vector<std::string> &args, const CivilDate &today, bool markToday,
             std::ostream &out, std::ostream &err)
{
    const auto usage = [&] {
        err << Usage << '\n';
        return 2;
    };
    if (args.size() == 1 && (args[0] == "-h" || args[0] == "--help")) {
        out << Usage << '\n';
        return 0;
    }
    if (args.empty()) {
        if (today.year < MinYear || today.year > MaxYear) return usage();
        WriteMonth(out, today.year, today.month, today.day, markToday);
        return 0;
    }
    if (args[0] == "dump") {
        if (args.size() != 3) return usage();
        const auto from = ParseDate(args[1]);
        const auto to = ParseDate(args[2]);
        if (!from || !to || CompareCivilDates(*from, *to) > 0) return usage();
        WriteDump(out, *from, *to);
        return 0;
    }
    if (args.size() > 2) return usage();
    const auto year = ParseNumber(args[0], MinYear, MaxYear);
    if (!year) return usage();
    if (args.size() == 1) {
        WriteYear(out, *year, today, markToday);
        return 0;
    }
    const auto month = ParseNumber(args[1], 1, 12);
    if (!month) return usage();
    const bool current = today.year == *year && today.month == *month;
    WriteMonth(out, *year, *month, current ? today.day : 1, current && markToday);
    return 0;
}
