// Painting of the month control, checked on rendered pixels, and its drawing primitives.

#include "calendargeometry.h"
#include "calendarpaint.h"
#include "chncalendar.h"
#include "dategrid.h"
#include "datevalue.h"
#include "fontsubstitutions.h"

#include <QLocale>
#include <QPainter>
#include <QStyle>
#include <QStyleFactory>
#include <QTest>

#include <algorithm>
#include <memory>

namespace
{

double Day(int y, int m, int d)
{
    return ValueOfDate(QDate(y, m, d));
}

QColor At(const QImage &image, int x, int y)
{
    return image.pixelColor(x, y);
}

// Strongly red ink (antialiased red text over white or pale ground).
bool HasRedInk(const QImage &image, const QRect &area)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() > 200 && c.green() < 90 && c.blue() < 90) return true;
        }
    return false;
}

int CountColor(const QImage &image, const QRect &area, const QColor &color)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += image.pixelColor(x, y) == color;
    return count;
}

} // namespace

class TestChnCalendarPaint : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void gradientBands();
    void blendPicture_data();
    void blendPicture();
    void fitPicture_data();
    void fitPicture();
    void textFlags_data();
    void textFlags();
    void textStaysInItsRectangle();

    void headerRule();
    void selectedCell();
    void hiddenSelection();
    void drawEvents();
    void weekendNumbersRed();
    void watermark();
    void frame();
    void backgroundBlend_data();
    void backgroundBlend();
    void centredPictureKeepsMargins();

private:
    QImage Render() const;
    QRect CellInControl(int col, int row) const;
    TDateGrid *Grid() const { return FCal->findChild<TDateGrid *>(u"FGrid"_qs); }

    std::unique_ptr<TChnCalendar> FCal;
};

void TestChnCalendarPaint::initTestCase()
{
    installFontSubstitutions();
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
}

void TestChnCalendarPaint::init()
{
    FCal = std::make_unique<TChnCalendar>();
    FCal->resize(311, 253);
    FCal->show();
    QVERIFY(QTest::qWaitForWindowExposed(FCal.get()));
    FCal->setDateTime(Day(2011, 6, 30));
}

void TestChnCalendarPaint::cleanup()
{
    FCal.reset();
}

QImage TestChnCalendarPaint::Render() const
{
    QImage image(FCal->size(), QImage::Format_RGB32);
    image.fill(Qt::black);
    FCal->render(&image);
    return image;
}

QRect TestChnCalendarPaint::CellInControl(int col, int row) const
{
    return Grid()->CellRect(col, row).translated(Grid()->pos());
}

void TestChnCalendarPaint::gradientBands()
{
    const QColor start(0x00, 0xAE, 0x53);
    const QColor end(0x00, 0xD5, 0x65);
    // One pixel per band: the first band is one step past start, the last is end.
    QImage tall(4, 256, QImage::Format_RGB32);
    tall.fill(Qt::black);
    {
        QPainter p(&tall);
        GradientFill(p, tall.rect(), 256, start, end);
    }
    // Steps 39/256 green and 18/256 blue: round(0.152) = 0, round(0.070) = 0.
    QCOMPARE(At(tall, 0, 0), QColor(0x00, 0xAE, 0x53));
    // Band 127: 174 + round(128 * 39 / 256 = 19.5) = 174 + 20 (ties to even), 83 + 9.
    QCOMPARE(At(tall, 2, 127), QColor(0x00, 174 + 20, 83 + 9));
    QCOMPARE(At(tall, 3, 255), end);

    // A 27-px cell shows 27 bands, each one row high.
    QImage cell(1, 27, QImage::Format_RGB32);
    cell.fill(Qt::black);
    {
        QPainter p(&cell);
        GradientFill(p, cell.rect(), 256, start, end);
    }
    for (int y = 0; y < 27; ++y)
        QVERIFY2(At(cell, 0, y) != QColor(Qt::black), qPrintable(QString::number(y)));
    // Row 0 is band 4 (bands 0 ... 3 round to no height): 174 + round(5 * 39 / 256).
    QCOMPARE(At(cell, 0, 0), QColor(0, 175, 83 + 0));
    // Row 26 is band 251: 174 + round(252 * 39 / 256 = 38.39), 83 + round(17.72).
    QCOMPARE(At(cell, 0, 26), QColor(0, 174 + 38, 83 + 18));

    QImage none(2, 2, QImage::Format_RGB32);
    none.fill(Qt::black);
    {
        QPainter p(&none);
        GradientFill(p, none.rect(), 0, start, end);
    }
    QCOMPARE(At(none, 0, 0), QColor(Qt::black));
}

