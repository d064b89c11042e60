#include "lunarcalc.h"

#include <QTest>

#include <limits>

namespace
{

QString q(const std::string &s)
{
    return QString::fromStdString(s);
}

LunarDate lunar(int y, int m, int d, bool leap = false)
{
    return LunarDate{y, m, d, leap};
}

CivilDate civil(int y, int m, int d)
{
    return CivilDate{y, m, d};
}

CivilDate nextDay(const CivilDate &c)
{
    return *DateFromDayCount(DayCount(c.year, c.month, c.day) + 1);
}

} // namespace

Q_DECLARE_METATYPE(LunarDate)
Q_DECLARE_METATYPE(CivilDate)

class TstLunarCalc : public QObject
{
    Q_OBJECT
private slots:
    void vocabulary_data();
    void vocabulary();
    void leapMonthEntries_data();
    void leapMonthEntries();
    void leapCounts_data();
    void leapCounts();
    void civilCalendar();
    void dayCounts_data();
    void dayCounts();
    void dayCountInverse();
    void compareDates();
    void lunarDates_data();
    void lunarDates();
    void outsideTableYears();
    void lunarToCivil_data();
    void lunarToCivil();
    void walkOf1901To2100();
    void termDayOfYear();
    void termDates_data();
    void termDates();
    void termsOfEveryYear();
    void termShifts_data();
    void termShifts();
    void cycles_data();
    void cycles();
    void dayCycleRunsOn();
    void cycleIndexOf_data();
    void cycleIndexOf();
    void constellations_data();
    void constellations();
};

void TstLunarCalc::vocabulary_data()
{
    QTest::addColumn<QString>("lookup");
    QTest::addColumn<int>("arg");
    QTest::addColumn<QString>("expected");
    QTest::newRow("cycle 0") << "cycle" << 0 << u"甲子"_qs;
    QTest::newRow("cycle 10") << "cycle" << 10 << u"甲戌"_qs;
    QTest::newRow("cycle 40") << "cycle" << 40 << u"甲辰"_qs;
    QTest::newRow("cycle 54") << "cycle" << 54 << u"戊午"_qs;
    QTest::newRow("cycle 59") << "cycle" << 59 << u"癸亥"_qs;
    QTest::newRow("cycle 60") << "cycle" << 60 << QString();
    QTest::newRow("cycle -1") << "cycle" << -1 << QString();
    QTest::newRow("term 0") << "term" << 0 << u"立春"_qs;
    QTest::newRow("term 22") << "term" << 22 << u"小寒"_qs;
    QTest::newRow("term 23") << "term" << 23 << u"大寒"_qs;
    QTest::newRow("term 24") << "term" << 24 << QString();
    QTest::newRow("day 1") << "day" << 1 << u"初一"_qs;
    QTest::newRow("day 10") << "day" << 10 << u"初十"_qs;
    QTest::newRow("day 11") << "day" << 11 << u"十一"_qs;
    QTest::newRow("day 20") << "day" << 20 << u"二十"_qs;
    QTest::newRow("day 21") << "day" << 21 << u"廿一"_qs;
    QTest::newRow("day 29") << "day" << 29 << u"廿九"_qs;
    QTest::newRow("day 30") << "day" << 30 << u"三十"_qs;
    QTest::newRow("day 0") << "day" << 0 << QString();
    QTest::newRow("day 31") << "day" << 31 << QString();
    QTest::newRow("day -1, missing 1582 dates") << "day" << -1 << QString();
    QTest::newRow("animal 4") << "animal" << 4 << u"龙"_qs;
    QTest::newRow("animal 12") << "animal" << 12 << QString();
    QTest::newRow("constellation 0") << "constellation" << 0 << u"白羊"_qs;
    QTest::newRow("constellation 9") << "constellation" << 9 << u"摩羯"_qs;
    QTest::newRow("constellation -1") << "constellation" << -1 << QString();
    QTest::newRow("month 1") << "month" << 1 << u"正"_qs;
    QTest::newRow("month 11") << "month" << 11 << u"冬"_qs;
    QTest::newRow("month 12") << "month" << 12 << u"腊"_qs;
    QTest::newRow("month 13") << "month" << 13 << QString();
}

