#include "lunarcalc.h"

#include "floormath.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <string_view>

namespace
{

// ---------------------------------------------------------------- vocabulary

constexpr std::array<std::string_view, 10> StemNames = {"甲", "乙", "丙", "丁", "戊",
                                                        "己", "庚", "辛", "壬", "癸"};
constexpr std::array<std::string_view, 12> BranchNames = {"子", "丑", "寅", "卯", "辰", "巳",
                                                          "午", "未", "申", "酉", "戌", "亥"};
constexpr std::array<std::string_view, 12> AnimalNames = {"鼠", "牛", "虎", "兔", "龙", "蛇",
                                                          "马", "羊", "猴", "鸡", "狗", "猪"};
constexpr std::array<std::string_view, 12> ConstellationNames = {
    "白羊", "金牛", "双子", "巨蟹", "狮子", "处女", "天秤", "天蝎", "射手", "摩羯", "宝瓶", "双鱼"};
// Starts at 立春; the astronomical term n is entry (n + 21) mod 24.
constexpr std::array<std::string_view, 24> TermNames = {
    "立春", "雨水", "惊蛰", "春分", "清明", "谷雨", "立夏", "小满", "芒种", "夏至", "小暑", "大暑",
    "立秋", "处暑", "白露", "秋分", "寒露", "霜降", "立冬", "小雪", "大雪", "冬至", "小寒", "大寒"};
constexpr std::array<std::string_view, 12> LunarMonthNames = {"正", "二", "三", "四", "五", "六",
                                                              "七", "八", "九", "十", "冬", "腊"};
// Index 1 ... 10; 0 unused.
constexpr std::array<std::string_view, 11> DigitNames = {"",   "一", "二", "三", "四", "五",
                                                         "六", "七", "八", "九", "十"};
// Entry 3 (卅) is never picked: days 30 read 三十.
constexpr std::array<std::string_view, 6> TenPrefixes = {"初", "十", "廿", "卅", "二", "三"};

const std::array<std::string, 60> &CycleNames()
{
    static const std::array<std::string, 60> names = [] {
        std::array<std::string, 60> out;
        for (int i = 0; i < 60; ++i)
            out[i] = std::string(StemNames[i % 10]) + std::string(BranchNames[i % 12]);
        return out;
    }();
    return names;
}

// ---------------------------------------------------------------- leap months

// One character per year -849 ... 2100 (year 0 included, at position 849): "0" no leap
// month, "1" ... "9" and "a" ... "c" the month that is repeated.
constexpr std::string_view LeapMonthTable =
    "0c0080050010a0070030c0080050010a0070030c0080050020"  // -849..-800
    "a0070030c0080050020a0070030c0090050020a0070030c009"  // -799..-750
    "0050020a0060030c0060030c00900600c0c0060c00c00c00c0"  // -749..-700
    "c000600c0c0006090303030006000c00c060c0006c00000c0c"  // -699..-650
    "0c0060003030006c00009009c0090c00c00900030003090603"  // -649..-600
    "0030c0c00060c00090c0060600c0030060c00c003006009060"  // -599..-550
    "030c0060060c0090900c00090c0090c00c0060300060600030"  // -549..-500
    "30c0c00030c0060030c0090060030c0090300c0080050020a0"  // -499..-450
    "060030c0080050020b0070030c0090050010a0070030b00900"  // -449..-400
    "60020a0070040c0080050020a0060030c0080050020b007003"  // -399..-350
    "0c0090050010a0070030b0090060020a0070040c0080050020"  // -349..-300
    "a0060030c0080050020b0070030c0090050000c00900909009"  // -299..-250
    "00909009009009090090090900900900909009009090090090"  // -249..-200
    "09090090090900900900909009009090090090900900900909"  // -199..-150
    "00900909009009009090090090900900900909009009090060"  // -149..-100
    "030c0090050010a0070030b008005001090070040c00800500"  // -99..-50
    "20a0060030c0090040010a0060030c0090050010a0070030b0"  // -49..0
    "080050010a008005001090050020a0060030c0080040010a00"  // 1..50
    "60030c0090050010a0070030b0080050010a0070030b008005"  // 51..100
    "001090070040c0080050020a0060030c0080040010a0060030"  // 101..150
    "c0090050010a0070030b008005001090070040c0080050020a"  // 151..200
    "0060030c0080040010a0060030c0090050010a0060030c0090"  // 201..250
    "050010a0070030b008005001090070040c0080050020a00600"  // 251..300
    "30c0080040010a0070030b0080050010a0070040c008005002"  // 301..350
    "0a0060030c0080040010a0070030c0090050010a0070030b00"  // 351..400
    "80050020a0060030c0080040010a0060030c0090050050020a"  // 401..450
    "0060030c0090050010b0070030c0090050010a0070040c0080"  // 451..500
    "040020a0060030c0080050020a0060030c0090050010a00700"  // 501..550
    "30b0080040020a0060040c0090050020b0070030c00a005001"  // 551..600
    "0a0070030b0090050020a0070030c0080040020a0060030c00"  // 601..650
    "90050010a0070030c0090050030b007005001090050020a007"  // 651..700
    "004001090060020c0070050c0090060030b0080040020a0060"  // 701..750
    "030b0080040010a0060030b0080050010a0050040c00800500"  // 751..800
    "10a0060030c0080050010b0070030c007005001090070030b0"  // 801..850
    "070040020a0060030c0080040020a0070030b0090050010a00"  // 851..900
    "60040c0080050020a0060040c0080050010b0070030c007005"  // 901..950
    "001090070030c0080050020a0070030c0090050020a0070030"  // 951..1000
    "c0090050020a0060040c0090050020a0060040c0090050010b"  // 1001..1050
    "0070030c0080050030b007004001090060020c008004002090"  // 1051..1100
    "060020a008004001090050030b0080040020a0060040b00800"  // 1101..1150
    "40c00a0060020b007005001090060030b0070050020a006002"  // 1151..1200
    "0c008004002090070030c008005002090070040c0080040020"  // 1201..1250
    "a0060040b0090050010a0060030b0080050020a0060040c008"  // 1251..1300
    "0050010b00700300108005001090070030c0080050020a0070"  // 1301..1350
    "03001090050030a0070030b0090050020a0060040c00900500"  // 1351..1400
    "30b0070040c0090050010c0070040c0080060020b00700400a"  // 1401..1450
    "090060020b007003002090060020a005004001090050030b00"  // 1451..1500
    "7004001090050040c0080040c00a0060020c00700500109006"  // 1501..1550
    "0030b0070050020a0060020c008004002090060030b0080040"  // 1551..1600
    "02090060030b0080040020a0060040b0080040010b0060030b"  // 1601..1650
    "0070050010a006004002070050030800600400307005003070"  // 1651..1700
    "06004003070050030800600400307005004090060040030700"  // 1701..1750
    "500409006005002070050030a0060050030700500400206004"  // 1751..1800
    "00206005003002060040030700500409006004003070050040"  // 1801..1850
    "8007005003080050040a006005003070050040020600500308"  // 1851..1900
    "00500400206005002070050040020600500307006004002070"  // 1901..1950
    "050030800600400307005004080060040a0060050030800500"  // 1951..2000
    "40020700500409006004002060050030b00600500207005003"  // 2001..2050
    "08006004003070050040800600400307005004080060040020"; // 2051..2100
static_assert(LeapMonthTable.size() == 2950);

constexpr int FirstTableYear = -849;
constexpr int LastTableYear = 2100;

constexpr int LeapEntryAt(int y)
{
    if (y < FirstTableYear || y > LastTableYear) return -1;
    const char c = LeapMonthTable[y - FirstTableYear];
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'c') return c - 'a' + 10;
    return -1;
}