void TestChnCalendarPaint::blendPicture_data()
{
    QTest::addColumn<int>("weight");
    QTest::addColumn<QColor>("expected");

    // Target (100, 100, 100), source (200, 0, 50).
    QTest::newRow("0") << 0 << QColor(100, 100, 100);
    QTest::newRow("50") << 50 << QColor(150, 50, 75);
    QTest::newRow("100 blends nothing") << 100 << QColor(100, 100, 100);
    QTest::newRow("150 acts as 50") << 150 << QColor(150, 50, 75);
    QTest::newRow("255 acts as 55") << 255 << QColor(155, 45, 72);
}

void TestChnCalendarPaint::blendPicture()
{
    QFETCH(int, weight);
    QFETCH(QColor, expected);

    QImage target(4, 4, QImage::Format_RGB32);
    target.fill(QColor(100, 100, 100));
    QImage source(3, 3, QImage::Format_RGB32);
    source.fill(QColor(200, 0, 50));
    source.setPixelColor(1, 1, Qt::white); // the key colour
    BlendPicture(source, target, QPoint(2, 2), qRgb(255, 255, 255), weight);

    QCOMPARE(At(target, 2, 2), expected);
    QCOMPARE(At(target, 3, 2), expected);
    QCOMPARE(At(target, 3, 3), QColor(100, 100, 100)); // source (1, 1) is the key
    QCOMPARE(At(target, 1, 1), QColor(100, 100, 100)); // outside the offset picture
}

void TestChnCalendarPaint::fitPicture_data()
{
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<bool>("center");
    QTest::addColumn<QRect>("expected");

    QTest::newRow("wide") << QSize(200, 100) << false << QRect(0, 0, 311, 155);
    QTest::newRow("wide, centred") << QSize(200, 100) << true << QRect(0, 49, 311, 155);
    QTest::newRow("tall, centred") << QSize(100, 200) << true << QRect(92, 0, 126, 253);
    QTest::newRow("square") << QSize(50, 50) << false << QRect(0, 0, 253, 253);
    QTest::newRow("very wide") << QSize(1000, 100) << false << QRect(0, 0, 311, 31);
    // 4:3 at full width would be 233 high, which fits; 311 / (4 / 3) = 233.25.
    QTest::newRow("4:3") << QSize(400, 300) << false << QRect(0, 0, 311, 233);
    // Wider than tall, but the box is wider still: width follows the height.
    QTest::newRow("wide, height bound") << QSize(110, 100) << false << QRect(0, 0, 278, 253);
}

void TestChnCalendarPaint::fitPicture()
{
    QFETCH(QSize, picture);
    QFETCH(bool, center);
    QFETCH(QRect, expected);
    QCOMPARE(FitPicture(picture, QSize(311, 253), center), std::optional<QRect>(expected));
    QCOMPARE(FitPicture(QSize(10, 0), QSize(311, 253), center), std::nullopt);
}