void TstLunarCalc::vocabulary()
{
    QFETCH(QString, lookup);
    QFETCH(int, arg);
    QFETCH(QString, expected);
    std::string got;
    if (lookup == "cycle") got = CycleName(arg);
    if (lookup == "term") got = TermName(arg);
    if (lookup == "day") got = LunarDayText(arg);
    if (lookup == "animal") got = AnimalName(arg);
    if (lookup == "constellation") got = ConstellationName(arg);
    if (lookup == "month") got = LunarMonthName(arg);
    QCOMPARE(q(got), expected);
}

void TstLunarCalc::leapMonthEntries_data()
{
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("entry");
    QTest::newRow("2017") << 2017 << 6;
    QTest::newRow("2020") << 2020 << 4;
    QTest::newRow("2023") << 2023 << 2;
    QTest::newRow("2024 none") << 2024 << 0;
    QTest::newRow("2025") << 2025 << 6;
    QTest::newRow("2033 eleventh") << 2033 << 11;
    QTest::newRow("first year -849") << -849 << 0;
    QTest::newRow("-848 twelfth") << -848 << 12;
    QTest::newRow("year 0") << 0 << 0;
    QTest::newRow("last year 2100") << 2100 << 0;
    QTest::newRow("2099") << 2099 << 2;
    QTest::newRow("before table") << -850 << -1;
    QTest::newRow("after table") << 2101 << -1;
}

void TstLunarCalc::leapMonthEntries()
{
    QFETCH(int, year);
    QFETCH(int, entry);
    QCOMPARE(LeapMonthEntry(year), entry);
    QCOMPARE(LeapMonthOf(year), entry < 0 ? 0 : entry);
}

void TstLunarCalc::leapCounts_data()
{
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("count");
    QTest::newRow("-849") << -849 << 0;
    QTest::newRow("-848") << -848 << 1;
    QTest::newRow("-1") << -1 << 311;
    QTest::newRow("1") << 1 << 311;
    QTest::newRow("1199") << 1199 << 752;
    QTest::newRow("1200 leap year and bonus") << 1200 << 754;
    QTest::newRow("1499") << 1499 << 864;
    QTest::newRow("1500 bonus ends") << 1500 << 863;
    QTest::newRow("1900") << 1900 << 1011;
    QTest::newRow("2000") << 2000 << 1047;
    QTest::newRow("2100") << 2100 << 1084;
}

void TstLunarCalc::leapCounts()
{
    QFETCH(int, year);
    QFETCH(int, count);
    QCOMPARE(LeapCount(year), count);
}

void TstLunarCalc::civilCalendar()
{
    QCOMPARE(CivilKind(1582, 10, 4), 1);
    QCOMPARE(CivilKind(1582, 10, 5), 0);
    QCOMPARE(CivilKind(1582, 10, 14), 0);
    QCOMPARE(CivilKind(1582, 10, 15), 2);
    QCOMPARE(CivilKind(1581, 12, 31), 1);

    QVERIFY(IsLeapCivilYear(2000));
    QVERIFY(!IsLeapCivilYear(1900));
    QVERIFY(IsLeapCivilYear(1500)); // Julian
    QVERIFY(!IsLeapCivilYear(1582));
    QVERIFY(IsLeapCivilYear(0));
    QVERIFY(IsLeapCivilYear(-1));
    QVERIFY(IsLeapCivilYear(-5));
    QVERIFY(!IsLeapCivilYear(-4));

    QCOMPARE(MonthLength(1900, 2), 28);
    QCOMPARE(MonthLength(1500, 2), 29);
    QCOMPARE(MonthLength(1582, 10), 31);
    QCOMPARE(MonthLength(2024, 4), 30);
    QCOMPARE(MonthLength(2024, 0), 0);
    QCOMPARE(MonthLength(2024, 13), 0);

    QCOMPARE(DayOfYearNumber(2024, 1, 0), 0);
    QCOMPARE(DayOfYearNumber(2024, 3, 1), 61);
    QCOMPARE(DayOfYearNumber(2023, 12, 31), 365);
}

