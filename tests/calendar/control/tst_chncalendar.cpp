// Month model, geometry, selection and navigation of the month control.

#include "calendargeometry.h"
#include "chncalendar.h"
#include "dategrid.h"
#include "datevalue.h"
#include "fontsubstitutions.h"
#include "updown.h"

#include <QAction>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>

#include <cmath>
#include <limits>
#include <memory>
#include <stdexcept>

namespace
{

double Day(int y, int m, int d)
{
    return ValueOfDate(QDate(y, m, d));
}

QDate DateOf(const TChnCalendar &cal)
{
    return *DateOfValue(cal.DateTime());
}

const QColor kRed(0xFF, 0x00, 0x00);

} // namespace

class TestChnCalendar : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void firstShowStartsAtNow();
    void monthBuildJune2011();
    void monthStartingOnSaturday();
    void changeNotification_data();
    void changeNotification();
    void dayColoursApplyAtOnce();
    void failingHandlers();

    void layoutGrid_data();
    void layoutGrid();
    void cellGeometry();
    void headerText_data();
    void headerText();
    void controlGeometry();

    void clickCell_data();
    void clickCell();
    void clickSelectedDayDropsTimeOfDay();
    void dateClickAfterLeaving();
    void dragAndKeys();
    void dateSelectUnderPointer();

    void spinners_data();
    void spinners();
    void menuStructure();
    void menuItems_data();
    void menuItems();
    void todayLink();
    void titleLabelsOpenMenus();

private:
    TDateGrid *Grid() const { return FCal->findChild<TDateGrid *>(u"FGrid"_qs); }
    void ClickCell(int col, int row, Qt::MouseButton button = Qt::LeftButton);
    QAction *Item(const QString &name, int tag) const;

    std::unique_ptr<TChnCalendar> FCal;
};

void TestChnCalendar::initTestCase()
{
    installFontSubstitutions();
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
}

void TestChnCalendar::init()
{
    FCal = std::make_unique<TChnCalendar>();
    FCal->resize(311, 253);
    FCal->show();
    QVERIFY(QTest::qWaitForWindowExposed(FCal.get()));
}

void TestChnCalendar::cleanup()
{
    FCal.reset();
}

void TestChnCalendar::ClickCell(int col, int row, Qt::MouseButton button)
{
    QTest::mouseClick(Grid(), button, {}, Grid()->CellRect(col, row).center());
}

QAction *TestChnCalendar::Item(const QString &name, int tag) const
{
    // Names repeat (a group and its first item); the tag and the missing sub-menu tell them apart.
    const auto actions = FCal->findChildren<QAction *>(name);
    for (QAction *action : actions)
        if (!action->menu() && action->data().toInt() == tag) return action;
    return nullptr;
}

void TestChnCalendar::firstShowStartsAtNow()
{
    // Before its first show the control holds what was set; the first show replaces the date
    // with now, turns the title bar on and fills the menus.
    TChnCalendar cal;
    QCOMPARE(cal.DateTime(), 0.0);
    QVERIFY(!cal.ShowTitle());
    QVERIFY(cal.findChild<QMenu *>(u"FYearMenu"_qs)->actions().isEmpty());
    QSignalSpy changes(&cal, &TChnCalendar::OnChange);
    cal.setDateTime(Day(2011, 6, 30));
    cal.setShowTitle(false);
    QCOMPARE(changes.count(), 1);
    QCOMPARE(cal.CnDate(), u"五月廿九"_qs);

    const double before = NowValue();
    cal.show();
    QCOMPARE(changes.count(), 2);
    QVERIFY(cal.DateTime() >= before && cal.DateTime() <= NowValue());
    QVERIFY(cal.ShowTitle());
    QCOMPARE(cal.findChild<TDateGrid *>(u"FGrid"_qs)->geometry(), QRect(8, 40, 298, 186));
    QCOMPARE(cal.findChild<QMenu *>(u"FMonthMenu"_qs)->actions().size(), 14);
    cal.hide();
    cal.show();
    QCOMPARE(changes.count(), 2);
    QCOMPARE(cal.findChild<QMenu *>(u"FMonthMenu"_qs)->actions().size(), 14);
}

