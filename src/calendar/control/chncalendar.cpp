#include "chncalendar.h"

#include "calendarpaint.h"
#include "dategrid.h"
#include "datevalue.h"
#include "updown.h"

#include <QAction>
#include <QCursor>
#include <QEvent>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

namespace
{

// The control's own size at construction, before any host lays it out.
constexpr int kInitialWidth = 313;
constexpr int kInitialHeight = 253;
constexpr int kYearMin = 1;
constexpr int kYearMax = 2100;
constexpr int kGradientBands = 256;
// The two spinner values beyond the months: December before, January after.
constexpr int kMonthBefore = 0;
constexpr int kMonthAfter = 13;
const QColor kWeekendDayColor(0xFF, 0x00, 0x00);
const QColor kFirstLunarDayColor(0xFF, 0x00, 0x00);

// Sizes are given in points at 96 dpi, as the layout's pixel positions assume; pixel sizes keep
// the title bar and cells in place whatever the screen's resolution.
int PixelsOfPoints(int points)
{
    return (points * 96 + 36) / 72;
}

QFont MakeFont(const QString &family, int points, bool bold = false, bool underline = false)
{
    QFont font(family);
    font.setPixelSize(PixelsOfPoints(points));
    // "Arial Black" is a heavy face by itself; its substitutes need the weight spelt out.
    if (family == QLatin1String("Arial Black"))
        font.setWeight(QFont::Black);
    else if (bold)
        font.setBold(true);
    font.setUnderline(underline);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

QString Text(const std::string &utf8)
{
    return QString::fromStdString(utf8);
}

// Fills the text's own box in white before the text, so that a watermark digit hides whatever
// was drawn under it, as opaque text output does.
void DrawOpaqueText(QPainter &p, const QRect &r, const QString &text, unsigned flags)
{
    const QFontMetrics metrics(p.font());
    const QSize box(metrics.horizontalAdvance(text), LineHeightOf(p.font()));
    const QRect textBox = QStyle::alignedRect(Qt::LeftToRight, AlignmentOfTextFlags(flags), box, r);
    p.fillRect(textBox.intersected(r), Qt::white);
    DrawTextA(p, r, text, flags);
}

} // namespace

TChnCalendar::TChnCalendar(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    FSmallFont = MakeFont(u"宋体"_qs, 9);
    setFont(FSmallFont);
    FFontDate = MakeFont(u"黑体"_qs, 9, true);
    FFontDateColor = palette().color(QPalette::WindowText);
    FFontCnDate = MakeFont(u"宋体"_qs, 9);
    FFontCnDateColor = QColor(0xEE, 0xEE, 0xEE);
    resize(kInitialWidth, kInitialHeight);

    FMonthMenu = new QMenu(this);
    FMonthMenu->setObjectName(u"FMonthMenu"_qs);
    FYearMenu = new QMenu(this);
    FYearMenu->setObjectName(u"FYearMenu"_qs);

    FGrid = new TDateGrid(this);
    FGrid->setObjectName(u"FGrid"_qs);
    FGrid->setGeometry(8, 40, 298, 186);
    FGrid->setOnSelectCell(
        [this](int col, int row, bool &canSelect) { GridSelectCell(col, row, canSelect); });
    FGrid->setOnDrawCell(
        [this](QPainter &p, int col, int row, const QRect &rect, bool selected, bool focused) {
            GridDrawCell(p, col, row, rect, selected, focused);
        });
    connect(FGrid, &TDateGrid::OnClick, this, &TChnCalendar::GridClick);
    connect(FGrid, &TDateGrid::OnMouseDown, this, [this](Qt::MouseButton) { FMouseDown = true; });

    auto makeLabel = [this](const QString &name, const QString &text, const QFont &font,
                            const QColor &color, bool hand) {
        auto *label = new QLabel(text, this);
        label->setObjectName(name);
        label->setTextFormat(Qt::PlainText);
        label->setFont(font);
        label->setMargin(0);
        label->setIndent(0);
        label->setContentsMargins(0, 0, 0, 0);
        SetLabelColor(label, color);
        if (hand) label->setCursor(Qt::PointingHandCursor);
        label->installEventFilter(this);
        return label;
    };
    const QFont unitFont = MakeFont(u"宋体"_qs, 9);
    FMonthLabel = makeLabel(u"FMonthLabel"_qs, {}, MakeFont(u"Arial"_qs, 24, true),
                            QColor(0x80, 0x80, 0xC0), true);
    FMonthLabel->setAlignment(Qt::AlignRight | Qt::AlignTop);
    FMonthLabelRight = 34 + QFontMetrics(FMonthLabel->font()).horizontalAdvance(QLatin1Char(' '));
    PlaceMonthLabel();
    FMonthUnitLabel = makeLabel(u"FMonthUnitLabel"_qs, u"月"_qs, unitFont, Qt::black, true);
    PlaceLabel(FMonthUnitLabel, 45, 20);
    FYearLabel = makeLabel(u"FYearLabel"_qs, {}, MakeFont(u"Arial Black"_qs, 22),
                           QColor(0x00, 0x00, 0xFF), true);
    PlaceLabel(FYearLabel, 120, 0);
    FYearUnitLabel = makeLabel(u"FYearUnitLabel"_qs, u"年"_qs, unitFont, Qt::black, true);
    PlaceLabel(FYearUnitLabel, 205, 18);
    FTodayLabel = makeLabel(u"FTodayLabel"_qs, u"今天"_qs, MakeFont(u"宋体"_qs, 9, false, true),
                            QColor(0x00, 0x00, 0xFF), true);
    PlaceLabel(FTodayLabel, 272, 18);
    FInfoLabel =
        makeLabel(u"FInfoLabel"_qs, {}, MakeFont(u"宋体"_qs, 9), QColor(0x80, 0x80, 0x80), false);
    PlaceLabel(FInfoLabel, 10, 236);

    FMonthUpDown = new TUpDown(kMonthBefore, kMonthAfter, this);
    FMonthUpDown->setObjectName(u"FMonthUpDown"_qs);
    FMonthUpDown->move(60, 10);
    FMonthUpDown->installEventFilter(this);
    connect(FMonthUpDown, &TUpDown::OnClick, this, [this] { MonthStep(); });
    FYearUpDown = new TUpDown(kYearMin, kYearMax, this);
    FYearUpDown->setObjectName(u"FYearUpDown"_qs);
    FYearUpDown->move(220, 10);
    FYearUpDown->installEventFilter(this);
    connect(FYearUpDown, &TUpDown::OnClick, this, [this] { YearStep(); });
    FGrid->installEventFilter(this);
}

TChnCalendar::~TChnCalendar() = default;

QSize TChnCalendar::sizeHint() const
{
    return {kInitialWidth, kInitialHeight};
}

void TChnCalendar::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!FWindowCreated) {
        FWindowCreated = true;
        CreateWnd();
    }
}

