#include "mixpicfrm.h"

#include <QTest>

namespace
{

QImage solid(int w, int h, QRgb colour)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// The columns and rows of `after` that differ from `before`, as one bounding box.
QRect changedArea(const QImage &before, const QImage &after)
{
    QRect box;
    for (int y = 0; y < after.height(); ++y)
        for (int x = 0; x < after.width(); ++x)
            if (before.pixel(x, y) != after.pixel(x, y)) box |= QRect(x, y, 1, 1);
    return box;
}

} // namespace

class TstMixPicture : public QObject
{
    Q_OBJECT
private slots:
    void byteArithmetic_data()
    {
        QTest::addColumn<int>("d");
        QTest::addColumn<int>("s");
        QTest::addColumn<int>("expected");
        QTest::newRow("0 toward 255") << 0 << 255 << 127;
        QTest::newRow("255 toward 0") << 255 << 0 << 128; // the half drops toward the background
        QTest::newRow("100 toward 101") << 100 << 101 << 100;
        QTest::newRow("101 toward 100") << 101 << 100 << 101;
        QTest::newRow("equal") << 77 << 77 << 77;
        QTest::newRow("200 toward 10") << 200 << 10 << 105;
    }
    void byteArithmetic()
    {
        QFETCH(int, d);
        QFETCH(int, s);
        QFETCH(int, expected);
        // Blue carries the case; red stays below 255 so the source pixel is never the white key.
        QImage content = solid(1, 1, qRgb(0, 0, s));
        QImage background = solid(60, 40, qRgb(0, 0, d));
        QVERIFY(TMixPicFrm::MixPicture(content, background, 30, 50).ok);
        QCOMPARE(qBlue(background.pixel(9, 30)), expected);
    }

    void whiteKey_data()
    {
        QTest::addColumn<QRgb>("source");
        QTest::addColumn<bool>("blended");
        QTest::newRow("pure white is transparent") << qRgb(255, 255, 255) << false;
        QTest::newRow("blue 254 is blended") << qRgb(255, 255, 254) << true;
        QTest::newRow("red 254 is blended") << qRgb(254, 255, 255) << true;
    }
    void whiteKey()
    {
        QFETCH(QRgb, source);
        QFETCH(bool, blended);
        QImage content = solid(1, 1, source);
        QImage background = solid(60, 40, qRgb(10, 20, 30));
        QVERIFY(TMixPicFrm::MixPicture(content, background, 30, 50).ok);
        const QRgb expected =
            blended ? qRgb(10 + (qRed(source) - 10) / 2, 20 + (qGreen(source) - 20) / 2,
                           30 + (qBlue(source) - 30) / 2)
                    : qRgb(10, 20, 30);
        QCOMPARE(background.pixel(9, 30), expected);
    }

    void placementInTallerBackground()
    {
        QImage content = solid(594, 445, qRgb(0, 0, 0));
        QImage background = solid(1024, 768, qRgb(200, 200, 200));
        const QImage before = background.copy();
        bool received = false;
        QVERIFY(TMixPicFrm::MixPicture(content, background, 30, 50, &received).ok);
        QVERIFY(received);
        QCOMPARE(background.size(), QSize(1024, 768));
        QCOMPARE(changedArea(before, background), QRect(QPoint(380, 30), QPoint(973, 474)));
        QCOMPARE(background.pixel(380, 30), qRgb(100, 100, 100));
        QCOMPARE(content.pixel(0, 0), qRgb(0, 0, 0)); // the source keeps its pixels
    }

    void tooShortBackgroundFailsBelowItsLastRow()
    {
        QImage content = solid(594, 445, qRgb(0, 0, 0));
        QImage background = solid(1024, 460, qRgb(200, 200, 200));
        const MixResult r = TMixPicFrm::MixPicture(content, background, 30, 50);
        QVERIFY(!r.ok);
        QVERIFY(r.tooShort);
        // Source row 430 would land on row 460; rows 30 ... 459 are already blended.
        QCOMPARE(qRed(background.pixel(400, 459)), 100);
        QCOMPARE(qRed(background.pixel(400, 29)), 200);
    }