void TestChnCalendarPaint::textFlags_data()
{
    QTest::addColumn<unsigned>("flags");
    QTest::addColumn<int>("alignment");

    QTest::newRow("watermark") << unsigned(DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_END_ELLIPSIS)
                               << int(Qt::AlignHCenter | Qt::AlignVCenter);
    QTest::newRow("day number") << unsigned(DT_SINGLELINE | DT_CENTER | DT_BOTTOM)
                                << int(Qt::AlignHCenter | Qt::AlignBottom);
    QTest::newRow("bottom without single line")
        << unsigned(DT_RIGHT | DT_BOTTOM | DT_WORD_ELLIPSIS) << int(Qt::AlignRight | Qt::AlignTop);
    QTest::newRow("none") << unsigned(DT_LEFT) << int(Qt::AlignLeft | Qt::AlignTop);
}

void TestChnCalendarPaint::textFlags()
{
    QFETCH(unsigned, flags);
    QFETCH(int, alignment);
    QCOMPARE(int(AlignmentOfTextFlags(flags)), alignment);
}

void TestChnCalendarPaint::textStaysInItsRectangle()
{
    QImage image(200, 60, QImage::Format_RGB32);
    image.fill(Qt::white);
    const QRect r(20, 10, 40, 20);
    {
        QPainter p(&image);
        QFont font(u"宋体"_qs);
        font.setPixelSize(12);
        p.setFont(font);
        p.setPen(Qt::black);
        DrawTextA(p, r, u"[清]宣宗 爱新觉罗旻宁 道光30年"_qs,
                  DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_END_ELLIPSIS);
    }
    QCOMPARE(CountColor(image, QRect(0, 0, 20, 60), Qt::white), 20 * 60);
    QCOMPARE(CountColor(image, QRect(60, 0, 140, 60), Qt::white), 140 * 60);
    QVERIFY(CountColor(image, r, Qt::white) < r.width() * r.height());
}

void TestChnCalendarPaint::headerRule()
{
    const QImage image = Render();
    const QColor rule(0xC5, 0xC5, 0xC5);
    // One rule at y = 14 of the 18-px header, through every column including the spare one.
    const QRect grid = Grid()->geometry();
    for (int x = grid.left(); x <= grid.right(); ++x)
        QCOMPARE(At(image, x, grid.top() + 14), rule);
    QVERIFY(CountColor(image, QRect(grid.left(), grid.top() + 15, grid.width(), 3), rule) == 0);
}

void TestChnCalendarPaint::selectedCell()
{
    const QImage image = Render();
    // The 30th: row 5, column 5, 40 x 27 px.
    const QRect cell = CellInControl(5, 5);
    QCOMPARE(cell.size(), QSize(40, 27));
    const QColor frame(0x00, 0x93, 0x46);
    QCOMPARE(At(image, cell.left(), cell.top()), frame);
    QCOMPARE(At(image, cell.right(), cell.bottom()), frame);
    QCOMPARE(At(image, cell.right(), cell.top() + 13), frame);
    // Inside the outline the bands of a 27-px cell: row 1 is band 14, row 25 band 241.
    QCOMPARE(At(image, cell.left() + 1, cell.top() + 1), QColor(0, 174 + 2, 83 + 1));
    QCOMPARE(At(image, cell.left() + 1, cell.bottom() - 1), QColor(0, 174 + 37, 83 + 17));
    // A neighbour carries no outline.
    QVERIFY(At(image, CellInControl(4, 5).left(), CellInControl(4, 5).top()) != frame);
}

void TestChnCalendarPaint::hiddenSelection()
{
    FCal->setHideSelection(true);
    Grid()->clearFocus();
    QVERIFY(!Grid()->hasFocus());
    const QRect cell = CellInControl(5, 5);
    QImage image = Render();
    QVERIFY(At(image, cell.left(), cell.top()) != QColor(0x00, 0x93, 0x46));
    QCOMPARE(CountColor(image, cell, QColor(0, 176, 84)), 0);

    Grid()->setFocus();
    FCal->activateWindow();
    QTRY_VERIFY(Grid()->hasFocus());
    image = Render();
    QCOMPARE(At(image, cell.left(), cell.top()), QColor(0x00, 0x93, 0x46));
}