void TstLunarCalc::dayCounts_data()
{
    QTest::addColumn<CivilDate>("date");
    QTest::addColumn<int>("count");
    QTest::newRow("2000-01-01") << civil(2000, 1, 1) << 730120;
    QTest::newRow("0001-01-01") << civil(1, 1, 1) << -1;
    QTest::newRow("epoch -849-01-21") << civil(-849, 1, 21) << -310443;
    QTest::newRow("last Julian day") << civil(1582, 10, 4) << 577735;
    QTest::newRow("first Gregorian day") << civil(1582, 10, 15) << 577736;
    QTest::newRow("missing 1582-10-10") << civil(1582, 10, 10) << 0;
    QTest::newRow("day 0 of 2024") << civil(2024, 1, 0) << DayCount(2023, 12, 31);
}

void TstLunarCalc::dayCounts()
{
    QFETCH(CivilDate, date);
    QFETCH(int, count);
    QCOMPARE(DayCount(date.year, date.month, date.day), count);
}

void TstLunarCalc::dayCountInverse()
{
    QVERIFY(!DateFromDayCount(-2));
    QCOMPARE(*DateFromDayCount(577735), civil(1582, 10, 4));
    QCOMPARE(*DateFromDayCount(577736), civil(1582, 10, 15));
    QVERIFY(DateFromDayCount(std::numeric_limits<int>::max()));
    // Every count from year 1 to 2101 names one existing date, in calendar order. (QVERIFY
    // per step is costly in a loop this long; the first fault is reported instead.)
    CivilDate prev = *DateFromDayCount(-1);
    QCOMPARE(prev, civil(1, 1, 1));
    const int last = DayCount(2101, 12, 31);
    for (int n = 0; n <= last; ++n) {
        const auto c = DateFromDayCount(n);
        if (!c || CivilKind(c->year, c->month, c->day) == 0 || c->day < 1 ||
            c->day > MonthLength(c->year, c->month) || DayCount(c->year, c->month, c->day) != n ||
            CompareCivilDates(prev, *c) != -1)
            QFAIL(qPrintable(QStringLiteral("day count %1").arg(n)));
        prev = *c;
    }
}

void TstLunarCalc::compareDates()
{
    QCOMPARE(CompareCivilDates(civil(2024, 2, 10), civil(2024, 2, 10)), 0);
    QCOMPARE(CompareCivilDates(civil(2024, 2, 10), civil(2024, 3, 1)), -1);
    QCOMPARE(CompareCivilDates(civil(2025, 1, 1), civil(2024, 12, 31)), 1);
    // A leap month follows the ordinary month of its number, whatever the days.
    QCOMPARE(CompareLunarDates(lunar(2023, 2, 30), lunar(2023, 2, 1, true)), -1);
    QCOMPARE(CompareLunarDates(lunar(2023, 2, 1, true), lunar(2023, 2, 30)), 1);
    QCOMPARE(CompareLunarDates(lunar(2023, 2, 1, true), lunar(2023, 2, 1, true)), 0);
    QCOMPARE(CompareLunarDates(lunar(2023, 2, 5, true), lunar(2023, 3, 1)), -1);
    QCOMPARE(CompareLunarDates(lunar(2022, 12, 30), lunar(2023, 1, 1)), -1);
}