void TestChnCalendar::monthBuildJune2011()
{
    QSignalSpy changes(FCal.get(), &TChnCalendar::OnChange);
    FCal->setDateTime(Day(2011, 6, 30));
    QCOMPARE(changes.count(), 1);

    QCOMPARE(FCal->CnDate(), u"五月廿九"_qs);
    QCOMPARE(FCal->CnMonth(), u"五月"_qs);
    QCOMPARE(FCal->CnDay(), u"廿九"_qs);
    QCOMPARE(FCal->findChild<QLabel *>(u"FInfoLabel"_qs)->text(), u"2011-06-30 农历五月廿九"_qs);
    QCOMPARE(FCal->findChild<QLabel *>(u"FYearLabel"_qs)->text(), u"2011"_qs);
    QCOMPARE(FCal->findChild<QLabel *>(u"FMonthLabel"_qs)->text(), u"6"_qs);
    QCOMPARE(FCal->findChild<TUpDown *>(u"FYearUpDown"_qs)->Position(), 2011);
    QCOMPARE(FCal->findChild<TUpDown *>(u"FMonthUpDown"_qs)->Position(), 6);

    QCOMPARE(FCal->Cell(40).DayText, u"巨蟹"_qs);
    QCOMPARE(FCal->Cell(41).DayText, u"辛卯"_qs);
    QCOMPARE(FCal->Cell(42).DayText, u"兔年"_qs);
    for (int t : {40, 41, 42})
        QVERIFY(FCal->Cell(t).Used);

    // June 2011 starts on a Wednesday: day 1 is entry 4, day 30 entry 33.
    QVERIFY(!FCal->Cell(3).Used);
    QCOMPARE(FCal->Cell(4).DayText, u"1"_qs);
    QCOMPARE(FCal->Cell(33).DayOfMonth, 30);
    QVERIFY(FCal->Cell(33).Used);
    QVERIFY(!FCal->Cell(34).Used);
    QCOMPARE(Grid()->Col(), 5);
    QCOMPARE(Grid()->Row(), 5);

    for (int day = 1; day <= 30; ++day) {
        const TcnDateInf &cell = FCal->Cell(day + 3);
        const bool weekend = (day + 3) % 7 == 0 || (day + 3) % 7 == 1;
        QCOMPARE(cell.DayColor, weekend ? kRed : FCal->ColorDate());
    }
    QCOMPARE(FCal->Cell(4 + 4).DayColor, kRed); // the 5th, a Sunday
    QCOMPARE(FCal->Cell(4 + 3).DayColor, kRed); // the 4th, a Saturday

    struct Lower {
        int day;
        QString text;
        QColor color;
    };
    // Lunar festival over solar term over civil festival over the lunar day or month.
    const Lower lower[] = {
        {1, u"儿童节"_qs, FCal->ColorHoliday()},  {2, u"五月"_qs, kRed}, // 初一 of the 5th month
        {3, u"初二"_qs, FCal->ColorCnDate()},     {6, u"端午节"_qs, FCal->ColorCnHolDay()},
        {19, u"父亲节"_qs, FCal->ColorHoliday()}, {22, u"夏至"_qs, FCal->ColorLunarHolDay()},
        {30, u"廿九"_qs, FCal->ColorCnDate()},
    };
    for (const Lower &row : lower) {
        const TcnDateInf &cell = FCal->Cell(row.day + 3);
        QCOMPARE(cell.CnText, row.text);
        QCOMPARE(cell.CnColor, row.color);
    }
    QCOMPARE(FCal->Cell(2 + 3).LunarDay, u"初一"_qs);
    QCOMPARE(FCal->Cell(2 + 3).LunarMonth, u"五月"_qs);

    // The r-th distinct ISO week met in day order, not the week of row r's own days.
    const QStringList weeks{u"22"_qs, u"23"_qs, u"24"_qs, u"25"_qs, u"26"_qs, QString()};
    for (int row = 1; row <= 6; ++row)
        QCOMPARE(FCal->WeekNum(row), weeks[row - 1]);
}

void TestChnCalendar::monthStartingOnSaturday()
{
    // January 2022: 31 days from a Saturday, six rows, ISO weeks 52 then 1 ... 5.
    FCal->setDateTime(Day(2022, 1, 31));
    QVERIFY(!FCal->Cell(6).Used);
    QCOMPARE(FCal->Cell(7).DayText, u"1"_qs);
    QCOMPARE(FCal->Cell(36).DayText, u"30"_qs);
    QCOMPARE(FCal->Cell(37).DayText, u"31"_qs);
    QVERIFY(FCal->Cell(37).Used);
    QVERIFY(FCal->Cell(40).Used);
    QCOMPARE(Grid()->Col(), 2);
    QCOMPARE(Grid()->Row(), 6);
    const QStringList weeks{u"52"_qs, u"1"_qs, u"2"_qs, u"3"_qs, u"4"_qs, u"5"_qs};
    for (int row = 1; row <= 6; ++row)
        QCOMPARE(FCal->WeekNum(row), weeks[row - 1]);

    // A shorter month afterwards (February 2022: entries 3 ... 30) leaves no day in use after.
    FCal->setDateTime(Day(2022, 2, 1));
    QVERIFY(FCal->Cell(30).Used);
    for (int t = 31; t <= 37; ++t)
        QVERIFY(!FCal->Cell(t).Used);
}