// Leap months counted from -849 through year y (year 0 included), plus one for 1200 ... 1499.
// One entry per year -849 ... -1 and 1 ... 2100; year 0 has none.
constexpr std::array<int, 2949> LeapCountTable = [] {
    std::array<int, 2949> out{};
    int count = 0;
    std::size_t slot = 0;
    for (int y = FirstTableYear; y <= LastTableYear; ++y) {
        if (LeapMonthTable[y - FirstTableYear] != '0') ++count;
        if (y == 0) continue;
        out[slot++] = count + ((y >= 1200 && y <= 1499) ? 1 : 0);
    }
    return out;
}();
static_assert(LeapCountTable.front() == 0 && LeapCountTable.back() == 1084);

constexpr int LeapCountSlot(int y)
{
    return y < 0 ? y - FirstTableYear : y - FirstTableYear - 1;
}

// ---------------------------------------------------------------- corrections

// Months whose computed new moon lies within minutes of Beijing midnight and lands on the
// wrong day; the published calendar is shifted by one day over the whole month.
struct DaySpan {
    int year, fromMonth, fromDay, toMonth, toDay, delta;
};
constexpr std::array<DaySpan, 6> LunarDaySpans = {{
    {1914, 11, 17, 12, 16, +1},
    {1916, 2, 3, 3, 3, +1},
    {1920, 11, 10, 12, 9, +1},
    {1924, 3, 5, 4, 3, +1},
    {2018, 11, 7, 12, 6, -1},
    {2057, 9, 28, 10, 27, -1},
}};