void TstLunarCalc::lunarDates_data()
{
    QTest::addColumn<CivilDate>("date");
    QTest::addColumn<LunarDate>("expected");
    QTest::newRow("2024 春节") << civil(2024, 2, 10) << lunar(2024, 1, 1);
    QTest::newRow("2024 除夕") << civil(2024, 2, 9) << lunar(2023, 12, 30);
    QTest::newRow("2023 before leap") << civil(2023, 3, 21) << lunar(2023, 2, 30);
    QTest::newRow("2023 leap second") << civil(2023, 3, 22) << lunar(2023, 2, 1, true);
    QTest::newRow("2023 after leap") << civil(2023, 4, 20) << lunar(2023, 3, 1);
    QTest::newRow("2020 leap fourth") << civil(2020, 5, 23) << lunar(2020, 4, 1, true);
    QTest::newRow("2025 leap sixth") << civil(2025, 7, 25) << lunar(2025, 6, 1, true);
    QTest::newRow("2033 leap eleventh") << civil(2033, 12, 22) << lunar(2033, 11, 1, true);
    QTest::newRow("2034 new year") << civil(2034, 2, 19) << lunar(2034, 1, 1);
    QTest::newRow("1900 new year") << civil(1900, 1, 31) << lunar(1900, 1, 1);
    QTest::newRow("2100 new year") << civil(2100, 2, 9) << lunar(2100, 1, 1);
    QTest::newRow("2100 before new year") << civil(2100, 1, 15) << lunar(2099, 12, 6);
    QTest::newRow("2011-06-30") << civil(2011, 6, 30) << lunar(2011, 5, 29);
    QTest::newRow("last Julian day") << civil(1582, 10, 4) << lunar(1582, 9, 18);
    QTest::newRow("first Gregorian day") << civil(1582, 10, 15) << lunar(1582, 9, 19);
    QTest::newRow("year 1") << civil(1, 1, 1) << lunar(0, 11, 19);
    // No 2025 correction: the fourth month begins on the computed new moon.
    QTest::newRow("2025-04-27") << civil(2025, 4, 27) << lunar(2025, 3, 30);
    QTest::newRow("2025-04-28") << civil(2025, 4, 28) << lunar(2025, 4, 1);
    QTest::newRow("2025-04-06") << civil(2025, 4, 6) << lunar(2025, 3, 9);
    QTest::newRow("2025-04-07") << civil(2025, 4, 7) << lunar(2025, 3, 10);

    // Corrected months: the day before, the first and the last day of each span, the day after.
    QTest::newRow("1914 before") << civil(1914, 11, 16) << lunar(1914, 9, 29);
    QTest::newRow("1914 first") << civil(1914, 11, 17) << lunar(1914, 10, 1);
    QTest::newRow("1914 last") << civil(1914, 12, 16) << lunar(1914, 10, 30);
    QTest::newRow("1914 after") << civil(1914, 12, 17) << lunar(1914, 11, 1);
    QTest::newRow("1916 before") << civil(1916, 2, 2) << lunar(1915, 12, 29);
    QTest::newRow("1916 春节") << civil(1916, 2, 3) << lunar(1916, 1, 1);
    QTest::newRow("1916 last") << civil(1916, 3, 3) << lunar(1916, 1, 30);
    QTest::newRow("1916 after") << civil(1916, 3, 4) << lunar(1916, 2, 1);
    QTest::newRow("1920 before") << civil(1920, 11, 9) << lunar(1920, 9, 29);
    QTest::newRow("1920 first") << civil(1920, 11, 10) << lunar(1920, 10, 1);
    QTest::newRow("1920 last") << civil(1920, 12, 9) << lunar(1920, 10, 30);
    QTest::newRow("1920 after") << civil(1920, 12, 10) << lunar(1920, 11, 1);
    QTest::newRow("1924 before") << civil(1924, 3, 4) << lunar(1924, 1, 29);
    QTest::newRow("1924 first") << civil(1924, 3, 5) << lunar(1924, 2, 1);
    QTest::newRow("1924 last") << civil(1924, 4, 3) << lunar(1924, 2, 30);
    QTest::newRow("1924 after") << civil(1924, 4, 4) << lunar(1924, 3, 1);
    QTest::newRow("2018 before") << civil(2018, 11, 6) << lunar(2018, 9, 29);
    QTest::newRow("2018 first") << civil(2018, 11, 7) << lunar(2018, 9, 30);
    QTest::newRow("2018 tenth month") << civil(2018, 11, 8) << lunar(2018, 10, 1);
    QTest::newRow("2018 last") << civil(2018, 12, 6) << lunar(2018, 10, 29);
    QTest::newRow("2018 after") << civil(2018, 12, 7) << lunar(2018, 11, 1);
    QTest::newRow("2057 before") << civil(2057, 9, 27) << lunar(2057, 8, 29);
    QTest::newRow("2057 first") << civil(2057, 9, 28) << lunar(2057, 8, 30);
    QTest::newRow("2057 ninth month") << civil(2057, 9, 29) << lunar(2057, 9, 1);
    QTest::newRow("2057 last") << civil(2057, 10, 27) << lunar(2057, 9, 29);
    QTest::newRow("2057 after") << civil(2057, 10, 28) << lunar(2057, 10, 1);
}

