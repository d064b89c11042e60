#include "chncalendaruse.h"
#include "erarows.h"

#include <QTest>

#include <vector>

namespace
{

struct Row {
    int start = 0;
    int years = 0;
    int offset = 0;
    QString label, title, name, era;
};

QString qs(std::string_view s)
{
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}
QString qs(const std::string &s)
{
    return QString::fromStdString(s);
}

// Rows that do not parse are left out, so the count test reports them.
std::vector<Row> parsedRows()
{
    std::vector<Row> out;
    for (const auto line : EraRows()) {
        const QStringList f = qs(line).split(u',');
        if (f.size() != 7) continue;
        bool ok1 = false, ok2 = false, ok3 = false;
        Row r{f[0].toInt(&ok1), f[1].toInt(&ok2), f[2].toInt(&ok3), f[3], f[4], f[5], f[6]};
        if (ok1 && ok2 && ok3) out.push_back(r);
    }
    return out;
}

} // namespace

class TstEraRows : public QObject
{
    Q_OBJECT
private slots:
    void everyRowHasSevenFieldsWithNumbers()
    {
        QCOMPARE(EraRows().size(), size_t(529));
        for (const auto line : EraRows()) {
            const QStringList f = qs(line).split(u',');
            QVERIFY2(f.size() == 7, qPrintable(qs(line)));
            bool ok = false;
            for (int i = 0; i < 3; ++i) {
                f[i].toInt(&ok);
                QVERIFY2(ok, qPrintable(qs(line)));
            }
            QVERIFY2(!f[3].isEmpty() && !f[6].isEmpty(), qPrintable(qs(line)));
        }
        QCOMPARE(parsedRows().size(), size_t(529));
    }

    // 武周 interrupts 唐 in time, so it sits between the two runs of 唐 rows; every other
    // dynasty is one run, parallel ones listed one after the other.
    void labelSequence()
    {
        const std::vector<std::pair<QString, int>> expected = {
            {u"夏"_qs, 19},        {u"商"_qs, 31},       {u"西周"_qs, 13},
            {u"东周"_qs, 24},      {u"战国-秦"_qs, 3},   {u"秦"_qs, 3},
            {u"西汉"_qs, 46},      {u"新"_qs, 3},        {u"东汉"_qs, 35},
            {u"三国-魏"_qs, 10},   {u"西晋"_qs, 11},     {u"东晋"_qs, 19},
            {u"南朝/宋"_qs, 11},   {u"南朝/齐"_qs, 8},   {u"南朝/梁"_qs, 13},
            {u"南朝/陈"_qs, 7},    {u"南朝/后梁"_qs, 3}, {u"北朝/北魏"_qs, 40},
            {u"北朝/东魏"_qs, 4},  {u"北朝/西魏"_qs, 3}, {u"北朝/北齐"_qs, 10},
            {u"北朝/北周"_qs, 10}, {u"隋"_qs, 4},        {u"唐"_qs, 18},
            {u"武周"_qs, 18},      {u"唐"_qs, 41},       {u"五代/梁"_qs, 6},
            {u"五代/唐"_qs, 5},    {u"五代/晋"_qs, 3},   {u"五代/汉"_qs, 3},
            {u"五代/周"_qs, 4},    {u"北宋"_qs, 35},     {u"南宋"_qs, 22},
            {u"元"_qs, 15},        {u"明"_qs, 17},       {u"清"_qs, 10},
            {u"近、现代"_qs, 1},   {u"当代"_qs, 1},
        };
        std::vector<std::pair<QString, int>> runs;
        for (const Row &r : parsedRows()) {
            if (runs.empty() || runs.back().first != r.label) runs.emplace_back(r.label, 0);
            ++runs.back().second;
        }
        QCOMPARE(runs, expected);
    }