// Solar terms whose fitted moment falls on the wrong side of Beijing midnight: (year, term
// number n, whole-day shift).
struct TermShift {
    int year, n, delta;
};
constexpr std::array<TermShift, 17> TermShifts = {{
    {1911, 9, +1},
    {1912, 19, +1},
    {1923, 4, -1},
    {1927, 17, +1},
    {1928, 12, +1},
    {1979, 2, -1},
    {2016, 13, +1},
    {2020, 23, +1},
    {2037, 18, +1},
    {2040, 19, +1},
    {2042, 14, +1},
    {2051, 6, -1},
    {2059, 4, +1},
    {2083, 3, -1},
    {2084, 6, -1},
    {2085, 1, -1},
    {2097, 9, +1},
}};

// ---------------------------------------------------------------- helpers

// Code elsewhere in a process (seen inside Qt programs on AVX-512 machines) can leave the upper
// halves of the vector registers dirty. Every legacy-SSE instruction then pays a merge penalty,
// which made the trigonometric series here about 15 times slower. Clearing that state keeps
// the lower halves, so no value in flight is touched.
inline void ClearUpperVectorState()
{
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
    static const bool hasAvx = [] {
        __builtin_cpu_init(); // may run before the library's own constructors
        return __builtin_cpu_supports("avx") != 0;
    }();
    if (hasAvx) asm volatile("vzeroupper");
#endif
}

// Continuous day count; wide so that DateFromDayCount can probe past the int range.
long long DayCountWide(long long y, int m, int d, int kind)
{
    long long doy = d;
    for (int i = 1; i < m && i <= 12; ++i)
        doy += MonthLength(static_cast<int>(y), i);
    const long long q = y - 1;
    // Divisions truncate toward zero: the epoch -310443 of the month count depends on it.
    if (kind == 1) return doy + 365 * q + q / 4 - 2;
    if (kind == 2) return doy + 365 * q + q / 4 - q / 100 + q / 400;
    return 0;
}

double Frac(double x)
{
    return x - std::trunc(x);
}