void TChnCalendar::CreateWnd()
{
    BuildMenus();
    setDateTime(NowValue());
    setShowTitle(true);
}

void TChnCalendar::BuildMenus()
{
    auto addToday = [this](QMenu *menu, const QString &name) {
        QAction *today = menu->addAction(u"今日"_qs);
        today->setObjectName(name);
        today->setData(0);
        QFont bold = menu->font();
        bold.setBold(true);
        today->setFont(bold);
        menu->setDefaultAction(today);
        connect(today, &QAction::triggered, this, &TChnCalendar::GoToday);
    };
    auto addSeparator = [](QMenu *menu, const QString &name) {
        QAction *separator = menu->addSeparator();
        separator->setObjectName(name);
        separator->setData(0);
    };
    auto addYear = [this](QMenu *menu, int year, const QString &name) {
        QAction *item = menu->addAction(QString::number(year));
        item->setObjectName(name);
        item->setData(year);
        connect(item, &QAction::triggered, this, [this, item] { YearItemClick(item); });
    };
    auto addGroup = [](QMenu *menu, const QString &caption, const QString &name) {
        QMenu *group = menu->addMenu(caption);
        group->setObjectName(name);
        group->menuAction()->setObjectName(name);
        group->menuAction()->setData(0);
        return group;
    };

    addToday(FMonthMenu, u"MenuMonth_ToDay"_qs);
    addSeparator(FMonthMenu, u"MenuMonth_ToDay_"_qs);
    const QLocale locale;
    for (int month = 1; month <= 12; ++month) {
        QAction *item = FMonthMenu->addAction(locale.toString(QDate(2004, month, 1), u"MMMM"_qs));
        item->setObjectName(u"MenuMonth_"_qs + QString::number(month - 1));
        item->setData(month);
        connect(item, &QAction::triggered, this, [this, item] { MonthItemClick(item); });
    }

    addToday(FYearMenu, u"MenuYear_ToDay"_qs);
    addSeparator(FYearMenu, u"MenuYear_ToDay_1"_qs);
    QMenu *history = addGroup(FYearMenu, u"历史日期"_qs, u"MenuYear_History"_qs);
    for (int century = 0; century <= 18; ++century) {
        QMenu *group = addGroup(history, QString::number(100 * century),
                                u"MenuYear_History_"_qs + QString::number(100 * century + 10));
        for (int year = 100 * century + 10; year <= 100 * century + 100; year += 10)
            addYear(group, year, u"MenuYear_History_"_qs + QString::number(year));
    }
    addSeparator(FYearMenu, u"MenuYear_ToDay_2"_qs);
    for (int decade = 1900; decade <= 2090; decade += 10) {
        QMenu *group =
            addGroup(FYearMenu, QString::number(decade), u"MenuYear_"_qs + QString::number(decade));
        for (int year = decade; year <= decade + 9; ++year)
            addYear(group, year, u"MenuYear_"_qs + QString::number(year));
    }

    FGrid->setColWidths(0, kNarrowColWidth);
    FGrid->setRowHeights(0, kHeaderHeight);
    LayoutGrid();
}