void TestChnCalendar::changeNotification_data()
{
    QTest::addColumn<double>("start");
    QTest::addColumn<double>("value");
    QTest::addColumn<bool>("accepted");

    const double june30 = Day(2011, 6, 30);
    QTest::newRow("equal value") << june30 + 0.25 << june30 + 0.25 << false;
    QTest::newRow("same day, other time of day") << june30 << june30 + 0.75 << true;
    QTest::newRow("year 0") << june30 << Day(1, 1, 1) - 1 << false;
    QTest::newRow("year 1") << june30 << Day(1, 1, 1) << true;
    QTest::newRow("2100-12-31") << june30 << Day(2100, 12, 31) << true;
    QTest::newRow("year 2101") << june30 << Day(2101, 1, 1) << false;
    QTest::newRow("not a number") << june30 << std::numeric_limits<double>::quiet_NaN() << false;
    QTest::newRow("infinity") << june30 << std::numeric_limits<double>::infinity() << false;
}

void TestChnCalendar::changeNotification()
{
    QFETCH(double, start);
    QFETCH(double, value);
    QFETCH(bool, accepted);

    FCal->setDateTime(start);
    const QString cnDate = FCal->CnDate();
    const QString info = FCal->findChild<QLabel *>(u"FInfoLabel"_qs)->text();
    QSignalSpy changes(FCal.get(), &TChnCalendar::OnChange);
    FCal->setDateTime(value);
    QCOMPARE(changes.count(), accepted ? 1 : 0);
    QCOMPARE(FCal->DateTime(), accepted ? value : start);
    if (!accepted) {
        QCOMPARE(FCal->CnDate(), cnDate);
        QCOMPARE(FCal->findChild<QLabel *>(u"FInfoLabel"_qs)->text(), info);
    }
}

void TestChnCalendar::dayColoursApplyAtOnce()
{
    FCal->setDateTime(Day(2011, 6, 30));
    QSignalSpy changes(FCal.get(), &TChnCalendar::OnChange);
    FCal->setColorDate(Qt::blue);
    FCal->setColorCnDate(Qt::magenta);
    QCOMPARE(FCal->Cell(6 + 3).DayColor, QColor(Qt::blue));
    QCOMPARE(FCal->Cell(5 + 3).DayColor, kRed); // weekends stay red
    QCOMPARE(FCal->Cell(3 + 3).CnColor, QColor(Qt::magenta));
    QCOMPARE(changes.count(), 0);
}

void TestChnCalendar::failingHandlers()
{
    // A failing change handler is swallowed: the new month stands.
    FCal->setDateTime(Day(2011, 6, 30));
    auto failing = connect(FCal.get(), &TChnCalendar::OnChange, this,
                           [] { throw std::runtime_error("handler failed"); });
    FCal->setDateTime(Day(2011, 7, 15));
    QCOMPARE(FCal->DateTime(), Day(2011, 7, 15));
    QCOMPARE(FCal->Cell(6).DayText, u"1"_qs); // July 2011 starts on a Friday
    disconnect(failing);

    // A failure while a clicked day is applied falls back to now.
    connect(FCal.get(), &TChnCalendar::OnDateClick, this,
            [] { throw std::runtime_error("handler failed"); });
    ClickCell(2, 2); // notes the press
    const double before = NowValue();
    ClickCell(3, 2);
    QVERIFY(FCal->DateTime() >= before && FCal->DateTime() <= NowValue());
}

void TestChnCalendar::layoutGrid_data()
{
    QTest::addColumn<QSize>("client");
    QTest::addColumn<int>("col0");
    QTest::addColumn<QList<int>>("rows");
    QTest::addColumn<QList<int>>("cols");

    // The main window's 311 x 253 control has a 296 x 186 grid.
    QTest::newRow("311x253") << QSize(296, 186) << 6 << QList<int>{18, 27, 27, 27, 27, 27, 33}
                             << QList<int>{6, 40, 40, 40, 40, 40, 40, 40, 10};
    QTest::newRow("311x253 week numbers")
        << QSize(296, 186) << 18 << QList<int>{18, 27, 27, 27, 27, 27, 33}
        << QList<int>{18, 38, 38, 38, 38, 38, 38, 38, 12};
    // (233 - 18) div 6 = 35, (385 - 6) div 7 = 54.
    QTest::newRow("400x300") << QSize(385, 233) << 6 << QList<int>{18, 34, 34, 34, 34, 34, 45}
                             << QList<int>{6, 53, 53, 53, 53, 53, 53, 53, 8};
}

