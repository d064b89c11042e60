#include "chncalendaruse.h"
#include "eraindex.h"

#include <QTest>

#include <cmath>
#include <limits>

namespace
{

QString q(const std::string &s)
{
    return QString::fromStdString(s);
}

double value(int y, int m, int d)
{
    return ValueOfCivilDate(y, m, d);
}

// Every field of a filled object, in declaration order, as "Name=value".
QStringList fields(const TChnCal &c)
{
    return {QStringLiteral("LunarYearNo=%1").arg(c.LunarYearNo),
            QStringLiteral("LunarMonthNo=%1").arg(c.LunarMonthNo),
            QStringLiteral("DateValue=%1").arg(c.DateValue, 0, 'g', 17),
            "SolarTerm=" + q(c.SolarTerm),
            "Holiday=" + q(c.Holiday),
            "CnMonthText=" + q(c.CnMonthText),
            "DayCycle=" + q(c.DayCycle),
            "YearCycle=" + q(c.YearCycle),
            "MonthCycle=" + q(c.MonthCycle),
            "CnHoliday=" + q(c.CnHoliday),
            "LunarYearText=" + q(c.LunarYearText),
            "CnDayText=" + q(c.CnDayText),
            "Animal=" + q(c.Animal),
            "Constellation=" + q(c.Constellation),
            "EraText=" + q(c.EraText)};
}

} // namespace

class TstChnCalendarUse : public QObject
{
    Q_OBJECT
private slots:
    void civilDateOfValue_data();
    void civilDateOfValue();
    void valueRoundTrip();
    void fillDayInfo_data();
    void fillDayInfo();
    void fillDayInfoOutOfRange_data();
    void fillDayInfoOutOfRange();
    void fillDayInfoTwice();
    void holidays_data();
    void holidays();
    void lunarHolidays_data();
    void lunarHolidays();
    void lunarHolidayFromValue();
    void eraTexts_data();
    void eraTexts();
    void eraOffsetNotApplied();
    void eraIndexRules();
    void fieldOf_data();
    void fieldOf();
};

void TstChnCalendarUse::civilDateOfValue_data()
{
    QTest::addColumn<double>("dateValue");
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("day");
    QTest::newRow("epoch") << 0.0 << 1899 << 12 << 30;
    QTest::newRow("1900-01-01") << 2.0 << 1900 << 1 << 1;
    QTest::newRow("time of day ignored") << 45336.75 << 2024 << 2 << 14;
    QTest::newRow("before the epoch floors") << -0.25 << 1899 << 12 << 29;
    QTest::newRow("year 1") << -693593.0 << 1 << 1 << 1;
    // Proleptic Gregorian: no reform gap in the values.
    QTest::newRow("1582-10-05") << -115868.0 << 1582 << 10 << 5;
    QTest::newRow("9999-12-31") << 2958465.0 << 9999 << 12 << 31;
}

void TstChnCalendarUse::civilDateOfValue()
{
    QFETCH(double, dateValue);
    QFETCH(int, year);
    QFETCH(int, month);
    QFETCH(int, day);
    QCOMPARE(CivilDateOfValue(dateValue), (CivilDate{year, month, day}));
}