// ---- properties ----

void TChnCalendar::setShowTitle(bool value)
{
    FShowTitle = value;
    ApplyGeometry();
}

void TChnCalendar::setShowWeekNum(bool value)
{
    if (value == FShowWeekNum) return;
    FShowWeekNum = value;
    // The day columns keep their widths until the next layout.
    FGrid->setColWidths(0, value ? kWeekNumColWidth : kNarrowColWidth);
    RefreshGrid();
}

void TChnCalendar::setShowFrame(bool value)
{
    FShowFrame = value;
    RebuildAndRepaint();
}

void TChnCalendar::setShowBackYearMonth(bool value)
{
    FShowBackYearMonth = value;
    RebuildAndRepaint();
}

void TChnCalendar::setShowWeekNumLine(bool value)
{
    FShowWeekNumLine = value;
    RefreshGrid();
}

void TChnCalendar::setHideSelection(bool value)
{
    FHideSelection = value;
    // Painting reads it, so the selection shows or hides at once rather than at the next paint.
    RefreshGrid();
}

void TChnCalendar::setFontDate(const QFont &font)
{
    FFontDate = font;
    RefreshGrid();
}

void TChnCalendar::setFontCnDate(const QFont &font)
{
    FFontCnDate = font;
    RefreshGrid();
}

void TChnCalendar::setColorTitleWeekLine(const QColor &color)
{
    FColorTitleWeekLine = color;
    RefreshGrid();
}

void TChnCalendar::setColorTitleWeekEnd(const QColor &color)
{
    FColorTitleWeekEnd = color;
    RefreshGrid();
}

void TChnCalendar::setColorTitleWeek(const QColor &color)
{
    FColorTitleWeek = color;
    RefreshGrid();
}

void TChnCalendar::setColorCnDate(const QColor &color)
{
    FColorCnDate = color;
    if (FBuilt) BuildMonth(false);
}

void TChnCalendar::setColorDate(const QColor &color)
{
    FColorDate = color;
    if (FBuilt) BuildMonth(false);
}

void TChnCalendar::setColorHoliday(const QColor &color)
{
    FColorHoliday = color;
    if (FBuilt) BuildMonth(false);
}

void TChnCalendar::setColorLunarHolDay(const QColor &color)
{
    FColorLunarHolDay = color;
    if (FBuilt) BuildMonth(false);
}

void TChnCalendar::setColorCnHolDay(const QColor &color)
{
    FColorCnHolDay = color;
    if (FBuilt) BuildMonth(false);
}

void TChnCalendar::setColorSelectedStart(const QColor &color)
{
    FColorSelectedStart = color;
    RefreshGrid();
}

void TChnCalendar::setColorSelectedEnd(const QColor &color)
{
    FColorSelectedEnd = color;
    RefreshGrid();
}

void TChnCalendar::setColorSelectedFrame(const QColor &color)
{
    FColorSelectedFrame = color;
    RefreshGrid();
}

void TChnCalendar::setColorWeekNum(const QColor &color)
{
    FColorWeekNum = color;
    if (FShowWeekNum) RefreshGrid();
}

void TChnCalendar::setColorShowFrame(const QColor &color)
{
    FColorShowFrame = color;
    if (FShowFrame) RebuildAndRepaint();
}

