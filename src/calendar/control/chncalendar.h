#pragma once

// The month-view Chinese calendar control: one Gregorian month in a grid of seven weekday
// columns (Sunday first) and six week rows, each day with its lunar text below the day number,
// a title bar with month and year spinners and menus, and an info line with the full lunar date.
// Every way of changing the date ends in setDateTime, whose month build emits OnChange.

#include "calendargeometry.h"

#include <chncalendaruse.h>

#include <QColor>
#include <QFont>
#include <QImage>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>

class QAction;
class QLabel;
class QMenu;
class QPainter;
class TDateGrid;
class TUpDown;

// One grid cell of the shown month (entries 1 ... 37 days, 40 ... 42 title texts).
struct TcnDateInf {
    int DayOfMonth = 0;
    bool Used = false;
    QString DayText; // day number, or the title text in entries 40 ... 42
    QString LunarMonth;
    QString LunarDay;
    QString CnText; // lower text actually shown
    QColor DayColor;
    QColor CnColor;
};

class TChnCalendar;

// Called for the upper and the lower text of every used day cell while it is composed. R is
// the whole cell at 0, 0; Text may be changed; clearing defaultDraw leaves the text undrawn.
using TDrawDateCellEvent =
    std::function<void(TChnCalendar *Sender, int Day, QPainter &aCanvas, const QRect &R,
                       bool Selected, QString &Text, bool &defaultDraw)>;

class TChnCalendar : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(bool ShowTitle READ ShowTitle WRITE setShowTitle)
    Q_PROPERTY(bool ShowWeekNum READ ShowWeekNum WRITE setShowWeekNum)
    Q_PROPERTY(bool ShowFrame READ ShowFrame WRITE setShowFrame)
    Q_PROPERTY(bool ShowBackYearMonth READ ShowBackYearMonth WRITE setShowBackYearMonth)
    Q_PROPERTY(bool ShowWeekNumLine READ ShowWeekNumLine WRITE setShowWeekNumLine)
    Q_PROPERTY(bool HideSelection READ HideSelection WRITE setHideSelection)
    Q_PROPERTY(QFont FontDate READ FontDate WRITE setFontDate)
    Q_PROPERTY(QFont FontCnDate READ FontCnDate WRITE setFontCnDate)
    Q_PROPERTY(QColor ColorTitleWeekLine READ ColorTitleWeekLine WRITE setColorTitleWeekLine)
    Q_PROPERTY(QColor ColorTitleWeekEnd READ ColorTitleWeekEnd WRITE setColorTitleWeekEnd)
    Q_PROPERTY(QColor ColorTitleWeek READ ColorTitleWeek WRITE setColorTitleWeek)
    Q_PROPERTY(QColor ColorCnDate READ ColorCnDate WRITE setColorCnDate)
    Q_PROPERTY(QColor ColorDate READ ColorDate WRITE setColorDate)
    Q_PROPERTY(QColor ColorHoliday READ ColorHoliday WRITE setColorHoliday)
    Q_PROPERTY(QColor ColorLunarHolDay READ ColorLunarHolDay WRITE setColorLunarHolDay)
    Q_PROPERTY(QColor ColorCnHolDay READ ColorCnHolDay WRITE setColorCnHolDay)
    Q_PROPERTY(QColor ColorSelectedStart READ ColorSelectedStart WRITE setColorSelectedStart)
    Q_PROPERTY(QColor ColorSelectedEnd READ ColorSelectedEnd WRITE setColorSelectedEnd)
    Q_PROPERTY(QColor ColorSelectedFrame READ ColorSelectedFrame WRITE setColorSelectedFrame)
    Q_PROPERTY(QColor ColorWeekNum READ ColorWeekNum WRITE setColorWeekNum)
    Q_PROPERTY(QColor ColorShowFrame READ ColorShowFrame WRITE setColorShowFrame)
    Q_PROPERTY(QColor ColorBackYear READ ColorBackYear WRITE setColorBackYear)
    Q_PROPERTY(QColor ColorBackMonth READ ColorBackMonth WRITE setColorBackMonth)
    Q_PROPERTY(QColor ColorTitleToday READ ColorTitleToday WRITE setColorTitleToday)
    Q_PROPERTY(QColor ColorTitleMonth READ ColorTitleMonth WRITE setColorTitleMonth)
    Q_PROPERTY(QColor ColorTitleYear READ ColorTitleYear WRITE setColorTitleYear)
    Q_PROPERTY(QColor ColorTitleSelected READ ColorTitleSelected WRITE setColorTitleSelected)
    Q_PROPERTY(QColor ColorTitleConstellation READ ColorTitleConstellation WRITE
                   setColorTitleConstellation)
    Q_PROPERTY(
        QColor ColorTitleAnimalsYear READ ColorTitleAnimalsYear WRITE setColorTitleAnimalsYear)
    Q_PROPERTY(double DateTime READ DateTime WRITE setDateTime NOTIFY OnChange)
    Q_PROPERTY(QString CnDate READ CnDate WRITE setCnDate)
    Q_PROPERTY(QString CnMonth READ CnMonth WRITE setCnMonth)
    Q_PROPERTY(QString CnDay READ CnDay WRITE setCnDay)
    Q_PROPERTY(QImage BackGround READ BackGround WRITE setBackGround)
    Q_PROPERTY(bool Center READ Center WRITE setCenter)
    Q_PROPERTY(bool Stretch READ Stretch WRITE setStretch)
    Q_PROPERTY(bool Transparent READ Transparent WRITE setTransparent)
    Q_PROPERTY(int AlphaBlend READ AlphaBlend WRITE setAlphaBlend)