int RawLunarDayOf(int y, int m, int d)
{
    ClearUpperVectorState();
    constexpr double pi = std::numbers::pi;
    constexpr double rho = 57.29577951308232;
    const double T = (y - 1899.5) / 100;
    const double k = std::floor((y - 1900) * 12.3685);
    const auto angle = [&](double r, double c0, double c2, double c3) {
        return 2 * pi * Frac(k * r) + c0 - c2 * T * T - c3 * T * T * T;
    };
    const double u = 0.75933 - 0.0002172 * T * T - 0.000000155 * T * T * T + 0.53058868 * k -
                     0.000837 * T + 8.0 / 24 + 0.5;
    const double e = 0.1734 - 0.000393 * T;
    const double S = angle(0.08084821133, 359.2242 / rho, 0.0000333 / rho, 0.00000347 / rho);
    const double Q = angle(0.07171366128, 306.0253 / rho, -0.0107306 / rho, -0.00001236 / rho);
    const double F = angle(0.08519585128, 21.2964 / rho, 0.0016528 / rho, 0.00000239 / rho);
    const int N = DayCount(y, m, d);
    // The series is evaluated for j = -1 ... 13 and the latest new moon on or before the date
    // wins. The moments grow by more than 28 days per step, so walking down from just above
    // the date's mean lunation gives the same day in two or three steps: no j above the start
    // can lie on or before the date (the periodic terms stay within 0.64 day), and once a
    // moment lies more than 29 days back, every earlier one does too.
    const double meanStart = (29 * k + 693595) + u;
    const int jStart =
        static_cast<int>(std::clamp(std::floor((N - meanStart) / 29.53058868) + 2, -2.0, 13.0));
    int day = -1;
    for (int j = jStart; j >= -1; --j) {
        const double A = S + 0.507984293 * j;
        const double B = Q + 6.73377553 * j;
        const double G = F + 6.818486628 * j;
        const double t = (29 * k + 693595) + 28 * j + u + 1.53058868 * j + e * std::sin(A) -
                         0.4068 * std::sin(B) + 0.0021 * std::sin(2 * A) +
                         0.0161 * std::sin(2 * B) + 0.0104 * std::sin(2 * G) -
                         0.0074 * std::sin(A - B) - 0.0051 * std::sin(A + B);
        const double L = N - std::floor(t);
        if (L > 29) break;
        if (L >= 0) {
            day = static_cast<int>(L) + 1;
            break;
        }
    }
    return day;
}

int MonthOffset(int y)
{
    if (y <= -722) return 4;
    if (y <= -256) return 3;
    if (y == -255) return 1;
    if (y <= 8) return 0;
    if (y <= 23) return 1;
    if (y <= 237) return 0;
    if (y <= 240) return 1;
    return 0;
}

// Lunar month (negative for a leap month) from the lunar day dl already computed.
int LunarMonthFrom(int y, int m, int d, int dl)
{
    const int e = static_cast<int>(floorMod(dl, 100));
    const double months = (static_cast<double>(DayCount(y, m, d)) + 310443 - e) / 29.530588;
    const long long n =
        static_cast<long long>(std::nearbyint(months)) - LeapCount(y) + MonthOffset(y) - 3;
    int M = static_cast<int>(floorMod(n, 12)) + 1;
    if (LeapMonthEntry(y - 1) == M && m == 1 && d < e) return -M;
    const int entry = LeapMonthEntry(y);
    if (entry == M) return (m >= 3 || entry == 12) ? -M : M + 1;
    if (entry > M || (m < M && entry > 0)) ++M;
    return (M - 1) % 12 + 1;
}

bool InTable(int y)
{
    return y >= FirstTableYear && y <= LastTableYear;
}

} // namespace

// ---------------------------------------------------------------- vocabulary lookups

std::string CycleName(int i)
{
    return (i >= 0 && i < 60) ? CycleNames()[i] : std::string();
}

std::string AnimalName(int i)
{
    return (i >= 0 && i < 12) ? std::string(AnimalNames[i]) : std::string();
}

std::string TermName(int i)
{
    return (i >= 0 && i < 24) ? std::string(TermNames[i]) : std::string();
}

std::string ConstellationName(int i)
{
    return (i >= 0 && i < 12) ? std::string(ConstellationNames[i]) : std::string();
}

std::string LunarDayText(int d)
{
    if (d < 1 || d > 30) return {};
    int t = d / 10;
    int u = d % 10;
    if (u == 0) {
        t = (d == 10) ? 0 : t + 2;
        u = 10;
    }
    return std::string(TenPrefixes[t]) + std::string(DigitNames[u]);
}