void TestChnCalendar::layoutGrid()
{
    QFETCH(QSize, client);
    QFETCH(int, col0);
    QFETCH(QList<int>, rows);
    QFETCH(QList<int>, cols);

    const TGridLayout layout = LayoutGrid(client.width(), client.height(), col0);
    int width = 0;
    int height = 0;
    for (int col = 0; col < kGridCols; ++col) {
        QCOMPARE(layout.colWidths[col], cols[col]);
        width += layout.colWidths[col];
    }
    for (int row = 0; row < kGridRows; ++row) {
        QCOMPARE(layout.rowHeights[row], rows[row]);
        height += layout.rowHeights[row];
    }
    QCOMPARE(QSize(width, height), client);
}

void TestChnCalendar::cellGeometry()
{
    for (int t = 1; t <= kCellEntries; ++t) {
        const QPoint cell = CellOfEntry(t);
        QVERIFY(cell.x() >= 1 && cell.x() <= 7 && cell.y() >= 1 && cell.y() <= 8);
        QCOMPARE(EntryOfCell(cell.x(), cell.y()), t);
    }
    QCOMPARE(CellOfEntry(40), QPoint(5, 6));
    QCOMPARE(CellOfEntry(37), QPoint(2, 6));

    const TGridLayout layout = LayoutGrid(296, 186, 6);
    auto at = [&](int x, int y) {
        return CellAtPoint(layout.colWidths, layout.rowHeights, {x, y});
    };
    QCOMPARE(at(0, 0), std::optional<QPoint>(QPoint(0, 0)));
    QCOMPARE(at(5, 17), std::optional<QPoint>(QPoint(0, 0)));
    QCOMPARE(at(6, 18), std::optional<QPoint>(QPoint(1, 1)));
    QCOMPARE(at(286, 153), std::optional<QPoint>(QPoint(8, 6)));
    QCOMPARE(at(295, 185), std::optional<QPoint>(QPoint(8, 6)));
    QCOMPARE(at(296, 10), std::nullopt);
    QCOMPARE(at(10, 186), std::nullopt);
    QCOMPARE(at(-1, 10), std::nullopt);
    QCOMPARE(CellRectOf(layout.colWidths, layout.rowHeights, 5, 5), QRect(166, 126, 40, 27));
}

void TestChnCalendar::headerText_data()
{
    QTest::addColumn<int>("col");
    QTest::addColumn<int>("width");
    QTest::addColumn<bool>("weekNum");
    QTest::addColumn<QString>("text");

    QTest::newRow("Sunday, 40 px") << 1 << 40 << false << u"星期日"_qs;
    QTest::newRow("Saturday, 40 px") << 7 << 40 << false << u"星期六"_qs;
    QTest::newRow("Wednesday, 39 px") << 4 << 39 << false << u"星期三"_qs;
    QTest::newRow("Sunday, 38 px") << 1 << 38 << false << u"日"_qs;
    QTest::newRow("Monday, 38 px") << 2 << 38 << false << u"一"_qs;
    QTest::newRow("week numbers shown") << 0 << 18 << true << u"W"_qs;
    QTest::newRow("week numbers hidden") << 0 << 6 << false << QString();
    QTest::newRow("spare column") << 8 << 10 << true << QString();
}

void TestChnCalendar::headerText()
{
    QFETCH(int, col);
    QFETCH(int, width);
    QFETCH(bool, weekNum);
    QFETCH(QString, text);
    QCOMPARE(TChnCalendar::HeaderText(col, width, weekNum), text);
}