void TestChnCalendarPaint::drawEvents()
{
    QList<int> days;
    bool selectedSeen = false;
    FCal->setHideSelection(true);
    FCal->setOnDrawDateCell([&](TChnCalendar *sender, int day, QPainter &, const QRect &r,
                                bool selected, QString &text, bool &defaultDraw) {
        QCOMPARE(sender, FCal.get());
        QCOMPARE(r.topLeft(), QPoint(0, 0));
        QVERIFY(defaultDraw);
        days << day;
        if (selected) {
            selectedSeen = day == 30;
            text = u"X"_qs;
        }
    });
    FCal->setOnDrawCnDateCell([&](TChnCalendar *, int day, QPainter &, const QRect &, bool,
                                  QString &text, bool &defaultDraw) {
        if (day == 30) {
            QCOMPARE(text, u"廿九"_qs);
            defaultDraw = false;
        }
    });
    FCal->setHideSelection(false);
    const QImage image = Render();
    std::sort(days.begin(), days.end());
    days.erase(std::unique(days.begin(), days.end()), days.end());
    QCOMPARE(days.size(), 30);
    QVERIFY(selectedSeen);
    // Leaving the lower text undrawn also leaves the outline out; the gradient stays.
    const QRect cell = CellInControl(5, 5);
    QVERIFY(At(image, cell.left(), cell.top()) != QColor(0x00, 0x93, 0x46));
    QCOMPARE(At(image, cell.left() + 1, cell.top() + 1), QColor(0, 176, 84));
}

void TestChnCalendarPaint::weekendNumbersRed()
{
    FCal->setColorDate(QColor(0x20, 0x20, 0x20));
    const QImage image = Render();
    auto upperHalf = [&](int col, int row) {
        QRect cell = CellInControl(col, row);
        cell.setHeight(cell.height() / 2);
        return cell;
    };
    QVERIFY(HasRedInk(image, upperHalf(1, 2)));  // Sunday the 5th
    QVERIFY(HasRedInk(image, upperHalf(7, 1)));  // Saturday the 4th
    QVERIFY(!HasRedInk(image, upperHalf(2, 2))); // Monday the 6th
    // The weekend header names use their own colour.
    FCal->setColorTitleWeekEnd(Qt::blue);
    const QImage blue = Render();
    QVERIFY(
        !HasRedInk(blue, RectLTRB(CellInControl(1, 0).left(), CellInControl(1, 0).top(),
                                  CellInControl(1, 0).right(), CellInControl(1, 0).top() + 13)));
}

void TestChnCalendarPaint::watermark()
{
    // Pale year digits behind the upper half of the grid, month digits behind the lower half.
    const QRect grid = Grid()->geometry();
    const QRect yearBox =
        RectLTRB(grid.left(), grid.top() + 6, grid.right() + 1, (grid.bottom() + 1) / 2 + 6);
    const QRect monthBox =
        RectLTRB(grid.left(), (grid.bottom() + 1) / 2, grid.right() + 1, grid.bottom() + 1);
    QImage back = FCal->BackBitmap();
    QVERIFY(CountColor(back, yearBox, FCal->ColorBackYear()) > 500);
    QVERIFY(CountColor(back, monthBox, FCal->ColorBackMonth()) > 1000);
    QCOMPARE(CountColor(back, back.rect().adjusted(0, 0, 0, -(back.height() - grid.top())),
                        FCal->ColorBackYear()),
             0);

    // The digits take the style of the control's font: an underline runs across all four
    // year digits, which no digit stroke alone does.
    auto longestInkRun = [](const QImage &image, const QRect &area) {
        int longest = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(), run = 0; x <= area.right(); ++x) {
                run = image.pixelColor(x, y) == QColor(Qt::white) ? 0 : run + 1;
                longest = std::max(longest, run);
            }
        return longest;
    };
    QVERIFY(longestInkRun(back, yearBox) < 100);
    QFont underlined = FCal->font();
    underlined.setUnderline(true);
    FCal->setFont(underlined);
    QVERIFY(longestInkRun(FCal->BackBitmap(), yearBox) >= 100);

    FCal->setShowBackYearMonth(false);
    back = FCal->BackBitmap();
    QCOMPARE(CountColor(back, yearBox, FCal->ColorBackYear()), 0);
    QCOMPARE(CountColor(back, monthBox, FCal->ColorBackMonth()), 0);
}