std::string LunarMonthName(int month)
{
    return (month >= 1 && month <= 12) ? std::string(LunarMonthNames[month - 1]) : std::string();
}

// ---------------------------------------------------------------- civil calendar

int CivilKind(int y, int m, int d)
{
    if (y < 1582 || (y == 1582 && (m < 10 || (m == 10 && d < 5)))) return 1;
    if (y == 1582 && m == 10 && d <= 14) return 0;
    return 2;
}

bool IsLeapCivilYear(int y)
{
    if (CivilKind(y, 1, 1) == 2) return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    // Historical numbering before 1: -1, -5, -9 ... are leap years.
    return y >= 0 ? floorMod(y, 4) == 0 : floorMod(y - 3, 4) == 0;
}

int MonthLength(int y, int m)
{
    switch (m) {
    case 1:
    case 3:
    case 5:
    case 7:
    case 8:
    case 10:
    case 12:
        return 31;
    case 4:
    case 6:
    case 9:
    case 11:
        return 30;
    case 2:
        return IsLeapCivilYear(y) ? 29 : 28;
    default:
        return 0;
    }
}

int DayOfYearNumber(int y, int m, int d)
{
    int n = d;
    for (int i = 1; i < m && i <= 12; ++i)
        n += MonthLength(y, i);
    return n;
}

int DayCount(int y, int m, int d)
{
    return static_cast<int>(DayCountWide(y, m, d, CivilKind(y, m, d)));
}

std::optional<CivilDate> DateFromDayCount(int n)
{
    if (n < -1) return std::nullopt;
    const auto yearStart = [](long long y) { return DayCountWide(y, 1, 1, y <= 1582 ? 1 : 2); };
    long long y = static_cast<long long>(n / 365.2425) + 1;
    while (y > 1 && yearStart(y) > n)
        --y;
    while (yearStart(y + 1) <= n)
        ++y;
    const int year = static_cast<int>(y);
    int month = 12;
    while (month > 1 && DayCountWide(y, month, 1, CivilKind(year, month, 1)) > n)
        --month;
    int day = static_cast<int>(n - DayCountWide(y, month, 1, CivilKind(year, month, 1))) + 1;
    // The count runs on from 4 to 15 October 1582.
    if (year == 1582 && month == 10 && day >= 5) day += 10;
    return CivilDate{year, month, day};
}

int CompareCivilDates(const CivilDate &a, const CivilDate &b)
{
    const auto cmp = [](int x, int y) { return x < y ? -1 : (x > y ? 1 : 0); };
    if (a.year != b.year) return cmp(a.year, b.year);
    if (a.month != b.month) return cmp(a.month, b.month);
    return cmp(a.day, b.day);
}

// ---------------------------------------------------------------- lunar calendar

int LeapMonthEntry(int y)
{
    return LeapEntryAt(y);
}

int LeapMonthOf(int y)
{
    const int entry = LeapMonthEntry(y);
    return entry < 0 ? 0 : entry;
}

int LeapCount(int y)
{
    if (!InTable(y)) return 0;
    // Year 0 has no entry of its own; the count through it equals the count through -1 plus
    // its own leap month, if any.
    if (y == 0) return LeapCountTable[LeapCountSlot(-1)] + (LeapMonthTable[849] != '0' ? 1 : 0);
    return LeapCountTable[LeapCountSlot(y)];
}

int LunarDayOf(int y, int m, int d)
{
    int day = RawLunarDayOf(y, m, d);
    const int key = m * 100 + d;
    for (const DaySpan &s : LunarDaySpans) {
        if (s.year != y || key < s.fromMonth * 100 + s.fromDay || key > s.toMonth * 100 + s.toDay)
            continue;
        day += s.delta;
        if (day == 31) day = 1;
        if (day == 0) day = 30;
    }
    return day;
}