void TestChnCalendar::controlGeometry()
{
    TDateGrid *grid = Grid();
    QCOMPARE(grid->geometry(), QRect(8, 40, 296, 186));
    QCOMPARE(grid->ColWidths(1), 40);
    QCOMPARE(grid->RowHeights(6), 33);
    QCOMPARE(FCal->BackBitmap().size(), QSize(311, 253));

    // Week numbers widen column 0 at once; the day columns follow at the next resize.
    FCal->setShowWeekNum(true);
    QCOMPARE(grid->ColWidths(0), 18);
    QCOMPARE(grid->ColWidths(1), 40);
    FCal->resize(311, 254);
    QCOMPARE(grid->ColWidths(0), 18);
    QCOMPARE(grid->ColWidths(1), 38);

    FCal->setShowTitle(false);
    QCOMPARE(grid->geometry(), QRect(2, 2, 307, 250));
    QVERIFY(!FCal->findChild<TUpDown *>(u"FMonthUpDown"_qs)->isVisible());
    QVERIFY(!FCal->findChild<TUpDown *>(u"FYearUpDown"_qs)->isVisible());
    QCOMPARE(grid->PopupMenu(), FCal->findChild<QMenu *>(u"FYearMenu"_qs));

    // A right click on the grid now opens the year menu; the current cell stays.
    FCal->setDateTime(Day(2011, 6, 30));
    auto *yearMenu = FCal->findChild<QMenu *>(u"FYearMenu"_qs);
    QContextMenuEvent context(QContextMenuEvent::Mouse, grid->CellRect(2, 2).center(),
                              grid->mapToGlobal(grid->CellRect(2, 2).center()));
    QApplication::sendEvent(grid, &context);
    QTRY_VERIFY(yearMenu->isVisible());
    yearMenu->close();
    QCOMPARE(FCal->DateTime(), Day(2011, 6, 30));

    FCal->setShowTitle(true);
    QCOMPARE(grid->geometry(), QRect(8, 40, 296, 187));
    QCOMPARE(grid->PopupMenu(), nullptr);
}

void TestChnCalendar::clickCell_data()
{
    QTest::addColumn<int>("col");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("day"); // 0: nothing changes

    // June 2011 with the 30th selected: day 1 is in row 1, column 4.
    QTest::newRow("day 6") << 2 << 2 << 6;
    QTest::newRow("day 1") << 4 << 1 << 1;
    QTest::newRow("empty before the first") << 1 << 1 << 0;
    QTest::newRow("empty after the last") << 6 << 5 << 0;
    QTest::newRow("constellation title cell") << 5 << 6 << 0;
    QTest::newRow("animal title cell") << 7 << 6 << 0;
    QTest::newRow("header") << 3 << 0 << 0;
    QTest::newRow("week-number column") << 0 << 2 << 0;
    QTest::newRow("spare column") << 8 << 2 << 0;
}

void TestChnCalendar::clickCell()
{
    QFETCH(int, col);
    QFETCH(int, row);
    QFETCH(int, day);

    FCal->setDateTime(Day(2011, 6, 30));
    QSignalSpy changes(FCal.get(), &TChnCalendar::OnChange);
    ClickCell(col, row);
    if (day == 0) {
        QCOMPARE(changes.count(), 0);
        QCOMPARE(FCal->DateTime(), Day(2011, 6, 30));
        QCOMPARE(QPoint(Grid()->Col(), Grid()->Row()), QPoint(5, 5));
    } else {
        QCOMPARE(changes.count(), 1);
        QCOMPARE(FCal->DateTime(), Day(2011, 6, day));
        QCOMPARE(QPoint(Grid()->Col(), Grid()->Row()), QPoint(col, row));
    }
}

void TestChnCalendar::clickSelectedDayDropsTimeOfDay()
{
    FCal->setDateTime(Day(2011, 6, 30) + 0.5);
    QSignalSpy changes(FCal.get(), &TChnCalendar::OnChange);
    ClickCell(5, 5);
    QCOMPARE(changes.count(), 1);
    QCOMPARE(FCal->DateTime(), Day(2011, 6, 30));
    ClickCell(5, 5);
    QCOMPARE(changes.count(), 1);
}

void TestChnCalendar::dateClickAfterLeaving()
{
    FCal->setDateTime(Day(2011, 6, 30));
    QSignalSpy changes(FCal.get(), &TChnCalendar::OnChange);
    QSignalSpy clicks(FCal.get(), &TChnCalendar::OnDateClick);
    auto leave = [](QWidget *widget) {
        QEvent event(QEvent::Leave);
        QApplication::sendEvent(widget, &event);
    };

    // The press is noted only after it moved the selection, so the first click after the
    // pointer came back is no date click; the next one is.
    leave(FCal.get());
    ClickCell(2, 2);
    QCOMPARE(changes.count(), 1);
    QCOMPARE(clicks.count(), 0);
    ClickCell(3, 2);
    QCOMPARE(changes.count(), 2);
    QCOMPARE(clicks.count(), 1);

    // Leaving a child counts as leaving the control.
    leave(Grid());
    ClickCell(4, 2);
    QCOMPARE(changes.count(), 3);
    QCOMPARE(clicks.count(), 1);

    // A right press moves nothing but notes the press.
    leave(FCal.get());
    QTest::mousePress(Grid(), Qt::RightButton, {}, Grid()->CellRect(5, 2).center());
    QTest::mouseRelease(Grid(), Qt::RightButton, {}, Grid()->CellRect(5, 2).center());
    QCOMPARE(FCal->DateTime(), Day(2011, 6, 8));
    ClickCell(6, 2);
    QCOMPARE(FCal->DateTime(), Day(2011, 6, 10));
    QCOMPARE(clicks.count(), 2);
}