void TChnCalendar::setColorBackYear(const QColor &color)
{
    FColorBackYear = color;
    RebuildAndRepaint();
}

void TChnCalendar::setColorBackMonth(const QColor &color)
{
    FColorBackMonth = color;
    RebuildAndRepaint();
}

QColor TChnCalendar::ColorTitleToday() const
{
    return FTodayLabel->palette().color(QPalette::WindowText);
}

void TChnCalendar::setColorTitleToday(const QColor &color)
{
    SetLabelColor(FTodayLabel, color);
}

QColor TChnCalendar::ColorTitleMonth() const
{
    return FMonthLabel->palette().color(QPalette::WindowText);
}

void TChnCalendar::setColorTitleMonth(const QColor &color)
{
    SetLabelColor(FMonthLabel, color);
}

QColor TChnCalendar::ColorTitleYear() const
{
    return FYearLabel->palette().color(QPalette::WindowText);
}

void TChnCalendar::setColorTitleYear(const QColor &color)
{
    SetLabelColor(FYearLabel, color);
}

QColor TChnCalendar::ColorTitleSelected() const
{
    return FInfoLabel->palette().color(QPalette::WindowText);
}

void TChnCalendar::setColorTitleSelected(const QColor &color)
{
    SetLabelColor(FInfoLabel, color);
}

void TChnCalendar::setBackGround(const QImage &picture)
{
    FBackGround = picture;
    RebuildAndRepaint();
}

void TChnCalendar::setCenter(bool value)
{
    FCenter = value;
    RebuildAndRepaint();
}

void TChnCalendar::setStretch(bool value)
{
    FStretch = value;
    RebuildAndRepaint();
}

void TChnCalendar::setTransparent(bool value)
{
    FTransparent = value;
    RebuildAndRepaint();
}

void TChnCalendar::setAlphaBlend(int value)
{
    FAlphaBlend = std::clamp(value, 0, 255);
    RebuildAndRepaint();
}

// ---- month build ----

void TChnCalendar::setDateTime(double value)
{
    if (value == FDateTime) return;
    const std::optional<QDate> date = DateOfValue(value);
    if (!date || date->year() < FYearUpDown->Min() || date->year() > FYearUpDown->Max()) return;
    FDateTime = value;
    FYearUpDown->setPosition(date->year());
    FMonthUpDown->setPosition(date->month());
    BuildMonth(true);
}