void TstChnCalendarUse::valueRoundTrip()
{
    // Consecutive values decode to consecutive proleptic Gregorian dates over 1 ... 9999.
    CivilDate prev = CivilDateOfValue(-693594);
    QCOMPARE(prev, (CivilDate{0, 12, 31}));
    for (double v = -693593; v <= 2958465; v += 1) {
        const CivilDate c = CivilDateOfValue(v);
        const bool leap = (c.year % 4 == 0 && c.year % 100 != 0) || c.year % 400 == 0;
        const int lengths[] = {31, leap ? 29 : 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
        const bool follows =
            (c.year == prev.year && c.month == prev.month && c.day == prev.day + 1) ||
            (c.year == prev.year && c.month == prev.month + 1 && c.day == 1) ||
            (c.year == prev.year + 1 && c.month == 1 && c.day == 1);
        if (!follows || c.day > lengths[c.month - 1] ||
            ValueOfCivilDate(c.year, c.month, c.day) != v)
            QFAIL(qPrintable(QStringLiteral("value %1").arg(v)));
        prev = c;
    }
}

void TstChnCalendarUse::fillDayInfo_data()
{
    QTest::addColumn<double>("dateValue");
    QTest::addColumn<QStringList>("expected"); // the fields checked
    QTest::newRow("2011-06-30") << value(2011, 6, 30)
                                << QStringList{"LunarYearNo=2011",   "LunarMonthNo=5",
                                               "LunarYearText=2011", u"CnMonthText=五月"_qs,
                                               u"CnDayText=廿九"_qs, u"YearCycle=辛卯"_qs,
                                               u"Animal=兔"_qs,      u"Constellation=巨蟹"_qs,
                                               u"DayCycle=丙辰"_qs,  u"MonthCycle=甲午"_qs,
                                               "EraText=",           "SolarTerm=",
                                               "Holiday=",           "CnHoliday="};
    QTest::newRow("2023 leap second month")
        << value(2023, 3, 22)
        << QStringList{u"CnMonthText=闰二"_qs, u"CnDayText=初一"_qs, "LunarMonthNo=2",
                       "LunarYearNo=2023"};
    QTest::newRow("day before the leap month")
        << value(2023, 3, 21) << QStringList{u"CnMonthText=二月"_qs, u"CnDayText=三十"_qs};
    QTest::newRow("2024 立春") << value(2024, 2, 4)
                               << QStringList{u"SolarTerm=立春"_qs, u"YearCycle=甲辰"_qs,
                                              u"Animal=兔"_qs,      u"MonthCycle=丙寅"_qs,
                                              "LunarYearNo=2023",   u"CnMonthText=腊月"_qs};
    QTest::newRow("2024 除夕") << value(2024, 2, 9)
                               << QStringList{u"CnHoliday=除夕"_qs, u"CnDayText=三十"_qs};
    QTest::newRow("2024 春节") << value(2024, 2, 10)
                               << QStringList{u"CnHoliday=春节"_qs, u"CnMonthText=正月"_qs,
                                              u"Animal=龙"_qs, "LunarYearText=2024"};
    QTest::newRow("1916 春节 corrected") << value(1916, 2, 3) << QStringList{u"CnHoliday=春节"_qs};
    QTest::newRow("1916 除夕 corrected") << value(1916, 2, 2) << QStringList{u"CnHoliday=除夕"_qs};
    QTest::newRow("2009 端午节") << value(2009, 5, 28)
                                 << QStringList{u"CnHoliday=端午节"_qs, u"CnMonthText=五月"_qs};
    // The leap fifth month repeats the number, not the festival.
    QTest::newRow("2009 leap fifth, fifth day")
        << value(2009, 6, 27)
        << QStringList{"CnHoliday=", u"CnMonthText=闰五"_qs, u"CnDayText=初五"_qs};
    QTest::newRow("2025 leap sixth, seventh day")
        << value(2025, 7, 31) << QStringList{"CnHoliday=", u"CnMonthText=闰六"_qs};
    QTest::newRow("2025 七夕节") << value(2025, 8, 29) << QStringList{u"CnHoliday=七夕节"_qs};
    QTest::newRow("2024 中秋节 over 教师节 day")
        << value(2024, 9, 17) << QStringList{u"CnHoliday=中秋节"_qs, "Holiday="};
    QTest::newRow("2016 小暑 shifted") << value(2016, 7, 7) << QStringList{u"SolarTerm=小暑"_qs};
    QTest::newRow("2016 day before 小暑") << value(2016, 7, 6) << QStringList{"SolarTerm="};
    QTest::newRow("2083 立春 shifted")
        << value(2083, 2, 3) << QStringList{u"SolarTerm=立春"_qs, u"YearCycle=癸卯"_qs};
    QTest::newRow("2083 day before 立春")
        << value(2083, 2, 2) << QStringList{"SolarTerm=", u"YearCycle=壬寅"_qs};
    QTest::newRow("1979 大寒 shifted") << value(1979, 1, 20) << QStringList{u"SolarTerm=大寒"_qs};
    QTest::newRow("1979 day after 大寒") << value(1979, 1, 21) << QStringList{"SolarTerm="};
    QTest::newRow("2057 八月三十")
        << value(2057, 9, 28) << QStringList{u"CnMonthText=八月"_qs, u"CnDayText=三十"_qs};
    QTest::newRow("2057 九月初一")
        << value(2057, 9, 29) << QStringList{u"CnMonthText=九月"_qs, u"CnDayText=初一"_qs};
    QTest::newRow("2025-04-28 四月初一")
        << value(2025, 4, 28) << QStringList{u"CnMonthText=四月"_qs, u"CnDayText=初一"_qs};
    QTest::newRow("1911 era") << value(1911, 10, 10)
                              << QStringList{u"EraText=[近、现代]中华民国  民国元年"_qs};
    QTest::newRow("1949 no era") << value(1949, 10, 1)
                                 << QStringList{"EraText=", u"DayCycle=甲子"_qs};
    QTest::newRow("mother's day") << value(2024, 5, 12) << QStringList{u"Holiday=母亲节"_qs};
    QTest::newRow("time of day") << value(2024, 2, 10) + 0.99
                                 << QStringList{u"CnHoliday=春节"_qs,
                                                "DateValue=45332.989999999998"};
}

void TstChnCalendarUse::fillDayInfo()
{
    QFETCH(double, dateValue);
    QFETCH(QStringList, expected);
    TChnCal cal;
    FillDayInfo(cal, dateValue);
    const QStringList got = fields(cal);
    for (const QString &field : expected) {
        const QString name = field.section('=', 0, 0) + '=';
        const auto it = std::find_if(got.begin(), got.end(),
                                     [&](const QString &g) { return g.startsWith(name); });
        QVERIFY(it != got.end());
        QCOMPARE(*it, field);
    }
}

void TstChnCalendarUse::fillDayInfoOutOfRange_data()
{
    QTest::addColumn<double>("dateValue");
    QTest::newRow("2101-01-01") << value(2101, 1, 1);
    QTest::newRow("9999-12-31") << value(9999, 12, 31);
    QTest::newRow("before year 1") << value(1, 1, 1) - 1;
    QTest::newRow("NaN") << std::numeric_limits<double>::quiet_NaN();
    QTest::newRow("infinity") << std::numeric_limits<double>::infinity();
    QTest::newRow("huge") << 1e300;
}

void TstChnCalendarUse::fillDayInfoOutOfRange()
{
    QFETCH(double, dateValue);
    TChnCal cal;
    FillDayInfo(cal, value(2024, 2, 10));
    QStringList before = fields(cal);
    FillDayInfo(cal, dateValue);
    QStringList after = fields(cal);
    // Only DateValue follows the call; everything else keeps the previous date's content.
    QCOMPARE(std::isnan(cal.DateValue), std::isnan(dateValue));
    if (!std::isnan(dateValue)) QCOMPARE(cal.DateValue, dateValue);
    before.removeAt(2);
    after.removeAt(2);
    QCOMPARE(after, before);
    QVERIFY(!LunarDateOfValue(dateValue));
}

void TstChnCalendarUse::fillDayInfoTwice()
{
    const double dates[] = {value(2011, 6, 30), value(1911, 10, 10), value(2023, 3, 22),
                            value(2024, 2, 9),  value(2024, 5, 12),  value(2101, 1, 1)};
    for (const double first : dates) {
        TChnCal a;
        FillDayInfo(a, first);
        const QStringList expected = fields(a);
        for (const double between : dates) {
            TChnCal b;
            FillDayInfo(b, first);
            FillDayInfo(b, between);
            FillDayInfo(b, first);
            if (first != value(2101, 1, 1)) QCOMPARE(fields(b), expected);
        }
    }
}

void TstChnCalendarUse::holidays_data()
{
    QTest::addColumn<double>("dateValue");
    QTest::addColumn<QString>("name");
    QTest::newRow("元旦节") << value(2024, 1, 1) << u"元旦节"_qs;
    QTest::newRow("劳动节") << value(2024, 5, 1) << u"劳动节"_qs;
    QTest::newRow("青年节") << value(2024, 5, 4) << u"青年节"_qs;
    QTest::newRow("first Sunday of May") << value(2024, 5, 5) << QString();
    QTest::newRow("母亲节 second Sunday") << value(2024, 5, 12) << u"母亲节"_qs;
    QTest::newRow("third Sunday of May") << value(2024, 5, 19) << QString();
    QTest::newRow("父亲节 third Sunday") << value(2024, 6, 16) << u"父亲节"_qs;
    QTest::newRow("second Sunday of June") << value(2024, 6, 9) << QString();
    QTest::newRow("感恩节 fourth Thursday") << value(2024, 11, 28) << u"感恩节"_qs;
    QTest::newRow("third Thursday of November") << value(2024, 11, 21) << QString();
    QTest::newRow("fourth Thursday, early") << value(2029, 11, 22) << u"感恩节"_qs;
    QTest::newRow("记者日") << value(2024, 11, 8) << u"记者日"_qs;
    QTest::newRow("万圣节") << value(2024, 10, 31) << u"万圣节"_qs;
    QTest::newRow("圣诞节") << value(2024, 12, 25) << u"圣诞节"_qs;
    QTest::newRow("plain day") << value(2024, 3, 9) << QString();
}

void TstChnCalendarUse::holidays()
{
    QFETCH(double, dateValue);
    QFETCH(QString, name);
    QCOMPARE(q(HolidayOf(CivilDateOfValue(dateValue).day, dateValue)), name);
}

void TstChnCalendarUse::lunarHolidays_data()
{
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("day");
    QTest::addColumn<bool>("leap");
    QTest::addColumn<double>("dateValue");
    QTest::addColumn<QString>("name");
    const double any = value(2024, 6, 1);
    QTest::newRow("春节") << 1 << 1 << false << any << u"春节"_qs;
    QTest::newRow("元宵节") << 1 << 15 << false << any << u"元宵节"_qs;
    QTest::newRow("端午节") << 5 << 5 << false << any << u"端午节"_qs;
    QTest::newRow("leap 端午") << 5 << 5 << true << any << QString();
    QTest::newRow("七夕节") << 7 << 7 << false << any << u"七夕节"_qs;
    QTest::newRow("中秋节") << 8 << 15 << false << any << u"中秋节"_qs;
    QTest::newRow("重阳节") << 9 << 9 << false << any << u"重阳节"_qs;
    QTest::newRow("腊八节") << 12 << 8 << false << any << u"腊八节"_qs;
    QTest::newRow("除夕 on 30") << 12 << 30 << false << value(2024, 2, 9) << u"除夕"_qs;
    QTest::newRow("除夕 on 29") << 12 << 29 << false << value(2021, 2, 11) << u"除夕"_qs;
    QTest::newRow("29 of a 30-day month") << 12 << 29 << false << value(2024, 2, 8) << QString();
    QTest::newRow("除夕 needs the next day")
        << 12 << 30 << false << value(2100, 12, 31) << QString();
    QTest::newRow("plain day") << 3 << 3 << false << any << QString();
}

void TstChnCalendarUse::lunarHolidays()
{
    QFETCH(int, month);
    QFETCH(int, day);
    QFETCH(bool, leap);
    QFETCH(double, dateValue);
    QFETCH(QString, name);
    QCOMPARE(q(CnHolidayOf(month, day, leap, dateValue)), name);
}

void TstChnCalendarUse::lunarHolidayFromValue()
{
    // Without the flag the value says whether the day lies in a leap month.
    QCOMPARE(q(CnHolidayOf(5, 5, value(2009, 5, 28))), u"端午节"_qs);
    QCOMPARE(q(CnHolidayOf(5, 5, value(2009, 6, 27))), QString());
    QCOMPARE(q(CnHolidayOf(12, 30, value(2024, 2, 9))), u"除夕"_qs);
}

void TstChnCalendarUse::eraTexts_data()
{
    QTest::addColumn<int>("year");
    QTest::addColumn<QString>("text");
    QTest::newRow("1911") << 1911 << u"[近、现代]中华民国  民国元年"_qs;
    QTest::newRow("1912") << 1912 << u"[近、现代]中华民国  民国2年"_qs;
    QTest::newRow("1948") << 1948 << u"[近、现代]中华民国  民国38年"_qs;
    QTest::newRow("1949") << 1949 << QString();
    QTest::newRow("2000") << 2000 << QString();
    QTest::newRow("before -2069") << -2070 << QString();
}

void TstChnCalendarUse::eraTexts()
{
    QFETCH(int, year);
    QFETCH(QString, text);
    QCOMPARE(q(EraTextOf(year)), text);
}

void TstChnCalendarUse::eraOffsetNotApplied()
{
    // The row starting at 905 carries a year offset of 1; the reign year counts from the row.
    QVERIFY(q(EraTextOf(905)).endsWith(u"元年"_qs));
    QVERIFY(q(EraTextOf(906)).endsWith(u"2年"_qs));
    QCOMPARE(q(EraTextOf(905)).section(']', 0, 0) + ']',
             q(EraTextOf(906)).section(']', 0, 0) + ']');
}

void TstChnCalendarUse::eraIndexRules()
{
    // Two parallel dynasties: the last row of the first is followed by an earlier year, so it
    // never matches; where both cover a year, the dynasty listed first wins. The offset field
    // (3 in the second row) is never applied.
    const std::string_view rows[] = {
        "100,10,0,甲朝,太祖,某甲,开元", "110,20,3,甲朝,太宗,某乙,永和",
        "130,5,0,甲朝,高宗,某丙,天宝",  "105,30,0,乙朝,,,天授",
        "135,5,0,丙朝,高祖,某丁,建武",  "1949,9999,1948,当代,中国,,公历",
    };
    const EraIndex index(rows);
    QCOMPARE(q(index.textOf(99)), QString());
    QCOMPARE(q(index.textOf(100)), u"[甲朝]太祖 某甲 开元元年"_qs);
    QCOMPARE(q(index.textOf(106)), u"[甲朝]太祖 某甲 开元7年"_qs);
    QCOMPARE(q(index.textOf(109)), u"[甲朝]太祖 某甲 开元10年"_qs);
    QCOMPARE(q(index.textOf(110)), u"[甲朝]太宗 某乙 永和元年"_qs);
    QCOMPARE(q(index.textOf(129)), u"[甲朝]太宗 某乙 永和20年"_qs);
    QCOMPARE(q(index.textOf(130)), u"[乙朝]  天授26年"_qs);
    QCOMPARE(q(index.textOf(135)), u"[丙朝]高祖 某丁 建武元年"_qs);
    QCOMPARE(q(index.textOf(1948)), u"[丙朝]高祖 某丁 建武1814年"_qs);
    QCOMPARE(q(index.textOf(1949)), QString());

    // A first field that is no integer reads as 0.
    const std::string_view damaged[] = {"x,1,0,坏行,,,坏", "50,1,0,甲,,,元", "1949,1,0,,,,"};
    QCOMPARE(q(EraIndex(damaged).textOf(10)), u"[坏行]  坏11年"_qs);
    QCOMPARE(q(EraIndex(damaged).textOf(-1)), QString());
    QCOMPARE(q(EraIndex({}).textOf(100)), QString());
}

void TstChnCalendarUse::fieldOf_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("n");
    QTest::addColumn<bool>("skipEmpty");
    QTest::addColumn<QString>("field");
    QTest::newRow("second") << "a,b,c" << 2 << false << "b";
    QTest::newRow("trimmed") << " a , b " << 2 << false << "b";
    QTest::newRow("empty kept") << "a,,c" << 2 << false << "";
    QTest::newRow("empty skipped") << "a,,c" << 2 << true << "c";
    QTest::newRow("blank skipped") << "a, ,c" << 2 << true << "c";
    QTest::newRow("trailing empty is no field") << "a,b," << 3 << false << "";
    QTest::newRow("trailing blank is a field") << "a,b, " << 3 << false << "";
    QTest::newRow("past the end") << "a,b" << 3 << false << "";
    QTest::newRow("no separator") << "abc" << 1 << false << "abc";
    QTest::newRow("empty text") << "" << 1 << false << "";
    QTest::newRow("leading empty") << ",b" << 1 << false << "";
    QTest::newRow("leading empty skipped") << ",b" << 1 << true << "b";
    QTest::newRow("n = 0") << "a,b" << 0 << false << "";
    QTest::newRow("era row name") << u"1911,37,0,近、现代,中华民国,,民国"_qs << 7 << false
                                  << u"民国"_qs;
}

void TstChnCalendarUse::fieldOf()
{
    QFETCH(QString, text);
    QFETCH(int, n);
    QFETCH(bool, skipEmpty);
    QFETCH(QString, field);
    QCOMPARE(q(FieldOf(text.toStdString(), ',', n, skipEmpty)), field);
}

QTEST_APPLESS_MAIN(TstChnCalendarUse)
#include "tst_chncalendaruse.moc"