void TstLunarCalc::lunarDates()
{
    QFETCH(CivilDate, date);
    QFETCH(LunarDate, expected);
    const auto got = LunarDateOf(date.year, date.month, date.day);
    QVERIFY(got);
    QCOMPARE(*got, expected);
    const auto md = LunarMonthDayOf(date.year, date.month, date.day);
    QVERIFY(md);
    QCOMPARE(*md, (LunarMonthDay{expected.month, expected.day, expected.leap}));
    QCOMPARE(LunarDayOf(date.year, date.month, date.day), expected.day);
    QCOMPARE(LunarMonthOf(date.year, date.month, date.day),
             expected.leap ? -expected.month : expected.month);
}

void TstLunarCalc::outsideTableYears()
{
    QVERIFY(!LunarDateOf(2101, 1, 1));
    QVERIFY(!LunarDateOf(2101, 12, 31));
    QVERIFY(!LunarMonthDayOf(2101, 6, 1));
    QVERIFY(!LunarDateOf(-850, 6, 1));
    QVERIFY(LunarMonthDayOf(-849, 6, 1));
    // The ten dropped days of the reform have day count 0: no new moon before it.
    QCOMPARE(LunarDayOf(1582, 10, 10), -1);
    const auto md = LunarMonthDayOf(1582, 10, 10);
    QVERIFY(md);
    QCOMPARE(md->day, -1);
}

void TstLunarCalc::lunarToCivil_data()
{
    QTest::addColumn<LunarDate>("date");
    QTest::addColumn<bool>("found");
    QTest::addColumn<CivilDate>("expected");
    QTest::newRow("2024 春节") << lunar(2024, 1, 1) << true << civil(2024, 2, 10);
    QTest::newRow("2023 last day") << lunar(2023, 12, 30) << true << civil(2024, 2, 9);
    QTest::newRow("2023 leap second") << lunar(2023, 2, 1, true) << true << civil(2023, 3, 22);
    QTest::newRow("2023 ordinary second") << lunar(2023, 2, 30) << true << civil(2023, 3, 21);
    QTest::newRow("2033 leap eleventh") << lunar(2033, 11, 1, true) << true << civil(2033, 12, 22);
    QTest::newRow("1916 春节") << lunar(1916, 1, 1) << true << civil(1916, 2, 3);
    QTest::newRow("2100 春节") << lunar(2100, 1, 1) << true << civil(2100, 2, 9);
    QTest::newRow("2024 has no leap month") << lunar(2024, 4, 1, true) << false << CivilDate{};
    QTest::newRow("2023 leap is the second") << lunar(2023, 3, 1, true) << false << CivilDate{};
    QTest::newRow("no day 30 in 2024-01") << lunar(2024, 1, 30) << false << CivilDate{};
    QTest::newRow("day 31") << lunar(2024, 5, 31) << false << CivilDate{};
    QTest::newRow("lunar year 0 in year 1") << lunar(0, 11, 19) << true << civil(1, 1, 1);
    QTest::newRow("after the table") << lunar(2101, 1, 1) << false << CivilDate{};
    QTest::newRow("far outside") << lunar(std::numeric_limits<int>::max(), 1, 1) << false
                                 << CivilDate{};
}

void TstLunarCalc::lunarToCivil()
{
    QFETCH(LunarDate, date);
    QFETCH(bool, found);
    QFETCH(CivilDate, expected);
    const auto got = LunarToCivil(date);
    QCOMPARE(bool(got), found);
    if (found) QCOMPARE(*got, expected);
}

