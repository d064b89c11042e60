#include "weeklist.h"

#include <QTest>

#include <cmath>

namespace
{
double value(int y, int m, int d, int hour = 0, int minute = 0)
{
    return ValueOfDate(QDate(y, m, d)) + (hour * 60 + minute) / 1440.0;
}
} // namespace

class TstWeekList : public QObject
{
    Q_OBJECT
private slots:
    void dateValues()
    {
        QCOMPARE(ValueOfDate(QDate(1899, 12, 30)), 0.0);
        QCOMPARE(ValueOfDate(QDate(2011, 6, 29)), 40723.0);
        QCOMPARE(*DateOfValue(40723.75), QDate(2011, 6, 29));
        // Before the epoch the date part is still the floor: -0.5 is noon of 1899-12-29.
        QCOMPARE(*DateOfValue(-0.5), QDate(1899, 12, 29));
        QCOMPARE(DateKeyOf(value(9, 3, 4)), QStringLiteral("00090304"));
    }

    void buildWeek_data()
    {
        QTest::addColumn<double>("date");
        QTest::addColumn<QStringList>("keys"); // Monday ... Sunday
        const QStringList june{"20110627", "20110628", "20110629", "20110630",
                               "20110701", "20110702", "20110702"};
        QTest::newRow("Wednesday") << value(2011, 6, 29) << june;
        QTest::newRow("Monday is its own entry 0") << value(2011, 6, 27) << june;
        QTest::newRow("Saturday") << value(2011, 7, 2) << june;
        QTest::newRow("Sunday ends the week, never starts it") << value(2011, 7, 3) << june;
        QTest::newRow("time of day leaves the keys") << value(2011, 6, 29, 10, 15) << june;
        QTest::newRow("year end") << value(2014, 12, 31)
                                  << QStringList{"20141229", "20141230", "20141231", "20150101",
                                                 "20150102", "20150103", "20150103"};
        QTest::newRow("leap day") << value(2024, 2, 29)
                                  << QStringList{"20240226", "20240227", "20240228", "20240229",
                                                 "20240301", "20240302", "20240302"};
    }
    void buildWeek()
    {
        QFETCH(double, date);
        QFETCH(QStringList, keys);
        TWeekList week;
        BuildWeek(week, date);
        const double timeOfDay = date - std::floor(date);
        for (int i = 0; i < 7; ++i) {
            QCOMPARE(week[i].DayNo, i + 1);
            QCOMPARE(week[i].BoxNo, i < 6 ? i + 1 : 6);
            QCOMPARE(week[i].DateKey, keys[i]);
            QCOMPARE(week[i].Date, week[0].Date + i);
            QCOMPARE(week[i].Date - std::floor(week[i].Date), timeOfDay);
        }
        QCOMPARE(DateOfValue(week[0].Date)->dayOfWeek(), 1);
        // Sunday keeps its own date although it carries Saturday's key.
        QCOMPARE(DateOfValue(week[6].Date)->dayOfWeek(), 7);
        QVERIFY(DateOfValue(week[0].Date) <= DateOfValue(date));
        QVERIFY(DateOfValue(week[6].Date) >= DateOfValue(date));
    }

    void saturdayAndSundayGiveOneWeek()
    {
        TWeekList saturday, sunday;
        BuildWeek(saturday, value(2011, 7, 2));
        BuildWeek(sunday, value(2011, 7, 3));
        for (int i = 0; i < 7; ++i) {
            QCOMPARE(saturday[i].Date, sunday[i].Date);
            QCOMPARE(saturday[i].DateKey, sunday[i].DateKey);
        }
        QCOMPARE(sunday[6].Date, value(2011, 7, 3));
        QCOMPARE(sunday[6].DateKey, QStringLiteral("20110702"));
    }

    // Every day of a few years: the week is always Monday to Sunday around the date.
    void everyDayOfSeveralYears()
    {
        TWeekList week;
        for (QDate d(1999, 1, 1); d < QDate(2031, 1, 1); d = d.addDays(1)) {
            BuildWeek(week, ValueOfDate(d) + 0.5);
            const QDate monday = *DateOfValue(week[0].Date);
            if (monday.dayOfWeek() != 1 || monday.daysTo(d) < 0 || monday.daysTo(d) > 6)
                QFAIL(qPrintable(d.toString(Qt::ISODate)));
            if (week[monday.daysTo(d)].DateKey != d.toString(u"yyyyMMdd") && d.dayOfWeek() != 7)
                QFAIL(qPrintable(d.toString(Qt::ISODate)));
        }
    }
};

QTEST_APPLESS_MAIN(TstWeekList)
#include "tst_weeklist.moc"