int LunarMonthOf(int y, int m, int d)
{
    return LunarMonthFrom(y, m, d, LunarDayOf(y, m, d));
}

std::optional<LunarMonthDay> LunarMonthDayOf(int y, int m, int d)
{
    if (!InTable(y)) return std::nullopt;
    const int day = LunarDayOf(y, m, d);
    const int s = LunarMonthFrom(y, m, d, day);
    return LunarMonthDay{s < 0 ? -s : s, day, s < 0};
}

std::optional<LunarDate> LunarDateOf(int y, int m, int d)
{
    const auto md = LunarMonthDayOf(y, m, d);
    if (!md) return std::nullopt;
    LunarDate out{y, md->month, md->day, md->leap};
    if (const auto newYear = LunarToCivil(LunarDate{y, 1, 1, false}))
        if (CompareCivilDates(CivilDate{y, m, d}, *newYear) < 0) out.year = y - 1;
    return out;
}

std::optional<CivilDate> LunarToCivil(const LunarDate &lunar)
{
    const int ly = lunar.year;
    // No probe of another year could match; this also keeps the day counts in range.
    if (ly < FirstTableYear || ly > LastTableYear) return std::nullopt;
    if (lunar.leap && LeapMonthOf(ly) != lunar.month) return std::nullopt;
    int lo = DayCount(ly, 1, 1);
    int hi = DayCount(ly + 1, 12, 31);
    bool bump = false;
    enum { None, Forward, Backward } direction = None;
    int trackedYear = ly;
    int previousMonth = 0;
    int probes = 0;
    while (hi > lo) {
        if (++probes > 100) return std::nullopt;
        int mid = (lo + hi) / 2;
        if (bump) ++mid;
        if (hi - lo == 1) bump = true;
        const auto civil = DateFromDayCount(mid);
        const auto md = civil ? LunarMonthDayOf(civil->year, civil->month, civil->day)
                              : std::optional<LunarMonthDay>();
        if (!md) {
            // Outside the engine's years: before year 1 every probe is earlier than the
            // target, after 2100 later. Keep the year tracking from stepping on them.
            if (!civil) {
                lo = mid;
                direction = Forward;
                previousMonth = 1;
            } else {
                hi = mid;
                direction = Backward;
                previousMonth = 12;
            }
            continue;
        }
        if (direction == Forward && md->month < previousMonth) ++trackedYear;
        if (direction == Backward && md->month > previousMonth) --trackedYear;
        const int r =
            CompareLunarDates(LunarDate{trackedYear, md->month, md->day, md->leap}, lunar);
        if (r == 0) return civil;
        if (r < 0) {
            lo = mid;
            direction = Forward;
        } else {
            hi = mid;
            direction = Backward;
        }
        previousMonth = md->month;
    }
    return std::nullopt;
}

int CompareLunarDates(const LunarDate &a, const LunarDate &b)
{
    const auto cmp = [](int x, int y) { return x < y ? -1 : (x > y ? 1 : 0); };
    if (a.year != b.year) return cmp(a.year, b.year);
    if (a.month != b.month) return cmp(a.month, b.month);
    if (a.leap != b.leap) return a.leap ? 1 : -1;
    return cmp(a.day, b.day);
}

// ---------------------------------------------------------------- solar terms

double TermDayOfYear(int y, int n)
{
    ClearUpperVectorState();
    const int year = y;
    if (y <= 0) y += 1;
    const double dy = y;
    const double delta = dy - 100;
    const double Z =
        (365.2423112 - 0.000000000000064 * delta * delta - 0.00000003047 * delta) * dy +
        15.218427 * n + 1721050.71301;
    const double Q = 0.0003 * dy - 0.372781384 - 0.2617913325 * n;
    const double W =
        (1.945 * std::sin(Q) - 0.01206 * std::sin(2 * Q)) * (1.048994 - 0.00002583 * dy);
    const double V = -0.0018 * std::sin(2.313908653 * dy - 0.439822951 - 3.0443 * n);
    double result = Z + W + V - DayCount(y, 1, 0) - 1721425;
    for (const TermShift &s : TermShifts)
        if (s.year == year && s.n == n) result += s.delta;
    return result;
}