void TstLunarCalc::walkOf1901To2100()
{
    CivilDate day = civil(1901, 1, 1);
    LunarDate prev = *LunarDateOf(1901, 1, 1);
    for (; day.year <= 2100; day = nextDay(day)) {
        const auto got = LunarDateOf(day.year, day.month, day.day);
        if (!got) QFAIL("no lunar date");
        const LunarDate l = *got;
        if (!(day == civil(1901, 1, 1))) {
            if (l.day == 1) {
                // A month ends after day 29 or 30 and is followed by the leap month of its
                // number, or by the next ordinary month (the next year after the twelfth).
                const bool intoLeap = l.leap && !prev.leap && l.month == prev.month &&
                                      l.year == prev.year && LeapMonthOf(l.year) == l.month;
                const bool intoNext = !l.leap && l.month == prev.month % 12 + 1 &&
                                      l.year == prev.year + (l.month == 1 ? 1 : 0);
                if (!((prev.day == 29 || prev.day == 30) && (intoLeap || intoNext)))
                    QFAIL(qPrintable(QStringLiteral("%1-%2-%3 starts a month out of turn")
                                         .arg(day.year)
                                         .arg(day.month)
                                         .arg(day.day)));
            } else if (!(l.day == prev.day + 1 && l.month == prev.month && l.leap == prev.leap &&
                         l.year == prev.year)) {
                QFAIL(qPrintable(QStringLiteral("%1-%2-%3 does not follow the day before")
                                     .arg(day.year)
                                     .arg(day.month)
                                     .arg(day.day)));
            }
        }
        if (const auto back = LunarToCivil(l); back && !(*back == day))
            QFAIL(qPrintable(QStringLiteral("%1-%2-%3 round trip gives %4-%5-%6")
                                 .arg(day.year)
                                 .arg(day.month)
                                 .arg(day.day)
                                 .arg(back->year)
                                 .arg(back->month)
                                 .arg(back->day)));
        prev = l;
    }
}

void TstLunarCalc::termDayOfYear()
{
    QCOMPARE(qRound(TermDayOfYear(2024, 0) * 100), -853);
    QCOMPARE(qRound(TermDayOfYear(2024, 1) * 100), 620);
    QCOMPARE(qRound(TermDayOfYear(2024, 3) * 100), 3568);
    QCOMPARE(qRound(TermDayOfYear(2024, 24) * 100), 35672);
    QCOMPARE(qRound(TermDayOfYear(2024, 25) * 100), 37144);
}

void TstLunarCalc::termDates_data()
{
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("index"); // into TermNames
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("day");
    QTest::newRow("小寒 2024") << 2024 << 22 << 1 << 6;
    QTest::newRow("大寒 2024") << 2024 << 23 << 1 << 20;
    QTest::newRow("立春 2024") << 2024 << 0 << 2 << 4;
    QTest::newRow("雨水 2024") << 2024 << 1 << 2 << 19;
    QTest::newRow("清明 2024") << 2024 << 4 << 4 << 4;
    QTest::newRow("夏至 2024") << 2024 << 9 << 6 << 21;
    QTest::newRow("大雪 2024") << 2024 << 20 << 12 << 6;
    QTest::newRow("冬至 2024") << 2024 << 21 << 12 << 21;
    QTest::newRow("立春 2025") << 2025 << 0 << 2 << 3;
    QTest::newRow("冬至 2023") << 2023 << 21 << 12 << 22;
    // A moment late on a month's last day belongs to that day, not to "day 0" of the next.
    QTest::newRow("寒露 1487 on 30 September") << 1487 << 16 << 9 << 30;
}

void TstLunarCalc::termDates()
{
    QFETCH(int, year);
    QFETCH(int, index);
    QFETCH(int, month);
    QFETCH(int, day);
    // TermDate counts from 小寒 (its i is term n - 1), TermNames from 立春.
    const auto got = TermDate(year, (index + 2) % 24);
    QVERIFY(got);
    QCOMPARE(*got, (TermMonthDay{month, day}));
    QCOMPARE(q(SolarTermText(year, month, day)), q(TermName(index)));
    const CivilDate next = nextDay(civil(year, month, day));
    QCOMPARE(q(SolarTermText(next.year, next.month, next.day)), QString());
    QVERIFY(!TermDate(year, 24));
    QVERIFY(!TermDate(year, -1));
}

void TstLunarCalc::termsOfEveryYear()
{
    // Every term falls once a year. Before the reform the Julian dates lag the seasons, so
    // terms cross into the month before and 小寒 can fall in the December before or after.
    for (int y = 1; y <= 2100; ++y) {
        QMap<QString, int> seen;
        for (int m = 1; m <= 12; ++m)
            for (int d = 1; d <= MonthLength(y, m); ++d)
                if (const QString name = q(SolarTermText(y, m, d)); !name.isEmpty()) ++seen[name];
        for (int i = 0; i < 24; ++i) {
            const int count = seen.value(q(TermName(i)));
            const bool ok = (y < 1582 && i == 22) ? count <= 2 : count == 1;
            if (!ok)
                QFAIL(qPrintable(
                    QStringLiteral("%1 has %2 times %3").arg(y).arg(count).arg(q(TermName(i)))));
        }
    }
}