    void equalHeightsContentReceivesWithoutOffset()
    {
        QImage content = solid(594, 445, qRgb(255, 255, 255));
        content.setPixel(100, 0, qRgb(0, 0, 0));
        QImage background = solid(1024, 445, qRgb(50, 60, 70));
        const QImage contentBefore = content.copy();
        bool received = true;
        QVERIFY(TMixPicFrm::MixPicture(content, background, 30, 50, &received).ok);
        QVERIFY(!received);
        QCOMPARE(content.size(), QSize(594, 445));
        // W = 1024, w = 594: source column 0 goes to column 380 of the narrower content, and
        // what would land past its right edge (column 593) is clipped.
        QCOMPARE(changedArea(contentBefore, content), QRect(QPoint(380, 0), QPoint(593, 444)));
        QCOMPARE(content.pixel(100, 0), qRgb(0, 0, 0));
        QCOMPARE(content.pixel(380, 0), qRgb(153, 158, 163)); // 255 + trunc(-205 / 2) ...
        QCOMPARE(background.pixel(0, 0), qRgb(50, 60, 70));
    }

    void clipsToTheReceivingPicture_data()
    {
        QTest::addColumn<QSize>("contentSize");
        QTest::addColumn<QSize>("backgroundSize");
        QTest::addColumn<QRect>("changed"); // in the receiving picture
        // Background 20 px wider than the content: x0 = -30, the first 30 source columns clip.
        QTest::newRow("background narrower than content + 50")
            << QSize(100, 50) << QSize(120, 200) << QRect(QPoint(0, 30), QPoint(69, 79));
        // Background narrower than the content: x0 = 100 - 60 - 50 = -10.
        QTest::newRow("background narrower than content")
            << QSize(100, 50) << QSize(60, 200) << QRect(QPoint(0, 30), QPoint(49, 79));
        // Short, wide background: the content receives; W = 300, w = 100, x0 = 150.
        QTest::newRow("content receives, background wider")
            << QSize(100, 50) << QSize(300, 40) << QRect();
        // Short background narrower than content: content receives at x0 = 200 - 60 - 50 = 90.
        QTest::newRow("content receives, content wider")
            << QSize(200, 50) << QSize(60, 40) << QRect(QPoint(90, 0), QPoint(149, 39));
    }
    void clipsToTheReceivingPicture()
    {
        QFETCH(QSize, contentSize);
        QFETCH(QSize, backgroundSize);
        QFETCH(QRect, changed);
        QImage content = solid(contentSize.width(), contentSize.height(), qRgb(0, 0, 0));
        QImage background =
            solid(backgroundSize.width(), backgroundSize.height(), qRgb(200, 200, 200));
        const QImage contentBefore = content.copy(), backgroundBefore = background.copy();
        bool intoBackground = false;
        const MixResult r = TMixPicFrm::MixPicture(content, background, 30, 50, &intoBackground);
        QVERIFY(r.ok);
        if (intoBackground)
            QCOMPARE(changedArea(backgroundBefore, background), changed);
        else
            QCOMPARE(changedArea(contentBefore, content), changed);
    }

    void convertsBothToRgb32()
    {
        QImage content(4, 4, QImage::Format_RGB888);
        content.fill(Qt::black);
        QImage background(80, 60, QImage::Format_Indexed8);
        background.setColorTable({qRgb(0, 200, 0)});
        background.fill(0);
        QVERIFY(TMixPicFrm::MixPicture(content, background, 30, 50).ok);
        QCOMPARE(content.format(), QImage::Format_RGB32);
        QCOMPARE(background.format(), QImage::Format_RGB32);
        QCOMPARE(background.pixel(26, 30), qRgb(0, 100, 0));
    }
};

QTEST_APPLESS_MAIN(TstMixPicture)
#include "tst_mixpicture.moc"