void TestChnCalendarPaint::frame()
{
    // setStyle does not take ownership; the test object outlives every control it makes.
    QStyle *classic = QStyleFactory::create(u"Windows"_qs);
    classic->setParent(this);
    FCal->setStyle(classic);
    FCal->setColorShowFrame(Qt::red);
    QImage back = FCal->BackBitmap();
    QCOMPARE(At(back, 0, 0), QColor(Qt::red));
    QCOMPARE(At(back, back.width() - 1, back.height() - 1), QColor(Qt::red));
    FCal->setShowFrame(false);
    back = FCal->BackBitmap();
    QCOMPARE(At(back, 0, 0), QColor(Qt::white));
    QCOMPARE(At(back, back.width() - 1, 100), QColor(Qt::white));
}

void TestChnCalendarPaint::backgroundBlend_data()
{
    QTest::addColumn<int>("weight");
    QTest::addColumn<QColor>("expected");
    // Red over the white ground.
    QTest::newRow("0") << 0 << QColor(255, 255, 255);
    QTest::newRow("50") << 50 << QColor(255, 127, 127);
    QTest::newRow("100") << 100 << QColor(255, 255, 255);
}

void TestChnCalendarPaint::backgroundBlend()
{
    QFETCH(int, weight);
    QFETCH(QColor, expected);

    // A picture of the control's size, red but for a green top-left pixel and a green block:
    // the top-left colour is the key, so the block stays unblended.
    QImage picture(311, 253, QImage::Format_RGB32);
    picture.fill(Qt::red);
    picture.setPixelColor(0, 0, Qt::green);
    {
        QPainter p(&picture);
        p.fillRect(QRect(60, 150, 10, 10), Qt::green);
    }
    FCal->setAlphaBlend(weight);
    FCal->setBackGround(picture);

    // An empty cell of the first row shows the blended ground, both composed and on screen.
    const QPoint empty = CellInControl(1, 1).topLeft() + QPoint(4, 4);
    QCOMPARE(At(FCal->BackBitmap(), empty.x(), empty.y()), expected);
    QCOMPARE(At(Render(), empty.x(), empty.y()), expected);
    QCOMPARE(At(FCal->BackBitmap(), 65, 155), QColor(Qt::white));

    FCal->setBackGround(QImage());
    QCOMPARE(At(FCal->BackBitmap(), empty.x(), empty.y()), QColor(Qt::white));
}

void TestChnCalendarPaint::centredPictureKeepsMargins()
{
    // Centred at its own size the key is the white margin, so the margins stay as they are.
    QImage picture(100, 50, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    FCal->setCenter(true);
    FCal->setAlphaBlend(50);
    FCal->setBackGround(picture);
    const QImage back = FCal->BackBitmap();
    const QPoint centre((311 - 100) / 2 + 5, (253 - 50) / 2 + 5);
    QCOMPARE(At(back, 20, 60), QColor(Qt::white));
    QCOMPARE(At(back, centre.x(), centre.y()).red(), 127);

    // Stretched and centred it fills the width, 155 px high.
    FCal->setStretch(true);
    const QImage stretched = FCal->BackBitmap();
    QCOMPARE(At(stretched, 20, 60).red(), 127);
    QCOMPARE(At(stretched, 20, 40), QColor(Qt::white));
}

QTEST_MAIN(TestChnCalendarPaint)
#include "tst_chncalendarpaint.moc"