void TstLunarCalc::termShifts_data()
{
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("n"); // astronomical term number, 1 = 小寒
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("day");
    QTest::newRow("立夏 1911") << 1911 << 9 << 5 << 7;
    QTest::newRow("寒露 1912") << 1912 << 19 << 10 << 9;
    QTest::newRow("雨水 1923") << 1923 << 4 << 2 << 19;
    QTest::newRow("白露 1927") << 1927 << 17 << 9 << 9;
    QTest::newRow("夏至 1928") << 1928 << 12 << 6 << 22;
    QTest::newRow("大寒 1979") << 1979 << 2 << 1 << 20;
    QTest::newRow("小暑 2016") << 2016 << 13 << 7 << 7;
    QTest::newRow("大雪 2020") << 2020 << 23 << 12 << 7;
    QTest::newRow("秋分 2037") << 2037 << 18 << 9 << 23;
    QTest::newRow("寒露 2040") << 2040 << 19 << 10 << 8;
    QTest::newRow("大暑 2042") << 2042 << 14 << 7 << 23;
    QTest::newRow("春分 2051") << 2051 << 6 << 3 << 20;
    QTest::newRow("雨水 2059") << 2059 << 4 << 2 << 19;
    QTest::newRow("立春 2083") << 2083 << 3 << 2 << 3;
    QTest::newRow("春分 2084") << 2084 << 6 << 3 << 19;
    QTest::newRow("小寒 2085") << 2085 << 1 << 1 << 4;
    QTest::newRow("立夏 2097") << 2097 << 9 << 5 << 5;
}

void TstLunarCalc::termShifts()
{
    QFETCH(int, year);
    QFETCH(int, n);
    QFETCH(int, month);
    QFETCH(int, day);
    QCOMPARE(*TermDate(year, n - 1), (TermMonthDay{month, day}));
    const QString name = q(TermName((n + 21) % 24));
    QCOMPARE(q(SolarTermText(year, month, day)), name);
    const int count = DayCount(year, month, day);
    for (const int neighbour : {count - 1, count + 1}) {
        const CivilDate c = *DateFromDayCount(neighbour);
        QCOMPARE(q(SolarTermText(c.year, c.month, c.day)), QString());
    }
    // The odd terms begin the solar months, and 立春 the cycle year.
    if (n % 2 == 1) {
        const CivilDate before = *DateFromDayCount(count - 1);
        QCOMPARE(MonthCycleOf(year, month, day),
                 (MonthCycleOf(before.year, before.month, before.day) + 1) % 60);
    }
    if (n == 3) {
        QCOMPARE(YearCycleOf(year, month, day), YearCycleIndex(year));
        QCOMPARE(YearCycleOf(year, month, day - 1), YearCycleIndex(year - 1));
    }
}

void TstLunarCalc::cycles_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<CivilDate>("date");
    QTest::addColumn<int>("index");
    QTest::newRow("year 2024-02-03") << "year" << civil(2024, 2, 3) << 39;
    QTest::newRow("year 2024-02-04") << "year" << civil(2024, 2, 4) << 40;
    QTest::newRow("month 2024-01-05") << "month" << civil(2024, 1, 5) << 0;
    QTest::newRow("month 2024-01-06") << "month" << civil(2024, 1, 6) << 1;
    QTest::newRow("month 2024-02-03") << "month" << civil(2024, 2, 3) << 1;
    QTest::newRow("month 2024-02-04") << "month" << civil(2024, 2, 4) << 2;
    QTest::newRow("month 2024-03-05") << "month" << civil(2024, 3, 5) << 3;
    QTest::newRow("month 2024-12-06") << "month" << civil(2024, 12, 6) << 12;
    QTest::newRow("month 2024-12-31") << "month" << civil(2024, 12, 31) << 12;
    QTest::newRow("month 2011-06-30") << "month" << civil(2011, 6, 30) << 30;
    QTest::newRow("day 2000-01-01") << "day" << civil(2000, 1, 1) << 54;
    QTest::newRow("day 1949-10-01") << "day" << civil(1949, 10, 1) << 0;
    QTest::newRow("day 1582-10-04") << "day" << civil(1582, 10, 4) << 9;
    QTest::newRow("day 1582-10-15") << "day" << civil(1582, 10, 15) << 10;
    QTest::newRow("day 1700-12-31") << "day" << civil(1700, 12, 31) << DayCycleOf(1701, 1, 1) - 1;
}