std::optional<TermMonthDay> TermDate(int y, int i)
{
    if (i < 0 || i > 23) return std::nullopt;
    // Walk the months on the day number (the floor of the moment), so that a moment late on
    // a month's last day stays in that month.
    int day = static_cast<int>(std::floor(TermDayOfYear(y, i + 1)));
    int month = 1;
    for (; month < 12 && day > MonthLength(y, month); ++month)
        day -= MonthLength(y, month);
    return TermMonthDay{month, day};
}

std::string SolarTermText(int y, int m, int d)
{
    if (m < 1 || m > 12 || d < 1 || d > MonthLength(y, m)) return {};
    // Terms 2m - 1 and 2m belong to month m. Before the reform the Julian dates run up to ten
    // days behind the seasons, so the next month's first term (up to 小寒 of y + 1, term 25)
    // can fall on the last days of month m; without it those years would lose terms.
    const int doy = DayOfYearNumber(y, m, d);
    for (int n = 2 * m - 1; n <= 2 * m + 1; ++n)
        if (std::floor(TermDayOfYear(y, n)) == doy) return TermName((n + 21) % 24);
    return {};
}

int YearCycleIndex(int y)
{
    return static_cast<int>(floorMod(y > 0 ? y - 4 : y - 3, 60));
}

int AnimalIndex(int y)
{
    return static_cast<int>(floorMod(y > 0 ? y - 4 : y - 3, 12));
}

int YearCycleOf(int y, int m, int d)
{
    const bool beforeSpring = DayOfYearNumber(y, m, d) < std::floor(TermDayOfYear(y, 3));
    return YearCycleIndex(beforeSpring ? y - 1 : y);
}

int MonthCycleOf(int y, int m, int d)
{
    // Stem of the month that begins at 立春, by the stem of the year.
    constexpr std::array<int, 10> MonthStemStart = {2, 4, 6, 8, 0, 2, 4, 6, 8, 0};
    const int doy = DayOfYearNumber(y, m, d);
    int cycleYear = y;
    int s = 1;
    if (doy < std::floor(TermDayOfYear(y, 3))) {
        cycleYear = y - 1;
        s = doy < std::floor(TermDayOfYear(y, 1)) ? 11 : 12;
    } else {
        for (int i = 12; i >= 1; --i) {
            if (doy >= std::floor(TermDayOfYear(y, 2 * i + 1))) {
                s = i;
                break;
            }
        }
    }
    int stem = MonthStemStart[YearCycleIndex(cycleYear) % 10] + (s - 1) % 10;
    if (stem >= 10) stem -= 10;
    return CycleIndexOf(stem, (s + 1) % 12);
}

int DayCycleOf(int y, int m, int d)
{
    int g = 0;
    if (y > 1700)
        g = 11 + (y - 1701) / 100 - (y - 1601) / 400;
    else if (CivilKind(y, m, d) == 2)
        g = 10;
    const long long w = 365LL * (y - 1) + DayOfYearNumber(y, m, d) + (y - 1) / 4 - g;
    return static_cast<int>(floorMod(w + 12, 60));
}

int CycleIndexOf(int stem, int branch)
{
    if (stem < 0 || stem > 9 || branch < 0 || branch > 11) return -1;
    for (int i = stem; i < 60; i += 10)
        if (i % 12 == branch) return i;
    return -1;
}

int ConstellationOf(int m, int d)
{
    // month * 100 + day of the first day of each sign, from 宝瓶 on.
    constexpr std::array<int, 12> ConstellationBounds = {120, 219, 321, 421,  521,  622,
                                                         723, 823, 923, 1023, 1123, 1222};
    const int key = 100 * m + d;
    for (int i = 0; i < 11; ++i)
        if (ConstellationBounds[i] <= key && key < ConstellationBounds[i + 1]) return (i + 10) % 12;
    return 9;
}