void TChnCalendar::BuildMonth(bool raiseChange)
{
    const QDate date = *DateOfValue(FDateTime);
    const int y = date.year();
    const int m = date.month();
    const int d = date.day();
    FBuilt = true;

    FillDayInfo(FCal, FDateTime);
    FCnMonth = Text(FCal.CnMonthText);
    FCnDay = Text(FCal.CnDayText);
    FCnDate = FCnMonth + FCnDay;

    FYearLabel->setText(QString::number(y));
    PlaceLabel(FYearLabel, FYearLabel->x(), FYearLabel->y());
    FMonthLabel->setText(QString::number(m));
    PlaceMonthLabel();

    TcnDateInf &constellation = FCells[kConstellationEntry - 1];
    TcnDateInf &yearCycle = FCells[kYearCycleEntry - 1];
    TcnDateInf &animal = FCells[kAnimalEntry - 1];
    constellation.Used = yearCycle.Used = animal.Used = true;
    yearCycle.DayText = Text(FCal.YearCycle);
    animal.DayText = Text(FCal.Animal) + u"年"_qs;

    const QString lead = y >= 1949 ? date.toString(u"yyyy-MM-dd"_qs) : Text(FCal.EraText);
    FInfoLabel->setText(lead + u" 农历"_qs + FCnDate);
    PlaceLabel(FInfoLabel, FInfoLabel->x(), FInfoLabel->y());

    FWeekNums.fill(QString());
    for (int t = 1; t <= kLastDayEntry; ++t) {
        TcnDateInf &cell = FCells[t - 1];
        cell.Used = false;
        cell.LunarMonth.clear();
        cell.LunarDay.clear();
        cell.CnText.clear();
        cell.DayColor = (t % 7 == 0 || t % 7 == 1) ? kWeekendDayColor : FColorDate;
    }

    const QDate first(y, m, 1);
    const int s = DayOfWeekOfDate(first);
    const int n = first.daysInMonth();
    // A failure from here on keeps the cells built so far and raises no change.
    try {
        int lastWeek = -1;
        int nextRow = 1;
        for (int t = s; t <= s + n - 1; ++t) {
            const int k = t - s + 1;
            const QDate day(y, m, k);
            FillDayInfo(FCal, ValueOfDate(day));

            // Row r shows the r-th distinct ISO week met in day order.
            const int week = day.weekNumber();
            if (week != lastWeek && nextRow <= 6) {
                lastWeek = week;
                FWeekNums[nextRow - 1] = QString::number(week);
                ++nextRow;
            }

            TcnDateInf &cell = FCells[t - 1];
            cell.DayText = QString::number(k);
            cell.DayOfMonth = k;
            cell.LunarMonth = Text(FCal.CnMonthText);
            cell.LunarDay = Text(FCal.CnDayText);
            // Later rules win: lunar festival over solar term over civil festival over the
            // lunar day (or, on its first day, the lunar month in red).
            if (cell.LunarDay == u"初一"_qs) {
                cell.CnText = cell.LunarMonth;
                cell.CnColor = kFirstLunarDayColor;
            } else {
                cell.CnText = cell.LunarDay;
                cell.CnColor = FColorCnDate;
            }
            if (!FCal.Holiday.empty()) {
                cell.CnText = Text(FCal.Holiday);
                cell.CnColor = FColorHoliday;
            }
            if (!FCal.SolarTerm.empty()) {
                cell.CnText = Text(FCal.SolarTerm);
                cell.CnColor = FColorLunarHolDay;
            }
            if (!FCal.CnHoliday.empty()) {
                cell.CnText = Text(FCal.CnHoliday);
                cell.CnColor = FColorCnHolDay;
            }

            if (k == d) {
                constellation.DayText = Text(FCal.Constellation);
                const QPoint at = CellOfEntry(t);
                FSettingCell = true;
                struct Reset {
                    bool &flag;
                    ~Reset() { flag = false; }
                } reset{FSettingCell};
                FGrid->setRow(at.y());
                FGrid->setCol(at.x());
            }
            cell.Used = true;
        }
        // The ground depends on the date only through its year and month.
        if (FBackYearMonth != QPoint(y, m)) RebuildBackground();
        RefreshGrid();
        if (raiseChange) emit OnChange();
    } catch (...) {
        RefreshGrid();
    }
}

// ---- geometry ----

void TChnCalendar::ApplyGeometry()
{
    FMonthUpDown->setVisible(FShowTitle);
    FYearUpDown->setVisible(FShowTitle);
    FGrid->setGeometry(GridRectFor(size(), FShowTitle));
    FGrid->setPopupMenu(FShowTitle ? nullptr : FYearMenu);
    // The grid lies over the title labels when the title bar is off.
    FGrid->raise();
    LayoutGrid();
    RebuildBackground();
    RefreshGrid();
}

void TChnCalendar::LayoutGrid()
{
    FGrid->setLayout(::LayoutGrid(FGrid->width(), FGrid->height(), FGrid->ColWidths(0)));
}

void TChnCalendar::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    ApplyGeometry();
    update();
}

void TChnCalendar::PlaceLabel(QLabel *label, int left, int top)
{
    const QFontMetrics metrics(label->font());
    label->setGeometry(left, top, metrics.horizontalAdvance(label->text()), metrics.height());
}

void TChnCalendar::PlaceMonthLabel()
{
    // Right-aligned: one- and two-digit months end at the same x, just before "月".
    const QFontMetrics metrics(FMonthLabel->font());
    const int width = metrics.horizontalAdvance(FMonthLabel->text());
    FMonthLabel->setGeometry(FMonthLabelRight - width, 3, width, metrics.height());
}

void TChnCalendar::SetLabelColor(QLabel *label, const QColor &color)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
}

// ---- painting ----

void TChnCalendar::RefreshGrid()
{
    FGrid->update();
}

void TChnCalendar::RebuildAndRepaint()
{
    RebuildBackground();
    RefreshGrid();
    update();
}

QString TChnCalendar::HeaderText(int col, int wd, bool showWeekNum)
{
    if (col == 0) return showWeekNum ? u"W"_qs : QString();
    if (col < 1 || col > 7) return {};
    if (wd - 2 > 36) return QLocale().dayName(col == 1 ? 7 : col - 1, QLocale::LongFormat);
    static const QString shortNames[7] = {u"日"_qs, u"一"_qs, u"二"_qs, u"三"_qs,
                                          u"四"_qs, u"五"_qs, u"六"_qs};
    return shortNames[col - 1];
}

