#include "erarows.h"

#include <QTest>

class TstEraRows : public QObject {
    Q_OBJECT
private slots:
    void closingRows()
    {
        const auto rows = EraRows();
        QVERIFY(rows.size() >= 2);
        QCOMPARE(QString::fromUtf8(rows[rows.size() - 2].data(), rows[rows.size() - 2].size()),
                 u"1911,37,0,近、现代,中华民国,,民国"_qs);
        QCOMPARE(QString::fromUtf8(rows.back().data(), rows.back().size()),
                 u"1949,9999,1948,当代,中国,,公历"_qs);
    }
};

QTEST_APPLESS_MAIN(TstEraRows)
#include "tst_erarows.moc"