void TstLunarCalc::cycles()
{
    QFETCH(QString, kind);
    QFETCH(CivilDate, date);
    QFETCH(int, index);
    int got = -1;
    if (kind == "year") got = YearCycleOf(date.year, date.month, date.day);
    if (kind == "month") got = MonthCycleOf(date.year, date.month, date.day);
    if (kind == "day") got = DayCycleOf(date.year, date.month, date.day);
    QCOMPARE(got, index);
}

void TstLunarCalc::dayCycleRunsOn()
{
    QCOMPARE(YearCycleIndex(2024), 40);
    QCOMPARE(YearCycleIndex(4), 0);
    QCOMPARE(YearCycleIndex(1), 57);
    QCOMPARE(YearCycleIndex(-1), 56);
    QCOMPARE(AnimalIndex(2024), 4);
    QCOMPARE(AnimalIndex(-1), 8);
    // The day cycle has its own formula; it must step by one across the reform and every
    // century rule.
    int prev = DayCycleOf(1, 1, 1);
    for (int n = 0; n <= DayCount(2100, 12, 31); ++n) {
        const CivilDate c = *DateFromDayCount(n);
        const int cycle = DayCycleOf(c.year, c.month, c.day);
        if (cycle != (prev + 1) % 60)
            QFAIL(qPrintable(QStringLiteral("%1-%2-%3").arg(c.year).arg(c.month).arg(c.day)));
        prev = cycle;
    }
}

void TstLunarCalc::cycleIndexOf_data()
{
    QTest::addColumn<int>("stem");
    QTest::addColumn<int>("branch");
    QTest::addColumn<int>("index");
    QTest::newRow("甲子") << 0 << 0 << 0;
    QTest::newRow("丙寅") << 2 << 2 << 2;
    QTest::newRow("甲辰") << 0 << 4 << 40;
    QTest::newRow("癸亥") << 9 << 11 << 59;
    QTest::newRow("mixed parity") << 0 << 1 << -1;
    QTest::newRow("stem 10") << 10 << 0 << -1;
    QTest::newRow("branch 12") << 0 << 12 << -1;
    QTest::newRow("negative") << -1 << 0 << -1;
}

void TstLunarCalc::cycleIndexOf()
{
    QFETCH(int, stem);
    QFETCH(int, branch);
    QFETCH(int, index);
    QCOMPARE(CycleIndexOf(stem, branch), index);
}

void TstLunarCalc::constellations_data()
{
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("day");
    QTest::addColumn<QString>("name");
    QTest::newRow("01-01") << 1 << 1 << u"摩羯"_qs;
    QTest::newRow("01-19") << 1 << 19 << u"摩羯"_qs;
    QTest::newRow("01-20") << 1 << 20 << u"宝瓶"_qs;
    QTest::newRow("02-18") << 2 << 18 << u"宝瓶"_qs;
    QTest::newRow("02-19") << 2 << 19 << u"双鱼"_qs;
    QTest::newRow("03-20") << 3 << 20 << u"双鱼"_qs;
    QTest::newRow("03-21") << 3 << 21 << u"白羊"_qs;
    QTest::newRow("06-21") << 6 << 21 << u"双子"_qs;
    QTest::newRow("06-22") << 6 << 22 << u"巨蟹"_qs;
    QTest::newRow("06-30") << 6 << 30 << u"巨蟹"_qs;
    QTest::newRow("12-21") << 12 << 21 << u"射手"_qs;
    QTest::newRow("12-22") << 12 << 22 << u"摩羯"_qs;
    QTest::newRow("12-31") << 12 << 31 << u"摩羯"_qs;
}

void TstLunarCalc::constellations()
{
    QFETCH(int, month);
    QFETCH(int, day);
    QFETCH(QString, name);
    QCOMPARE(q(ConstellationName(ConstellationOf(month, day))), name);
}

QTEST_APPLESS_MAIN(TstLunarCalc)
#include "tst_lunarcalc.moc"