void TChnCalendar::RebuildBackground()
{
    const qreal dpr = devicePixelRatioF();
    const QSize physical = size() * dpr;
    if (FBackBitmap.size() != physical || FBackBitmap.devicePixelRatio() != dpr) {
        FBackBitmap = QImage(physical, QImage::Format_RGB32);
        FBackBitmap.setDevicePixelRatio(dpr);
    }
    const QRect client = rect();
    {
        QPainter p(&FBackBitmap);
        p.setFont(font());
        p.fillRect(client, Qt::white);

        if (FShowFrame) {
            // The classic style stands for a desktop without visual styles: a plain rectangle.
            if (style()->name().compare(u"windows"_qs, Qt::CaseInsensitive) == 0) {
                FrameRect(p, client, FColorShowFrame);
            } else {
                QStyleOptionFrame frame;
                frame.initFrom(this);
                frame.rect = client;
                frame.state |= QStyle::State_Enabled | QStyle::State_MouseOver;
                frame.state &= ~QStyle::State_HasFocus;
                frame.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &frame, this);
                frame.midLineWidth = 0;
                style()->drawPrimitive(QStyle::PE_FrameLineEdit, &frame, &p, this);
            }
        }

        const QDate date = DateOfValue(FDateTime).value_or(QDate(1899, 12, 30));
        FBackYearMonth = QPoint(date.year(), date.month());
        if (FShowBackYearMonth) {
            const QRect grid = FGrid->geometry();
            const int left = grid.left();
            const int top = grid.top();
            const int right = grid.left() + grid.width();
            const int bottom = grid.top() + grid.height();
            const unsigned flags = DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_END_ELLIPSIS;
            // The face is heavy by itself; the control's font lends the rest of its style.
            QFont digits = MakeFont(u"Arial Black"_qs, 48);
            digits.setItalic(font().italic());
            digits.setUnderline(font().underline());
            digits.setStrikeOut(font().strikeOut());
            p.setFont(digits);
            p.setPen(FColorBackYear);
            DrawOpaqueText(p, RectLTRB(left, top + 6, right, bottom / 2 + 6),
                           QString::number(date.year()), flags);
            digits.setPixelSize(PixelsOfPoints(90));
            p.setFont(digits);
            p.setPen(FColorBackMonth);
            DrawOpaqueText(p, RectLTRB(left, bottom / 2, right, bottom),
                           QString::number(date.month()), flags);
        }
    }

    if (FBackGround.isNull()) {
        FPictureBitmap = QImage();
        return;
    }
    FPictureBitmap = QImage(physical, QImage::Format_RGB32);
    FPictureBitmap.setDevicePixelRatio(dpr);
    FPictureBitmap.fill(Qt::white);
    {
        QPainter p(&FPictureBitmap);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        const int w = client.width();
        const int h = client.height();
        const int pw = FBackGround.width();
        const int ph = FBackGround.height();
        if (FStretch) {
            if (const auto fit = FitPicture(FBackGround.size(), client.size(), FCenter))
                p.drawImage(*fit, FBackGround);
        } else if (FCenter) {
            p.drawImage(QPoint((w - pw) / 2, (h - ph) / 2), FBackGround);
        } else {
            p.drawImage(QPoint(0, 0), FBackGround);
        }
    }
    BlendPicture(FPictureBitmap, FBackBitmap, QPoint(0, 0), FPictureBitmap.pixel(0, 0),
                 FAlphaBlend);
}

void TChnCalendar::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    if (FBackBitmap.isNull())
        p.fillRect(rect(), Qt::white);
    else
        p.drawImage(QPoint(0, 0), FBackBitmap);
}