public:
    // Builds the children. The menus, the first grid layout, the current moment and the title
    // bar follow when the control is first shown, whatever was set before.
    explicit TChnCalendar(QWidget *parent = nullptr);
    ~TChnCalendar() override;

    bool ShowTitle() const { return FShowTitle; }
    void setShowTitle(bool value);
    bool ShowWeekNum() const { return FShowWeekNum; }
    void setShowWeekNum(bool value);
    bool ShowFrame() const { return FShowFrame; }
    void setShowFrame(bool value);
    bool ShowBackYearMonth() const { return FShowBackYearMonth; }
    void setShowBackYearMonth(bool value);
    bool ShowWeekNumLine() const { return FShowWeekNumLine; }
    void setShowWeekNumLine(bool value);
    bool HideSelection() const { return FHideSelection; }
    void setHideSelection(bool value);

    // The colours of these fonts never show: each cell's own colours replace them.
    QFont FontDate() const { return FFontDate; }
    void setFontDate(const QFont &font);
    QColor FontDateColor() const { return FFontDateColor; }
    void setFontDateColor(const QColor &color) { FFontDateColor = color; }
    QFont FontCnDate() const { return FFontCnDate; }
    void setFontCnDate(const QFont &font);
    QColor FontCnDateColor() const { return FFontCnDateColor; }
    void setFontCnDateColor(const QColor &color) { FFontCnDateColor = color; }

    QColor ColorTitleWeekLine() const { return FColorTitleWeekLine; }
    void setColorTitleWeekLine(const QColor &color);
    QColor ColorTitleWeekEnd() const { return FColorTitleWeekEnd; }
    void setColorTitleWeekEnd(const QColor &color);
    QColor ColorTitleWeek() const { return FColorTitleWeek; }
    void setColorTitleWeek(const QColor &color);
    // The five day colours take effect at once: the shown month is rebuilt without OnChange.
    QColor ColorCnDate() const { return FColorCnDate; }
    void setColorCnDate(const QColor &color);
    QColor ColorDate() const { return FColorDate; }
    void setColorDate(const QColor &color);
    QColor ColorHoliday() const { return FColorHoliday; }
    void setColorHoliday(const QColor &color);
    QColor ColorLunarHolDay() const { return FColorLunarHolDay; }
    void setColorLunarHolDay(const QColor &color);
    QColor ColorCnHolDay() const { return FColorCnHolDay; }
    void setColorCnHolDay(const QColor &color);
    QColor ColorSelectedStart() const { return FColorSelectedStart; }
    void setColorSelectedStart(const QColor &color);
    QColor ColorSelectedEnd() const { return FColorSelectedEnd; }
    void setColorSelectedEnd(const QColor &color);
    QColor ColorSelectedFrame() const { return FColorSelectedFrame; }
    void setColorSelectedFrame(const QColor &color);
    QColor ColorWeekNum() const { return FColorWeekNum; }
    void setColorWeekNum(const QColor &color);
    QColor ColorShowFrame() const { return FColorShowFrame; }
    void setColorShowFrame(const QColor &color);
    QColor ColorBackYear() const { return FColorBackYear; }
    void setColorBackYear(const QColor &color);
    QColor ColorBackMonth() const { return FColorBackMonth; }
    void setColorBackMonth(const QColor &color);
    // These four live in the labels' own text colours.
    QColor ColorTitleToday() const;
    void setColorTitleToday(const QColor &color);
    QColor ColorTitleMonth() const;
    void setColorTitleMonth(const QColor &color);
    QColor ColorTitleYear() const;
    void setColorTitleYear(const QColor &color);
    QColor ColorTitleSelected() const;
    void setColorTitleSelected(const QColor &color);
    QColor ColorTitleConstellation() const { return FColorTitleConstellation; }
    void setColorTitleConstellation(const QColor &color) { FColorTitleConstellation = color; }
    QColor ColorTitleAnimalsYear() const { return FColorTitleAnimalsYear; }
    void setColorTitleAnimalsYear(const QColor &color) { FColorTitleAnimalsYear = color; }

    // Days since 1899-12-30, time of day as the fraction. Values equal to the current one, and
    // values outside the years 1 ... 2100, are ignored.
    double DateTime() const { return FDateTime; }
    void setDateTime(double value);
    QString CnDate() const { return FCnDate; }
    void setCnDate(const QString &text) { FCnDate = text; }
    QString CnMonth() const { return FCnMonth; }
    void setCnMonth(const QString &text) { FCnMonth = text; }
    QString CnDay() const { return FCnDay; }
    void setCnDay(const QString &text) { FCnDay = text; }

    QImage BackGround() const { return FBackGround; }
    void setBackGround(const QImage &picture);
    bool Center() const { return FCenter; }
    void setCenter(bool value);
    bool Stretch() const { return FStretch; }
    void setStretch(bool value);
    bool Transparent() const { return FTransparent; }
    void setTransparent(bool value);
    // 0 ... 255; the blend uses the value mod 100 as a percentage.
    int AlphaBlend() const { return FAlphaBlend; }
    void setAlphaBlend(int value);

    void setOnDrawDateCell(TDrawDateCellEvent handler) { FOnDrawDateCell = std::move(handler); }
    void setOnDrawCnDateCell(TDrawDateCellEvent handler) { FOnDrawCnDateCell = std::move(handler); }

    // The month model, read by hosts and tests: entries 1 ... 50, week-number rows 1 ... 6.
    const TcnDateInf &Cell(int t) const { return FCells[t - 1]; }
    QString WeekNum(int row) const { return FWeekNums[row - 1]; }
    const QImage &BackBitmap() const { return FBackBitmap; }

    void GoToday();
    void MonthStep();
    void YearStep();
    void RebuildBackground();
    void LayoutGrid();

    // Text of header cell col (0 ... 8) for a cell wd px wide.
    static QString HeaderText(int col, int wd, bool showWeekNum);

    QSize sizeHint() const override;