    // A typo in a year shows up as a step back inside one dynasty.
    void rowsOfADynastyFollowInTime()
    {
        const auto rows = parsedRows();
        QCOMPARE(rows.front().start, -2069);
        for (size_t i = 1; i < rows.size(); ++i) {
            if (rows[i].label != rows[i - 1].label) continue;
            QVERIFY2(rows[i].start >= rows[i - 1].start,
                     qPrintable(QString::number(rows[i].start) + u' ' + rows[i].era));
        }
    }

    void yearOffsets()
    {
        std::vector<std::pair<int, int>> offsets;
        for (const Row &r : parsedRows())
            if (r.offset != 0) offsets.emplace_back(r.start, r.offset);
        const std::vector<std::pair<int, int>> expected = {{905, 1}, {913, 2},  {942, 6},
                                                           {959, 5}, {1271, 7}, {1949, 1948}};
        QCOMPARE(offsets, expected);
    }

    // The republic row starts at 1911, so 1911 reads 民国元年 and 1948 民国38年.
    void closingRows()
    {
        const auto rows = EraRows();
        QCOMPARE(qs(rows[rows.size() - 2]), u"1911,37,0,近、现代,中华民国,,民国"_qs);
        QCOMPARE(qs(rows.back()), u"1949,9999,1948,当代,中国,,公历"_qs);
    }

    // The lookup takes the first row i with start(i) <= y < start(i + 1); the last row only
    // closes the one before it, so every year must find its row earlier.
    void everyYearMatchedBeforeTheLastRow()
    {
        const auto rows = parsedRows();
        QCOMPARE(rows.size(), size_t(529));
        for (int y = -2069; y <= 1948; ++y) {
            bool found = false;
            for (size_t i = 0; i + 1 < rows.size() && !found; ++i)
                found = rows[i].start <= y && y < rows[i + 1].start;
            QVERIFY2(found, qPrintable(QString::number(y)));
        }
    }

    void eraText_data()
    {
        QTest::addColumn<int>("year");
        QTest::addColumn<QString>("text");
        QTest::newRow("first year") << -2069 << u"[夏]禹 姒文命 禹元年"_qs;
        QTest::newRow("before the table") << -2070 << QString();
        QTest::newRow("empty personal name") << -841 << u"[西周]共和  共和元年"_qs;
        QTest::newRow("era name") << -140 << u"[西汉]武帝 刘彻 建元元年"_qs;
        QTest::newRow("1 BCE") << -1 << u"[西汉]哀帝 刘欣 元寿2年"_qs;
        QTest::newRow("1 CE") << 1 << u"[西汉]平帝 刘衎 元始元年"_qs;
        QTest::newRow("empty title") << 9 << u"[新] 王莽 始建国元年"_qs;
        QTest::newRow("south listed before north") << 500 << u"[南朝/齐]东昏侯 萧宝卷 永元2年"_qs;
        QTest::newRow("wuzhou") << 690 << u"[武周]则天皇帝 武曌 天授元年"_qs;
        QTest::newRow("tang restored") << 705 << u"[唐]中宗 李显 神龙元年"_qs;
        QTest::newRow("offset not applied") << 905 << u"[唐]哀帝 李柷 天祐元年"_qs;
        QTest::newRow("before five dynasties") << 906 << u"[唐]哀帝 李柷 天祐2年"_qs;
        QTest::newRow("last qing year") << 1910 << u"[清]逊帝 溥仪 宣统2年"_qs;
        QTest::newRow("republic first") << 1911 << u"[近、现代]中华民国  民国元年"_qs;
        QTest::newRow("republic second") << 1912 << u"[近、现代]中华民国  民国2年"_qs;
        QTest::newRow("republic last") << 1948 << u"[近、现代]中华民国  民国38年"_qs;
        QTest::newRow("1949") << 1949 << QString();
        QTest::newRow("2000") << 2000 << QString();
    }

    void eraText()
    {
        QFETCH(int, year);
        QFETCH(QString, text);
        QCOMPARE(qs(EraTextOf(year)), text);
    }
};

QTEST_APPLESS_MAIN(TstEraRows)
#include "tst_erarows.moc"