void TChnCalendar::GridDrawCell(QPainter &gridPainter, int col, int row, const QRect &rect,
                                bool selected, bool focused)
{
    const int wd = rect.width();
    const int ht = rect.height();
    const qreal dpr = FBackBitmap.isNull() ? 1.0 : FBackBitmap.devicePixelRatio();
    const QSize physical = rect.size() * dpr;
    // One scratch bitmap as large as the largest cell; each cell uses its top-left part.
    if (FCellBitmap.width() < physical.width() || FCellBitmap.height() < physical.height() ||
        FCellBitmap.devicePixelRatio() != dpr) {
        FCellBitmap = QImage(physical.expandedTo(FCellBitmap.size()), QImage::Format_RGB32);
        FCellBitmap.setDevicePixelRatio(dpr);
    }
    {
        QPainter p(&FCellBitmap);
        p.setClipRect(QRect(0, 0, wd, ht));
        try {
            const QRect source(rect.topLeft() * dpr + FGrid->pos() * dpr, physical);
            if (!FBackBitmap.rect().contains(source)) p.fillRect(QRect(0, 0, wd, ht), Qt::white);
            p.drawImage(QPoint(0, 0), FBackBitmap, source);
            p.setFont(font());

            if (row == 0) {
                const QColor color = col == 0                 ? FColorWeekNum
                                     : (col == 1 || col == 7) ? FColorTitleWeekEnd
                                                              : FColorTitleWeek;
                p.setPen(color);
                DrawTextA(p, RectLTRB(0, 0, wd - 2, ht), HeaderText(col, wd, FShowWeekNum),
                          DT_SINGLELINE | DT_CENTER | DT_END_ELLIPSIS);
                // One continuous rule across the header row, spare column included.
                p.fillRect(QRect(0, ht - 4, wd, 1), FColorTitleWeekLine);
                if (FShowWeekNum && col == 0 && FShowWeekNumLine)
                    p.fillRect(QRect(wd - 1, 0, 1, ht), FColorTitleWeekLine);
            } else if (col == 0) {
                if (FShowWeekNum && !FWeekNums[row - 1].isEmpty()) {
                    p.setFont(FSmallFont);
                    p.setPen(FColorWeekNum);
                    DrawTextA(p, QRect(0, 0, wd, ht), FWeekNums[row - 1],
                              DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_END_ELLIPSIS);
                    if (FShowWeekNumLine) p.fillRect(QRect(wd - 1, 0, 1, ht), FColorTitleWeekLine);
                }
            } else if (col <= 7) {
                const int t = EntryOfCell(col, row);
                const bool highlighted = selected && (!FHideSelection || focused);
                if (highlighted)
                    GradientFill(p, QRect(0, 0, wd, ht), kGradientBands, FColorSelectedStart,
                                 FColorSelectedEnd);
                const TcnDateInf &cell = FCells[t - 1];
                if (cell.Used) {
                    if (t >= kConstellationEntry) {
                        if (!cell.DayText.isEmpty()) {
                            unsigned flags = DT_WORD_ELLIPSIS | DT_END_ELLIPSIS | DT_BOTTOM;
                            if (t == kConstellationEntry)
                                flags |= DT_CENTER;
                            else if (t == kYearCycleEntry)
                                flags |= DT_RIGHT;
                            p.setFont(FSmallFont);
                            p.setPen(t == kConstellationEntry ? FColorTitleConstellation
                                                              : FColorTitleAnimalsYear);
                            DrawTextA(p, RectLTRB(0, 8, wd, ht), cell.DayText, flags);
                        }
                    } else {
                        DrawDayCell(p, t, wd, ht, selected, highlighted);
                    }
                }
            }
        } catch (...) {
            // The cell is shown as far as it got.
        }
    }
    gridPainter.drawImage(rect.topLeft(), FCellBitmap, QRect(QPoint(0, 0), physical));
}

void TChnCalendar::DrawDayCell(QPainter &p, int t, int wd, int ht, bool selected, bool highlighted)
{
    const TcnDateInf &cell = FCells[t - 1];
    const QRect whole(0, 0, wd, ht);
    const int day = cell.DayText.toInt();

    p.setFont(FFontDate);
    p.setPen(cell.DayColor);
    QString text = cell.DayText;
    bool defaultDraw = true;
    if (FOnDrawDateCell) FOnDrawDateCell(this, day, p, whole, selected, text, defaultDraw);
    if (defaultDraw)
        DrawTextA(p, RectLTRB(2, 0, wd - 2, ht / 2), text,
                  DT_SINGLELINE | DT_CENTER | DT_BOTTOM | DT_END_ELLIPSIS);

    p.setFont(FFontCnDate);
    p.setPen(cell.CnColor);
    text = cell.CnText;
    defaultDraw = true;
    if (FOnDrawCnDateCell) FOnDrawCnDateCell(this, day, p, whole, selected, text, defaultDraw);
    if (defaultDraw) {
        DrawTextA(p, RectLTRB(2, ht / 2, wd - 2, ht), text,
                  DT_SINGLELINE | DT_CENTER | DT_END_ELLIPSIS);
        if (highlighted) FrameRect(p, whole, FColorSelectedFrame);
    }
}