signals:
    void OnChange();
    void OnDateSelect();
    void OnDateClick();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void CreateWnd();
    void BuildMenus();
    void BuildMonth(bool raiseChange);
    void ApplyGeometry();
    void RefreshGrid();
    void RebuildAndRepaint();
    void PlaceMonthLabel();
    void PlaceLabel(QLabel *label, int left, int top);
    void SetLabelColor(QLabel *label, const QColor &color);
    void StepTo(int y, int m, int d);

    void GridSelectCell(int col, int row, bool &canSelect);
    void GridClick();
    void GridDrawCell(QPainter &gridPainter, int col, int row, const QRect &rect, bool selected,
                      bool focused);
    void DrawDayCell(QPainter &p, int t, int wd, int ht, bool selected, bool highlighted);
    void MonthItemClick(QAction *item);
    void YearItemClick(QAction *item);

    bool FShowTitle = false;
    bool FShowWeekNum = false;
    bool FShowFrame = true;
    bool FShowBackYearMonth = true;
    bool FShowWeekNumLine = true;
    bool FHideSelection = false;
    QFont FFontDate;
    QColor FFontDateColor;
    QFont FFontCnDate;
    QColor FFontCnDateColor;
    QColor FColorTitleWeekLine{0xC5, 0xC5, 0xC5};
    QColor FColorTitleWeekEnd{0xFF, 0x00, 0x00};
    QColor FColorTitleWeek{0x4F, 0x4F, 0x4F};
    QColor FColorCnDate{0x00, 0x80, 0x00};
    QColor FColorDate{0x4F, 0x4F, 0x4F};
    QColor FColorHoliday{0xFF, 0x80, 0x00};
    QColor FColorLunarHolDay{0x53, 0x53, 0xFF};
    QColor FColorCnHolDay{0xFF, 0x80, 0x00};
    QColor FColorSelectedStart{0x00, 0xAE, 0x53};
    QColor FColorSelectedEnd{0x00, 0xD5, 0x65};
    QColor FColorSelectedFrame{0x00, 0x93, 0x46};
    QColor FColorWeekNum{0x80, 0x80, 0x80};
    QColor FColorShowFrame{0x80, 0x80, 0x80};
    QColor FColorBackYear{0xFF, 0xE8, 0xDD};
    QColor FColorBackMonth{0xEB, 0xEB, 0xEB};
    QColor FColorTitleConstellation{0, 0, 0};
    QColor FColorTitleAnimalsYear{0, 0, 0};
    double FDateTime = 0;
    bool FBuilt = false; // a month build has run; until then the day colours only store
    bool FWindowCreated = false;
    QString FCnDate;
    QString FCnMonth;
    QString FCnDay;
    QImage FBackGround;
    bool FCenter = false;
    bool FStretch = false;
    bool FTransparent = false;
    int FAlphaBlend = 50;

    std::array<TcnDateInf, kCellEntries> FCells;
    std::array<QString, 6> FWeekNums;
    bool FMouseDown = false;
    bool FSettingCell = false;
    TChnCal FCal;

    QImage FBackBitmap;
    QImage FPictureBitmap;
    QImage FCellBitmap;
    QPoint FBackYearMonth; // year and month FBackBitmap was composed for
    QFont FSmallFont;      // 宋体 9 pt: title cells, week numbers, info line

    TDateGrid *FGrid = nullptr;
    TUpDown *FMonthUpDown = nullptr;
    TUpDown *FYearUpDown = nullptr;
    QLabel *FTodayLabel = nullptr;
    QLabel *FMonthLabel = nullptr;
    QLabel *FMonthUnitLabel = nullptr;
    QLabel *FYearLabel = nullptr;
    QLabel *FYearUnitLabel = nullptr;
    QLabel *FInfoLabel = nullptr;
    QMenu *FMonthMenu = nullptr;
    QMenu *FYearMenu = nullptr;
    int FMonthLabelRight = 0;

    TDrawDateCellEvent FOnDrawDateCell;
    TDrawDateCellEvent FOnDrawCnDateCell;
};
