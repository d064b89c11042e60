#include <QProcess>
#include <QTest>

namespace
{

struct Run {
    int status = -1;
    QString out, err;
};

Run kqcal(const QStringList &args)
{
    QProcess process;
    process.start(QStringLiteral(KQCAL_PATH), args);
    if (!process.waitForFinished(60000)) return {};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

} // namespace

class TstKqcal : public QObject
{
    Q_OBJECT
private slots:
    void badArguments_data();
    void badArguments();
    void month();
    void year();
    void currentMonth();
    void dump();
};

void TstKqcal::badArguments_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("month 13") << QStringList{"2024", "13"};
    QTest::newRow("month 0") << QStringList{"2024", "0"};
    QTest::newRow("year 2101") << QStringList{"2101"};
    QTest::newRow("year 0") << QStringList{"0"};
    QTest::newRow("negative year") << QStringList{"-5"};
    QTest::newRow("text") << QStringList{"abc"};
    QTest::newRow("number with text") << QStringList{"2024x"};
    QTest::newRow("signed month") << QStringList{"2024", "+1"};
    QTest::newRow("three numbers") << QStringList{"2024", "1", "1"};
    QTest::newRow("dump without dates") << QStringList{"dump"};
    QTest::newRow("dump one date") << QStringList{"dump", "2024-01-01"};
    QTest::newRow("dump extra") << QStringList{"dump", "2024-01-01", "2024-01-02", "x"};
    QTest::newRow("dump 30 February") << QStringList{"dump", "2024-02-30", "2024-03-01"};
    QTest::newRow("dump 29 February 2100") << QStringList{"dump", "2100-02-29", "2100-03-01"};
    QTest::newRow("dump reversed") << QStringList{"dump", "2024-03-01", "2024-02-01"};
    QTest::newRow("dump 2101") << QStringList{"dump", "2100-12-31", "2101-01-01"};
    QTest::newRow("dump short date") << QStringList{"dump", "2024-1-1", "2024-01-02"};
    QTest::newRow("dump month 13") << QStringList{"dump", "2024-13-01", "2024-13-02"};
}

void TstKqcal::badArguments()
{
    QFETCH(QStringList, args);
    const Run run = kqcal(args);
    QCOMPARE(run.status, 2);
    QCOMPARE(run.out, QString());
    QVERIFY(run.err.startsWith(u"用法"_qs));
    QCOMPARE(run.err.count('\n'), 1);
    QVERIFY(run.err.endsWith('\n'));
}

void TstKqcal::month()
{
    const Run run = kqcal({"2024", "2"});
    QCOMPARE(run.status, 0);
    QCOMPARE(run.err, QString());
    const QStringList lines = run.out.split('\n');
    QCOMPARE(lines.value(0).trimmed(), u"2024年2月"_qs);
    QCOMPARE(lines.value(1), u"    日     一     二     三     四     五     六"_qs);
    // 1 February 2024 is a Thursday, the fifth column; the first Sunday is the 4th.
    QCOMPARE(lines.value(2), u"                                 1      2      3"_qs);
    QCOMPARE(lines.value(3), u"                              廿二   廿三   廿四"_qs);
    QCOMPARE(lines.value(4), u"     4      5      6      7      8      9     10"_qs);
    // Lunar festival over solar term over Gregorian festival over the lunar day.
    QCOMPARE(lines.value(5), u"  立春   廿六   廿七   廿八   廿九   除夕   春节"_qs);
    QCOMPARE(lines.value(7), u"  初二   初三   初四 情人节   初六   初七   初八"_qs);
    QCOMPARE(lines.value(12), u"癸卯年 兔年"_qs);
    QCOMPARE(lines.size(), 14); // trailing newline

    // A lunar month's first day shows the month name; an era year shows the era.
    const Run era = kqcal({"1904", "2"});
    QCOMPARE(era.status, 0);
    QVERIFY(era.out.contains(u"正月"_qs) || era.out.contains(u"春节"_qs));
    QVERIFY(era.out.trimmed().endsWith(u"光绪30年"_qs));
}

void TstKqcal::year()
{
    const Run run = kqcal({"2023"});
    QCOMPARE(run.status, 0);
    for (int m = 1; m <= 12; ++m)
        QVERIFY(run.out.contains(QStringLiteral("2023年%1月\n").arg(m)));
    QVERIFY(run.out.contains(u"闰二"_qs));
    QCOMPARE(kqcal({"1"}).status, 0);
    QCOMPARE(kqcal({"2100"}).status, 0);
}

void TstKqcal::currentMonth()
{
    const Run run = kqcal({});
    QCOMPARE(run.status, 0);
    QVERIFY(run.out.contains(u"日     一"_qs));
    QVERIFY(!run.out.contains('\x1b')); // no reverse video when not on a terminal
}

void TstKqcal::dump()
{
    const Run run = kqcal({"dump", "2024-02-09", "2024-02-10"});
    QCOMPARE(run.status, 0);
    QCOMPARE(run.out,
             u"2024-02-09\t2023\t12\t0\t腊月\t三十\t\t\t除夕\t甲辰\t丙寅\t癸卯\t兔\t宝瓶\t\n"
             "2024-02-10\t2024\t1\t0\t正月\t初一\t\t\t春节\t甲辰\t丙寅\t甲辰\t龙\t宝瓶\t\n"_qs);
    const Run leap = kqcal({"dump", "2023-03-22", "2023-03-22"});
    QCOMPARE(leap.out.split('\t').mid(1, 5),
             (QStringList{"2023", "2", "1", u"闰二"_qs, u"初一"_qs}));
    const Run era = kqcal({"dump", "1911-10-10", "1911-10-10"});
    QCOMPARE(era.out.split('\t').last(), u"[近、现代]中华民国  民国元年\n"_qs);
    // Every day of the range, 15 fields each, across a year boundary.
    const Run span = kqcal({"dump", "2023-12-01", "2024-01-31"});
    const QStringList lines = span.out.split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 62);
    for (const QString &line : lines)
        QCOMPARE(line.count('\t'), 14);
    QVERIFY(lines.first().startsWith("2023-12-01\t"));
    QVERIFY(lines.last().startsWith("2024-01-31\t"));
    QVERIFY(lines.at(24).contains(u"\t圣诞节\t"_qs));
}

QTEST_APPLESS_MAIN(TstKqcal)
#include "tst_kqcal.moc"