// ---- selection and navigation ----

void TChnCalendar::GridSelectCell(int col, int row, bool &canSelect)
{
    if (FSettingCell) return;
    canSelect = false;
    if (col == 0 || col == 8 || row == 0) return;
    const int t = EntryOfCell(col, row);
    if (t <= kLastDayEntry) canSelect = FCells[t - 1].Used;
    if (!canSelect) return;
    try {
        const QDate current = *DateOfValue(FDateTime);
        const QDate day(current.year(), current.month(), FCells[t - 1].DayOfMonth);
        setDateTime(ValueOfDate(day));
        if (FMouseDown) emit OnDateClick();
    } catch (...) {
        setDateTime(NowValue());
    }
    canSelect = true;
}

void TChnCalendar::GridClick()
{
    const QPoint pos = FGrid->mapFromGlobal(QCursor::pos());
    if (!FGrid->rect().contains(pos)) return;
    const auto cell = FGrid->MouseCoord(pos);
    if (cell && cell->x() == FGrid->Col() && cell->y() == FGrid->Row()) emit OnDateSelect();
}

void TChnCalendar::GoToday()
{
    setDateTime(NowValue());
}

void TChnCalendar::MonthStep()
{
    const QDate current = DateOfValue(FDateTime).value_or(QDate::currentDate());
    int y = current.year();
    const int position = FMonthUpDown->Position();
    if (position == kMonthAfter) {
        ++y;
        FYearUpDown->setPosition(y);
        FMonthUpDown->setPosition(1);
    } else if (position == kMonthBefore) {
        --y;
        FYearUpDown->setPosition(y);
        FMonthUpDown->setPosition(12);
    }
    StepTo(y, FMonthUpDown->Position(), current.day());
}

void TChnCalendar::YearStep()
{
    const QDate current = DateOfValue(FDateTime).value_or(QDate::currentDate());
    StepTo(FYearUpDown->Position(), current.month(), current.day());
}

void TChnCalendar::StepTo(int y, int m, int d)
{
    // The same day, or the last day of a shorter month; now when the month does not exist.
    bool found = false;
    for (int day = d; day >= 1 && !found; --day) {
        if (QDate::isValid(y, m, day)) {
            setDateTime(ValueOfDate(QDate(y, m, day)));
            found = true;
        }
    }
    if (!found) setDateTime(NowValue());
    // A refused date (beyond 2100) leaves the spinners on the date still shown.
    if (const auto shown = DateOfValue(FDateTime)) {
        FYearUpDown->setPosition(shown->year());
        FMonthUpDown->setPosition(shown->month());
    }
}

void TChnCalendar::MonthItemClick(QAction *item)
{
    FMonthUpDown->setPosition(item->data().toInt());
    MonthStep();
}

void TChnCalendar::YearItemClick(QAction *item)
{
    FYearUpDown->setPosition(item->data().toInt());
    YearStep();
}

// ---- window events ----

void TChnCalendar::leaveEvent(QEvent *event)
{
    FMouseDown = false;
    QWidget::leaveEvent(event);
}

void TChnCalendar::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    // The constructor sets the font before the children exist.
    if (event->type() == QEvent::FontChange && FGrid) {
        RebuildBackground();
        RefreshGrid();
        update();
    }
}

bool TChnCalendar::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Leave) {
        FMouseDown = false;
        return false;
    }
    if (event->type() != QEvent::MouseButtonRelease) return false;
    auto *label = qobject_cast<QLabel *>(watched);
    if (!label) return false;
    const auto *mouse = static_cast<QMouseEvent *>(event);
    if (!label->rect().contains(mouse->position().toPoint())) return false;
    const bool left = mouse->button() == Qt::LeftButton;
    const bool right = mouse->button() == Qt::RightButton;
    if (label == FTodayLabel && left) {
        GoToday();
        return true;
    }
    if ((label == FMonthLabel || label == FMonthUnitLabel) && (left || right)) {
        FMonthMenu->popup(mouse->globalPosition().toPoint());
        return true;
    }
    if ((label == FYearLabel || label == FYearUnitLabel) && (left || right)) {
        FYearMenu->popup(mouse->globalPosition().toPoint());
        return true;
    }
    return false;
}