void TestChnCalendar::dragAndKeys()
{
    FCal->setDateTime(Day(2011, 6, 30));
    TDateGrid *grid = Grid();
    QTest::mousePress(grid, Qt::LeftButton, {}, grid->CellRect(2, 2).center());
    QCOMPARE(FCal->DateTime(), Day(2011, 6, 6));
    QMouseEvent move(QEvent::MouseMove, grid->CellRect(4, 2).center(),
                     grid->mapToGlobal(grid->CellRect(4, 2).center()), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(grid, &move);
    QCOMPARE(FCal->DateTime(), Day(2011, 6, 8));
    // Dragging over an empty cell keeps the last day.
    QMouseEvent empty(QEvent::MouseMove, grid->CellRect(6, 5).center(),
                      grid->mapToGlobal(grid->CellRect(6, 5).center()), Qt::NoButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(grid, &empty);
    QCOMPARE(FCal->DateTime(), Day(2011, 6, 8));
    QTest::mouseRelease(grid, Qt::LeftButton, {}, grid->CellRect(6, 5).center());

    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Down);
    QCOMPARE(FCal->DateTime(), Day(2011, 6, 15));
    QTest::keyClick(grid, Qt::Key_Left);
    QCOMPARE(FCal->DateTime(), Day(2011, 6, 14));
    // Up from row 1 reaches the header, which refuses.
    FCal->setDateTime(Day(2011, 6, 2));
    QTest::keyClick(grid, Qt::Key_Up);
    QCOMPARE(FCal->DateTime(), Day(2011, 6, 2));
    QCOMPARE(grid->Row(), 1);
}

void TestChnCalendar::dateSelectUnderPointer()
{
    FCal->setDateTime(Day(2011, 6, 30));
    QSignalSpy selects(FCal.get(), &TChnCalendar::OnDateSelect);
    const QPoint day6 = Grid()->CellRect(2, 2).center();
    QCursor::setPos(Grid()->mapToGlobal(day6));
    if (Grid()->mapFromGlobal(QCursor::pos()) != day6)
        QSKIP("this platform does not move the pointer");
    ClickCell(2, 2);
    QVERIFY(selects.count() >= 1);
    // Over another cell than the current one the release selects nothing.
    selects.clear();
    QCursor::setPos(Grid()->mapToGlobal(Grid()->CellRect(1, 1).center()));
    ClickCell(1, 1);
    QCOMPARE(selects.count(), 0);
}

void TestChnCalendar::spinners_data()
{
    QTest::addColumn<QDate>("start");
    QTest::addColumn<QString>("spinner");
    QTest::addColumn<bool>("up");
    QTest::addColumn<QDate>("expected"); // invalid: today

    QTest::newRow("31 Jan, next month")
        << QDate(2011, 1, 31) << u"FMonthUpDown"_qs << true << QDate(2011, 2, 28);
    QTest::newRow("15 Dec, next month")
        << QDate(2011, 12, 15) << u"FMonthUpDown"_qs << true << QDate(2012, 1, 15);
    QTest::newRow("15 Jan, previous month")
        << QDate(2011, 1, 15) << u"FMonthUpDown"_qs << false << QDate(2010, 12, 15);
    QTest::newRow("31 Mar, next month")
        << QDate(2011, 3, 31) << u"FMonthUpDown"_qs << true << QDate(2011, 4, 30);
    QTest::newRow("29 Feb 2012, next year")
        << QDate(2012, 2, 29) << u"FYearUpDown"_qs << true << QDate(2013, 2, 28);
    QTest::newRow("year 1 January, previous month")
        << QDate(1, 1, 15) << u"FMonthUpDown"_qs << false << QDate();
    QTest::newRow("December 2100, next month")
        << QDate(2100, 12, 15) << u"FMonthUpDown"_qs << true << QDate(2100, 12, 15);
    QTest::newRow("2100, next year")
        << QDate(2100, 6, 15) << u"FYearUpDown"_qs << true << QDate(2100, 6, 15);
    QTest::newRow("year 1, previous year")
        << QDate(1, 6, 15) << u"FYearUpDown"_qs << false << QDate(1, 6, 15);
}

void TestChnCalendar::spinners()
{
    QFETCH(QDate, start);
    QFETCH(QString, spinner);
    QFETCH(bool, up);
    QFETCH(QDate, expected);

    FCal->setDateTime(ValueOfDate(start));
    auto *updown = FCal->findChild<TUpDown *>(spinner);
    const QPoint arrow =
        updown->ButtonRect(up ? TUpDown::Button::Up : TUpDown::Button::Down).center();
    const QDate before = QDate::currentDate();
    QTest::mouseClick(updown, Qt::LeftButton, {}, arrow);
    if (expected.isValid()) {
        QCOMPARE(FCal->DateTime(), ValueOfDate(expected));
    } else {
        QVERIFY(DateOf(*FCal) >= before && DateOf(*FCal) <= QDate::currentDate());
        QVERIFY(FCal->DateTime() != std::floor(FCal->DateTime()) ||
                QTime::currentTime() < QTime(0, 0, 1));
    }
    // The spinners always show the date that is shown, also after a refused step.
    QCOMPARE(FCal->findChild<TUpDown *>(u"FYearUpDown"_qs)->Position(), DateOf(*FCal).year());
    QCOMPARE(FCal->findChild<TUpDown *>(u"FMonthUpDown"_qs)->Position(), DateOf(*FCal).month());
    // A second step from a refused one does not jump ahead.
    if (expected == start && spinner == u"FMonthUpDown"_qs) {
        QTest::mouseClick(updown, Qt::LeftButton, {}, arrow);
        QCOMPARE(FCal->DateTime(), ValueOfDate(expected));
    }
}

void TestChnCalendar::menuStructure()
{
    auto *monthMenu = FCal->findChild<QMenu *>(u"FMonthMenu"_qs);
    const QList<QAction *> months = monthMenu->actions();
    QCOMPARE(months.size(), 14);
    QCOMPARE(months[0]->text(), u"今日"_qs);
    QCOMPARE(months[0]->objectName(), u"MenuMonth_ToDay"_qs);
    QCOMPARE(monthMenu->defaultAction(), months[0]);
    QVERIFY(months[1]->isSeparator());
    QCOMPARE(months[1]->objectName(), u"MenuMonth_ToDay_"_qs);
    QCOMPARE(months[2]->text(), u"一月"_qs);
    QCOMPARE(months[2]->objectName(), u"MenuMonth_0"_qs);
    QCOMPARE(months[2]->data().toInt(), 1);
    QCOMPARE(months[13]->text(), u"十二月"_qs);
    QCOMPARE(months[13]->objectName(), u"MenuMonth_11"_qs);
    QCOMPARE(months[13]->data().toInt(), 12);

    auto *yearMenu = FCal->findChild<QMenu *>(u"FYearMenu"_qs);
    const QList<QAction *> years = yearMenu->actions();
    QCOMPARE(years.size(), 24);
    QCOMPARE(years[0]->objectName(), u"MenuYear_ToDay"_qs);
    QCOMPARE(yearMenu->defaultAction(), years[0]);
    QCOMPARE(years[1]->objectName(), u"MenuYear_ToDay_1"_qs);
    QCOMPARE(years[2]->text(), u"历史日期"_qs);
    QCOMPARE(years[2]->objectName(), u"MenuYear_History"_qs);
    QCOMPARE(years[3]->objectName(), u"MenuYear_ToDay_2"_qs);
    QVERIFY(years[1]->isSeparator() && years[3]->isSeparator());

    const QList<QAction *> centuries = years[2]->menu()->actions();
    QCOMPARE(centuries.size(), 19);
    QCOMPARE(centuries[0]->text(), u"0"_qs);
    QCOMPARE(centuries[0]->objectName(), u"MenuYear_History_10"_qs);
    QCOMPARE(centuries[18]->text(), u"1800"_qs);
    QCOMPARE(centuries[18]->objectName(), u"MenuYear_History_1810"_qs);
    const QList<QAction *> first = centuries[0]->menu()->actions();
    QCOMPARE(first.size(), 10);
    QCOMPARE(first[0]->data().toInt(), 10);
    QCOMPARE(first[9]->data().toInt(), 100);
    QCOMPARE(first[9]->objectName(), u"MenuYear_History_100"_qs);
    QCOMPARE(centuries[18]->menu()->actions().last()->text(), u"1900"_qs);

    for (int i = 0; i < 20; ++i) {
        QAction *decade = years[4 + i];
        const int year = 1900 + 10 * i;
        QCOMPARE(decade->text(), QString::number(year));
        QCOMPARE(decade->objectName(), u"MenuYear_"_qs + QString::number(year));
        const QList<QAction *> items = decade->menu()->actions();
        QCOMPARE(items.size(), 10);
        QCOMPARE(items[0]->data().toInt(), year);
        QCOMPARE(items[9]->objectName(), u"MenuYear_"_qs + QString::number(year + 9));
    }
}

void TestChnCalendar::menuItems_data()
{
    QTest::addColumn<QDate>("start");
    QTest::addColumn<QString>("item");
    QTest::addColumn<int>("tag");
    QTest::addColumn<QDate>("expected");

    QTest::newRow("year 10") << QDate(2011, 6, 30) << u"MenuYear_History_10"_qs << 10
                             << QDate(10, 6, 30);
    QTest::newRow("year 1850 from 29 Feb")
        << QDate(2012, 2, 29) << u"MenuYear_History_1850"_qs << 1850 << QDate(1850, 2, 28);
    QTest::newRow("year 2099") << QDate(2011, 6, 30) << u"MenuYear_2099"_qs << 2099
                               << QDate(2099, 6, 30);
    QTest::newRow("March from 31 Jan")
        << QDate(2011, 1, 31) << u"MenuMonth_2"_qs << 3 << QDate(2011, 3, 31);
    QTest::newRow("February from 31 Jan")
        << QDate(2011, 1, 31) << u"MenuMonth_1"_qs << 2 << QDate(2011, 2, 28);
}

void TestChnCalendar::menuItems()
{
    QFETCH(QDate, start);
    QFETCH(QString, item);
    QFETCH(int, tag);
    QFETCH(QDate, expected);

    FCal->setDateTime(ValueOfDate(start));
    QAction *action = Item(item, tag);
    QVERIFY(action);
    QSignalSpy changes(FCal.get(), &TChnCalendar::OnChange);
    action->trigger();
    QCOMPARE(changes.count(), 1);
    QCOMPARE(FCal->DateTime(), ValueOfDate(expected));

    // Before 1949 the info line leads with the era text.
    const QString info = FCal->findChild<QLabel *>(u"FInfoLabel"_qs)->text();
    if (expected.year() < 1949) {
        const QString era = QString::fromStdString(EraTextOf(expected.year()));
        QVERIFY(!era.isEmpty());
        QCOMPARE(info, era + u" 农历"_qs + FCal->CnDate());
    } else {
        QCOMPARE(info, expected.toString(u"yyyy-MM-dd"_qs) + u" 农历"_qs + FCal->CnDate());
    }
}

void TestChnCalendar::todayLink()
{
    FCal->setDateTime(Day(2011, 6, 30));
    QSignalSpy changes(FCal.get(), &TChnCalendar::OnChange);
    auto *today = FCal->findChild<QLabel *>(u"FTodayLabel"_qs);
    QCOMPARE(today->text(), u"今天"_qs);
    const double before = NowValue();
    QTest::mouseClick(today, Qt::LeftButton);
    QCOMPARE(changes.count(), 1);
    QVERIFY(FCal->DateTime() >= before && FCal->DateTime() <= NowValue());

    // The time of day moves on, so today again is another change.
    QTest::qWait(20);
    QTest::mouseClick(today, Qt::LeftButton);
    QCOMPARE(changes.count(), 2);

    QTest::qWait(20);
    Item(u"MenuYear_ToDay"_qs, 0)->trigger();
    QCOMPARE(changes.count(), 3);
    QCOMPARE(DateOf(*FCal), QDate::currentDate());
}

void TestChnCalendar::titleLabelsOpenMenus()
{
    auto *monthMenu = FCal->findChild<QMenu *>(u"FMonthMenu"_qs);
    auto *yearMenu = FCal->findChild<QMenu *>(u"FYearMenu"_qs);
    const struct {
        const char *label;
        Qt::MouseButton button;
        QMenu *menu;
    } rows[] = {
        {"FMonthLabel", Qt::LeftButton, monthMenu},
        {"FMonthUnitLabel", Qt::RightButton, monthMenu},
        {"FYearLabel", Qt::LeftButton, yearMenu},
        {"FYearUnitLabel", Qt::RightButton, yearMenu},
    };
    for (const auto &row : rows) {
        auto *label = FCal->findChild<QLabel *>(QString::fromLatin1(row.label));
        QVERIFY2(label, row.label);
        QTest::mouseClick(label, row.button);
        QTRY_VERIFY2(row.menu->isVisible(), row.label);
        row.menu->close();
        QTRY_VERIFY(!row.menu->isVisible());
    }
}

QTEST_MAIN(TestChnCalendar)
#include "tst_chncalendar.moc"
