#include "mainfrm.h"

#include "chncalendar.h"
#include "editcommands.h"
#include "errorreport.h"
#include "formsize.h"
#include "kqresources.h"
#include "loginlock.h"
#include "picturebutton.h"
#include "uistyle.h"
#include "untpwset.h"
#include "weblinks.h"
#include "webstrip.h"
#include "weekexport.h"
#include "weeklist.h"

#include <QApplication>
#include <QDateTime>
#include <QDesktopServices>
#include <QFont>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QShowEvent>
#include <QSpinBox>
#include <QWindow>

namespace
{

// Designed client area; pnlRight is anchored to all four sides of it.
constexpr int kDesignWidth = 913, kDesignHeight = 530;
constexpr int kRightLeft = 317, kRightTop = 80;
constexpr int kRightGapX = kDesignWidth - kRightLeft - 594;
constexpr int kRightGapY = kDesignHeight - kRightTop - 445;
constexpr int kMinWidth = 906, kMinHeight = 540;
// The band along the window's edges that sizes the window.
constexpr int kGripBand = 3, kGripCorner = 8;
// Indexes into m_titlePictures.
enum { CloseN, CloseH, CloseD, MiniN, MiniH, MiniD, MaxN, MaxH, MaxD };

const QColor kLineColour(220, 227, 255);
const QColor kLeftColour(216, 227, 243);

QWidget *makeLine(QWidget *parent, const char *name)
{
    auto *line = new QWidget(parent);
    line->setObjectName(QLatin1String(name));
    line->setAutoFillBackground(true);
    QPalette pal = line->palette();
    pal.setColor(QPalette::Window, kLineColour);
    line->setPalette(pal);
    return line;
}

QLabel *makePicture(QWidget *parent, const char *name, const QString &resource,
                    bool stretched = false)
{
    auto *picture = new QLabel(parent);
    picture->setObjectName(QLatin1String(name));
    const QPixmap pixmap(resource);
    picture->setPixmap(pixmap);
    picture->setScaledContents(stretched);
    picture->resize(pixmap.size());
    return picture;
}

QMouseEvent *asMouse(QEvent *event)
{
    return static_cast<QMouseEvent *>(event);
}

// The window's outline: shpBG's pen, drawn over the stretched background picture.
class TOutline : public QWidget
{
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setPen(QColor(216, 227, 243));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
};

// One edge or corner of the sizing band. Where the platform has no system resize, the window
// is sized from the mouse moves.
class TResizeGrip : public QWidget
{
public:
    TResizeGrip(Qt::Edges edges, QWidget *window) : QWidget(window), m_edges(edges)
    {
        setObjectName(QStringLiteral("resizeGrip"));
        const bool horizontal = edges & (Qt::LeftEdge | Qt::RightEdge);
        const bool vertical = edges & (Qt::TopEdge | Qt::BottomEdge);
        if (horizontal && vertical) {
            const bool diagonal = (edges == (Qt::TopEdge | Qt::LeftEdge)) ||
                                  (edges == (Qt::BottomEdge | Qt::RightEdge));
            setCursor(diagonal ? Qt::SizeFDiagCursor : Qt::SizeBDiagCursor);
        } else {
            setCursor(horizontal ? Qt::SizeHorCursor : Qt::SizeVerCursor);
        }
    }
    Qt::Edges edges() const { return m_edges; }

    void place()
    {
        const QWidget *w = window();
        const int W = w->width(), H = w->height();
        const int x = m_edges & Qt::LeftEdge    ? 0
                      : m_edges & Qt::RightEdge ? W - kGripBand
                                                : kGripCorner;
        const int y = m_edges & Qt::TopEdge      ? 0
                      : m_edges & Qt::BottomEdge ? H - kGripBand
                                                 : kGripCorner;
        const bool corner = (m_edges & (Qt::LeftEdge | Qt::RightEdge)) &&
                            (m_edges & (Qt::TopEdge | Qt::BottomEdge));
        int width = m_edges & (Qt::LeftEdge | Qt::RightEdge) ? kGripBand : W - 2 * kGripCorner;
        int height = m_edges & (Qt::TopEdge | Qt::BottomEdge) ? kGripBand : H - 2 * kGripCorner;
        if (corner) {
            width = height = kGripCorner;
            setGeometry(m_edges & Qt::LeftEdge ? 0 : W - kGripCorner,
                        m_edges & Qt::TopEdge ? 0 : H - kGripCorner, width, height);
            setMask(QRegion(0, 0, kGripCorner, kGripCorner) -
                    QRegion(m_edges & Qt::LeftEdge ? kGripBand : 0,
                            m_edges & Qt::TopEdge ? kGripBand : 0, kGripCorner - kGripBand,
                            kGripCorner - kGripBand));
        } else {
            setGeometry(x, y, width, height);
        }
        raise();
    }

protected:
    void mousePressEvent(QMouseEvent *event) override
    {
        if (event->button() != Qt::LeftButton) return;
        QWindow *handle = window()->windowHandle();
        if (handle && handle->startSystemResize(m_edges)) return;
        m_start = event->globalPosition().toPoint();
        m_startGeometry = window()->geometry();
        m_manual = true;
    }
    void mouseMoveEvent(QMouseEvent *event) override
    {
        if (!m_manual) return;
        const QPoint d = event->globalPosition().toPoint() - m_start;
        QRect g = m_startGeometry;
        const QSize min = window()->minimumSize();
        if (m_edges & Qt::LeftEdge) g.setLeft(qMin(g.left() + d.x(), g.right() - min.width() + 1));
        if (m_edges & Qt::RightEdge) g.setRight(g.right() + d.x());
        if (m_edges & Qt::TopEdge) g.setTop(qMin(g.top() + d.y(), g.bottom() - min.height() + 1));
        if (m_edges & Qt::BottomEdge) g.setBottom(g.bottom() + d.y());
        window()->setGeometry(g);
    }
    void mouseReleaseEvent(QMouseEvent *) override { m_manual = false; }

private:
    Qt::Edges m_edges;
    bool m_manual = false;
    QPoint m_start;
    QRect m_startGeometry;
};

TMainFrm::Terminator &terminator()
{
    static TMainFrm::Terminator t;
    return t;
}

} // namespace

QString DateCaption(const QDate &date)
{
    static const QString weekdays = QStringLiteral("一二三四五六日");
    return QStringLiteral("今天是 %1年%2月%3日(%4)")
        .arg(date.year())
        .arg(date.month())
        .arg(date.day())
        .arg(weekdays.at(date.dayOfWeek() - 1));
}

void TMainFrm::setTerminator(Terminator t)
{
    terminator() = std::move(t);
}

TMainFrm::TMainFrm(TNoteStore &store, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_store(store)
{
    KqResources::init();
    setObjectName(QStringLiteral("MainFrm"));
    setWindowTitle(QStringLiteral("KQ桌面记事"));
    setWindowIcon(KqResources::appIcon());
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    setMinimumSize(kMinWidth, kMinHeight);
    resize(kDesignWidth, kDesignHeight);

    // The background first: everything else lies above it.
    m_imgBG = makePicture(this, "imgBG", QStringLiteral(":/images/bg_main.png"), true);
    m_imgBG->setMouseTracking(true);
    m_imgBG->installEventFilter(this);
    m_shpBG = new TOutline(this);
    m_shpBG->setObjectName(QStringLiteral("shpBG"));
    m_shpBG->setAttribute(Qt::WA_TransparentForMouseEvents);

    // Pictures and texts on the background let its drag through.
    m_imgLogo = makePicture(this, "imgLogo", QStringLiteral(":/images/logo.png"));
    m_imgLogo->setGeometry(55, 11, 210, 56);
    m_imgLogo->setAttribute(Qt::WA_TransparentForMouseEvents);

    m_lblDateTime = new QLabel(this);
    m_lblDateTime->setObjectName(QStringLiteral("lblDateTime"));
    m_lblDateTime->setFont(UiStyle::pixelFont(QStringLiteral("微软雅黑"), 12, true));
    m_lblDateTime->setStyleSheet(QStringLiteral("color: #800000;"));
    m_lblDateTime->move(343, 19);
    m_lblDateTime->setAttribute(Qt::WA_TransparentForMouseEvents);

    m_lblSet = new QLabel(QStringLiteral("|  选项"), this);
    m_lblSet->setObjectName(QStringLiteral("lblSet"));
    m_lblSet->setCursor(Qt::PointingHandCursor);
    m_lblSet->setStyleSheet(QStringLiteral("color: rgb(40, 72, 128);"));
    m_lblSet->adjustSize();
    m_lblSet->move(761, 60);
    m_lblSet->installEventFilter(this);
    m_topRight.append({m_lblSet, 761});

    m_imgAppToDesk = new TPictureButton(QStringLiteral(":/images/btn_apply_normal.png"),
                                        QStringLiteral(":/images/btn_apply_highlight.png"),
                                        QStringLiteral(":/images/btn_apply_down.png"), this);
    m_imgAppToDesk->setObjectName(QStringLiteral("imgAppToDesk"));
    m_imgAppToDesk->setGeometry(825, 49, 84, 29);
    m_topRight.append({m_imgAppToDesk, 825});
    connect(m_imgAppToDesk, &TPictureButton::clicked, this,
            [this] { m_wallpaper.imgAppToDeskClick(m_pnlRight, this); });

    createTitleButtons();

    // Outside pnlRight, so that it never reaches the wallpaper picture of the week panel.
    m_lblStoreNotice = new QLabel(this);
    m_lblStoreNotice->setObjectName(QStringLiteral("lblStoreNotice"));
    m_lblStoreNotice->setStyleSheet(QStringLiteral("color: red;"));
    m_lblStoreNotice->setGeometry(490, 58, 265, 18);
    m_lblStoreNotice->hide();

    m_pnlLeft = new QWidget(this);
    m_pnlLeft->setObjectName(QStringLiteral("pnlLeft"));
    m_pnlLeft->setGeometry(2, 80, 311, 441);
    auto *shpLeft = new QWidget(m_pnlLeft);
    shpLeft->setObjectName(QStringLiteral("shpLeft"));
    shpLeft->setAutoFillBackground(true);
    QPalette leftPal = shpLeft->palette();
    leftPal.setColor(QPalette::Window, kLeftColour);
    shpLeft->setPalette(leftPal);
    shpLeft->setGeometry(0, 253, 311, 441 - 253);

    m_chnRili = new TChnCalendar(m_pnlLeft);
    m_chnRili->setObjectName(QStringLiteral("chnRili"));
    m_chnRili->setGeometry(0, 0, 311, 253);
    // A click on the calendar takes the focus first, so the box being left saves its week
    // before the calendar changes it.
    m_chnRili->setFocusPolicy(Qt::ClickFocus);
    connect(m_chnRili, &TChnCalendar::OnChange, this, &TMainFrm::chnRiliChange);

    m_pnlWeb = new WebStrip(m_pnlLeft);
    m_pnlWeb->move(2, 253);

    m_imgAddToDesk = new TPictureButton(QStringLiteral(":/images/btn_addbg_normal.png"),
                                        QStringLiteral(":/images/btn_addbg_highlight.png"),
                                        QStringLiteral(":/images/btn_addbg_down.png"), m_pnlLeft);
    m_imgAddToDesk->setObjectName(QStringLiteral("imgAddToDesk"));
    m_imgAddToDesk->setGeometry(62, 312, 176, 50);
    connect(m_imgAddToDesk, &TPictureButton::clicked, this,
            [this] { m_wallpaper.imgAddToDeskClick(this); });

    m_pnlRight = new QWidget(this);
    m_pnlRight->setObjectName(QStringLiteral("pnlRight"));
    m_pnlRight->setAutoFillBackground(true);
    m_pnlRight->setPalette(pal);
    m_pnlRight->setGeometry(kRightLeft, kRightTop, 594, 445);

    // Stacking follows creation: caption bands, then the highlight band, then the captions.
    m_imgtitleYear1 = makePicture(m_pnlRight, "imgtitle_year1",
                                  QStringLiteral(":/images/caption_band_top.png"), true);
    m_imgtitleYear1->setGeometry(4, 0, 587, 26);
    m_imgtitleYear2 = makePicture(m_pnlRight, "imgtitle_year2",
                                  QStringLiteral(":/images/caption_band_bottom.png"), true);
    m_imgtitleYear2->setGeometry(4, 215, 587, 25);
    m_imgSelColor =
        makePicture(m_pnlRight, "imgSelColor", QStringLiteral(":/images/sel_day_band.png"), true);
    m_imgSelColor->setGeometry(5, 0, 190, 26);
    m_imgSelColor->hide();

    static const char *const captionNames[6] = {"lblweek1", "lblweek2", "lblweek3",
                                                "lblweek4", "lblweek5", "lblweek67"};
    static const char16_t *const captions[6] = {u"周 一", u"周 二", u"周 三",
                                                u"周 四", u"周 五", u"周 六/日"};
    const QFont captionFont = UiStyle::pixelFont(QStringLiteral("宋体"), 12);
    for (int i = 0; i < 6; ++i) {
        auto *label = new QLabel(QString::fromUtf16(captions[i]), m_pnlRight);
        label->setObjectName(QLatin1String(captionNames[i]));
        label->setFont(captionFont);
        label->setAttribute(Qt::WA_TranslucentBackground);
        label->adjustSize();
        m_lblweek[i] = label;
    }

    for (int i = 0; i < 6; ++i) {
        auto *box = new TNoteBox(m_pnlRight);
        box->setObjectName(QStringLiteral("redt%1").arg(i + 1));
        connect(box, &QTextEdit::textChanged, this, &TMainFrm::redt1Exit);
        connect(box, &TNoteBox::exited, this, &TMainFrm::redt1Exit);
        m_redt[i] = box;
    }
    m_redt[0]->setKeepSelectionVisible(true);
    m_redt[5]->setKeepSelectionVisible(true);
    for (int i = 0; i + 1 < 6; ++i)
        setTabOrder(m_redt[i], m_redt[i + 1]);

    m_pnlYearLine0 = makeLine(m_pnlRight, "pnl_yearLine0");
    m_pnlYearLine1 = makeLine(m_pnlRight, "pnl_yearLine1");
    m_pnlYearLine2 = makeLine(m_pnlRight, "pnl_yearLine2");
    m_pnlYearLineREdge = makeLine(m_pnlRight, "pnl_yearLineREdge");
    m_pnlButtonline = makeLine(m_pnlRight, "pnl_buttonline");
    m_pnlYearLine0->setGeometry(2, 0, 1, 440);
    m_pnlYearLine1->setGeometry(197, 0, 1, 440);
    m_pnlYearLine2->setGeometry(394, 0, 1, 440);

    createEditingTools();
    createOptionsMenu();
    createHiddenControls();

    for (Qt::Edges edges :
         {Qt::Edges(Qt::LeftEdge), Qt::Edges(Qt::RightEdge), Qt::Edges(Qt::TopEdge),
          Qt::Edges(Qt::BottomEdge), Qt::TopEdge | Qt::LeftEdge, Qt::TopEdge | Qt::RightEdge,
          Qt::BottomEdge | Qt::LeftEdge, Qt::BottomEdge | Qt::RightEdge})
        new TResizeGrip(edges, this);

    followWindowSize();
    ArrangeBoxes();
}

TMainFrm::~TMainFrm()
{
    // Focus moves while the children go must not start a save on a window being taken down.
    for (TNoteBox *box : m_redt)
        box->disconnect(this);
}

void TMainFrm::createTitleButtons()
{
    static const char *const names[9] = {
        "img_close_normal", "img_close_highlight", "img_close_down",
        "img_mini_normal",  "img_mini_highlight",  "img_mini_down",
        "img_max_normal",   "img_max_highlight",   "img_max_down"};
    static const char *const files[9] = {
        "btn_close_normal", "btn_close_highlight", "btn_close_down",
        "btn_mini_normal",  "btn_mini_highlight",  "btn_mini_down",
        "btn_max_normal",   "btn_max_highlight",   "btn_max_down"};
    // Design places; the minimise trio's normal picture sits one pixel right of the others.
    static const QPoint places[9] = {{873, 1}, {873, 1},  {873, 1},  {844, 1}, {843, 1},
                                     {843, 1}, {845, 25}, {845, 25}, {845, 25}};
    for (int i = 0; i < 9; ++i) {
        QLabel *picture = makePicture(
            this, names[i], QStringLiteral(":/images/%1.png").arg(QLatin1String(files[i])));
        picture->move(places[i]);
        picture->setMouseTracking(true);
        picture->installEventFilter(this);
        m_titlePictures[i] = picture;
        m_topRight.append({picture, places[i].x()});
    }
    // The maximise trio is never shown.
    for (int i : {MaxN, MaxH, MaxD})
        m_titlePictures[i]->hide();
    showTitleTrios(false, false, false, false);
}

void TMainFrm::createOptionsMenu()
{
    m_popSysset = new QMenu(this);
    m_popSysset->setObjectName(QStringLiteral("popSysset"));
    const auto item = [this](const char *name, const QString &caption, void (TMainFrm::*slot)()) {
        QAction *action = m_popSysset->addAction(caption);
        action->setObjectName(QLatin1String(name));
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    const auto separator = [this](const char *name) {
        m_popSysset->addSeparator()->setObjectName(QLatin1String(name));
    };
    item("N_DataOut", QStringLiteral("内   容   导   出"), &TMainFrm::N_DataOutClick);
    item("N_BgTransparent", QStringLiteral("背景透明度调节"), &TMainFrm::N_BgTransparentClick);
    separator("N8");
    item("N7", QStringLiteral("登陆密码"), &TMainFrm::N7Click);
    item("N_help", QStringLiteral("帮助说明"), &TMainFrm::N_helpClick);
    item("N_Submit", QStringLiteral("意见反馈"), &TMainFrm::N_SubmitClick);
    separator("N4");
    item("N_ExitPrj", QStringLiteral("退出程序"), &TMainFrm::N_ExitPrjClick);
}

void TMainFrm::createHiddenControls()
{
    m_edtMonth = new QLineEdit(this);
    m_edtMonth->setObjectName(QStringLiteral("edtMonth"));
    m_edtMonth->setGeometry(600, 20, 30, 20);
    m_edtMonth->hide();
    // The up-down is attached to the edit: its position is the edit's text.
    m_udMonth = new QSpinBox(this);
    m_udMonth->setObjectName(QStringLiteral("ud_Month"));
    m_udMonth->setRange(1, 12);
    m_udMonth->setGeometry(630, 20, 16, 20);
    m_udMonth->hide();
    connect(m_udMonth, &QSpinBox::valueChanged, m_edtMonth,
            [this](int v) { m_edtMonth->setText(QString::number(v)); });
    connect(m_edtMonth, &QLineEdit::textChanged, this, &TMainFrm::edtMonthChange);

    m_lblMonth = new QLabel(QStringLiteral("4"), this);
    m_lblMonth->setObjectName(QStringLiteral("lblMonth"));
    m_lblMonth->setFont(UiStyle::pixelFont(QStringLiteral("Arial"), 24, true));
    m_lblMonth->setStyleSheet(QStringLiteral("color: blue;"));
    m_lblMonth->setToolTip(QStringLiteral("选择月份"));
    m_lblMonth->setCursor(Qt::PointingHandCursor);
    m_lblMonth->move(280, 20);
    m_lblMonth->installEventFilter(this);
    m_lblMonth->hide();

    m_ppMonth = new QMenu(this);
    m_ppMonth->setObjectName(QStringLiteral("ppMonth"));
    for (int month = 1; month <= 12; ++month) {
        QAction *action = m_ppMonth->addAction(QStringLiteral("%1月").arg(month));
        action->setObjectName(QStringLiteral("N_Month%1").arg(month));
        connect(action, &QAction::triggered, this, [this, month] { N_MonthClick(month); });
    }

    static const char *const letters[5] = {"A", "B", "C", "D", "E"};
    for (int i = 0; i < 5; ++i) {
        auto *button = new QPushButton(QLatin1String(letters[i]), this);
        button->setObjectName(QStringLiteral("btn") + QLatin1String(letters[i]));
        button->setFlat(true);
        button->setFont(UiStyle::pixelFont(QStringLiteral("Arial"), 16, true));
        button->setGeometry(480 + 22 * i, 20, 20, 22);
        button->setFocusPolicy(Qt::NoFocus);
        button->hide();
        connect(button, &QPushButton::clicked, this, [this, i] { btnLetterClick(i + 1); });
        m_btnLetters[i] = button;
    }
}

void TMainFrm::createEditingTools()
{
    // The tool row (imgFont, btnGou, btnX, imgDate, imgRedColor, btnClearRdt) and the boxes'
    // menu pmDeskTopMonCal; owned by the window.
    new TEditCommands(this, m_pnlRight);
}

bool TMainFrm::FormCreate()
{
    // 1. Double-buffered painting: every Qt widget paints through a back buffer already.

    // 2.
    m_wallpaper.FBgPicName.clear();
    FStyleNo = 1;

    // 3.
    m_wallpaper.PicBGList.clear();
    WeekList = TWeekList{};

    // 4.
    NotesReady = false;
    FShown = false;

    // 5. OnChange runs chnRiliChange: the week is loaded and the day marked.
    m_chnRili->setDateTime(ValueOfDateTime(QDateTime::currentDateTime()));
    // The control starts at now as well and stays silent for an unchanged value; within the
    // same millisecond the week would stay unloaded and nothing would ever be saved.
    if (!NotesReady) chnRiliChange();

    // 6. Before the window is ever shown.
    if (!CheckLoginPassword(this)) return false;

    // 7.
    const QDate today = QDate::currentDate();
    m_lblDateTime->setText(DateCaption(today));
    m_lblDateTime->adjustSize();

    // 8.
    FMonthStr = QString::number(today.month());
    m_udMonth->setValue(today.month());
    m_edtMonth->setText(FMonthStr);

    // 9. A damaged file is reported and ends the creation here: no picture list, designed
    //    bounds.
    QString error;
    if (!m_wallpaper.LoadConfigSetBg(&error)) {
        ErrorReport::show(this, error);
        keepDesignedBounds();
        return true;
    }

    // 10.
    if (!m_wallpaper.LoadPicBGList(false, &error)) {
        ErrorReport::show(this, error);
        keepDesignedBounds();
        return true;
    }

    // 11.
    LoadFormSize();
    return true;
}

void TMainFrm::CreateSecondaryWindows()
{
    // DeskBGSetFrm and MixPicFrm only hold state of the wallpaper flow and came with it.
    m_wallpaper.PicSelFrm(this);
    m_wallpaper.InforFrm(this);
    if (!m_pwsetFrm) m_pwsetFrm = new TpwsetFrm(this);
    m_wallpaper.SetTransFrm(this);
}

void TMainFrm::FormShow()
{
    // 1. The strip keeps its blank page when it cannot start; nothing is reported.
    m_pnlWeb->start();

    // 2.
    m_wallpaper.LoadTransMode();
    const QColor boxColor = m_wallpaper.BoxColor();
    for (TNoteBox *box : m_redt)
        box->setBackgroundColor(boxColor);

    // 3.
    FShown = true;
}

void TMainFrm::keepDesignedBounds()
{
    resize(kDesignWidth, kDesignHeight);
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.x() + (area.width() - width()) / 2,
             area.y() + (area.height() - 30 - height()) / 2);
    }
}

void TMainFrm::LoadFormSize()
{
    const FormSize::Contents file = FormSize::read();
    if (!file.exists) {
        const QScreen *screen = QGuiApplication::primaryScreen();
        const QRect area = screen ? screen->geometry() : QRect(0, 0, kMinWidth, kMinHeight + 30);
        FSavedWidth = kMinWidth;
        FSavedHeight = kMinHeight;
        FSavedLeft = (area.width() - kMinWidth) / 2;
        FSavedTop = (area.height() - 30 - kMinHeight) / 2;
        FStyleNo = 1;
        applyBounds();
        QString error;
        if (!FormSize::write({FStyleNo, FSavedWidth, FSavedHeight, FSavedLeft, FSavedTop},
                             FMonthStr, &error))
            ErrorReport::show(this, error);
        return;
    }

    int *const fields[5] = {&FStyleNo, &FSavedWidth, &FSavedHeight, &FSavedLeft, &FSavedTop};
    for (int i = 0; i < file.values.size(); ++i)
        *fields[i] = file.values[i];
    if (!file.error.isEmpty()) {
        ErrorReport::show(this, file.error);
        keepDesignedBounds();
        return;
    }
    // Line 6 as far as it goes; a bad one is ignored.
    if (file.monthText) {
        FMonthStr = *file.monthText;
        if (file.month) {
            m_udMonth->setValue(*file.month);
            m_lblMonth->setText(*file.monthText);
        }
    }
    applyBounds();
}

void TMainFrm::applyBounds()
{
    resize(FSavedWidth, FSavedHeight); // the minimum size limits both
    QRect bounds(QPoint(FSavedLeft, FSavedTop), size());
    QList<QRect> screens;
    for (const QScreen *screen : QGuiApplication::screens())
        screens << screen->geometry();
    if (const QScreen *primary = QGuiApplication::primaryScreen())
        bounds = FormSize::visibleBounds(bounds, screens, primary->availableGeometry());
    move(bounds.topLeft());
}

bool TMainFrm::SaveFormSize()
{
    QString error;
    if (FormSize::write({FStyleNo, FSavedWidth, FSavedHeight, FSavedLeft, FSavedTop},
                        m_lblMonth->text(), &error))
        return true;
    ErrorReport::show(this, error);
    return false;
}

double TMainFrm::selectedDateTime() const
{
    return m_chnRili->DateTime();
}

void TMainFrm::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_formShowDone && !event->spontaneous()) {
        m_formShowDone = true;
        FormShow();
    }
}

void TMainFrm::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    followWindowSize();
    ArrangeBoxes();
}

void TMainFrm::followWindowSize()
{
    m_imgBG->setGeometry(rect());
    m_shpBG->setGeometry(rect());
    const int dx = width() - kDesignWidth;
    for (const auto &[widget, designX] : m_topRight)
        widget->move(designX + dx, widget->y());
    m_pnlRight->setGeometry(kRightLeft, kRightTop, width() - kRightLeft - kRightGapX,
                            height() - kRightTop - kRightGapY);
    for (auto *grip :
         findChildren<QWidget *>(QStringLiteral("resizeGrip"), Qt::FindDirectChildrenOnly))
        static_cast<TResizeGrip *>(grip)->place();
}

bool TMainFrm::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (watched == m_imgBG) {
        if (type == QEvent::MouseButtonPress && asMouse(event)->button() == Qt::LeftButton) {
            QWindow *handle = windowHandle();
            if (!handle || !handle->startSystemMove())
                m_dragOffset = asMouse(event)->globalPosition().toPoint() - pos();
            return true;
        }
        if (type == QEvent::MouseMove) {
            imgBGMouseMove();
            if (m_dragOffset && (asMouse(event)->buttons() & Qt::LeftButton))
                move(asMouse(event)->globalPosition().toPoint() - *m_dragOffset);
            return true;
        }
        if (type == QEvent::MouseButtonRelease) {
            m_dragOffset.reset();
            return true;
        }
        return false;
    }
    if (watched == m_lblSet || watched == m_lblMonth) {
        if (type == QEvent::MouseButtonRelease && asMouse(event)->button() == Qt::LeftButton) {
            watched == m_lblSet ? lblSetClick() : lblMonthClick();
            return true;
        }
        return false;
    }
    const int index = int(std::find(m_titlePictures.begin(), m_titlePictures.end(), watched) -
                          m_titlePictures.begin());
    if (index >= int(m_titlePictures.size())) return QWidget::eventFilter(watched, event);
    if (type == QEvent::MouseMove && index == CloseN)
        img_close_normalMouseMove();
    else if (type == QEvent::MouseMove && index == MiniN)
        img_mini_normalMouseMove();
    else if (type == QEvent::MouseMove && index == MaxN)
        img_max_normalMouseMove();
    else if (type == QEvent::MouseButtonPress && asMouse(event)->button() == Qt::LeftButton) {
        // The press hides the picture it lands on, which drops Qt's implicit grab and with it
        // the release; the down picture in the same place takes the grab instead.
        if (index == CloseH) {
            img_close_highlightMouseDown();
            m_titlePictures[CloseD]->grabMouse();
        } else if (index == MiniH) {
            img_mini_highlightMouseDown();
            m_titlePictures[MiniD]->grabMouse();
        } else if (index == MaxH) {
            img_max_highlightMouseDown();
        }
    } else if (type == QEvent::MouseButtonRelease && asMouse(event)->button() == Qt::LeftButton) {
        // A click: released over the picture that was pressed.
        auto *picture = static_cast<QWidget *>(watched);
        if (QWidget *grabber = QWidget::mouseGrabber();
            grabber == m_titlePictures[CloseD] || grabber == m_titlePictures[MiniD])
            grabber->releaseMouse();
        if (picture->rect().contains(asMouse(event)->position().toPoint())) {
            if (index == CloseH || index == CloseD)
                img_close_highlightClick();
            else if (index == MiniH || index == MiniD)
                img_mini_highlightClick();
            else if (index == MaxH)
                img_max_highlightClick();
        } else {
            imgBGMouseMove();
        }
    } else if (type == QEvent::Leave && (index == CloseH || index == MiniH) &&
               QGuiApplication::mouseButtons() == Qt::NoButton) {
        // The pointer may leave over a panel rather than the background: drop the highlight.
        imgBGMouseMove();
    }
    return false;
}

void TMainFrm::showTitleTrios(bool closeHighlight, bool closeDown, bool miniHighlight,
                              bool miniDown)
{
    m_titlePictures[CloseN]->setVisible(!closeHighlight && !closeDown);
    m_titlePictures[CloseH]->setVisible(closeHighlight);
    m_titlePictures[CloseD]->setVisible(closeDown);
    m_titlePictures[MiniN]->setVisible(!miniHighlight && !miniDown);
    m_titlePictures[MiniH]->setVisible(miniHighlight);
    m_titlePictures[MiniD]->setVisible(miniDown);
    for (int down : {CloseD, MiniD})
        if (!m_titlePictures[down]->isVisible() && QWidget::mouseGrabber() == m_titlePictures[down])
            m_titlePictures[down]->releaseMouse();
}

void TMainFrm::imgBGMouseMove()
{
    showTitleTrios(false, false, false, false);
}

void TMainFrm::img_close_normalMouseMove()
{
    showTitleTrios(true, false, false, false);
}

void TMainFrm::img_close_highlightMouseDown()
{
    showTitleTrios(false, true, false, false);
}

void TMainFrm::img_close_highlightClick()
{
    FSavedWidth = width();
    FSavedHeight = height();
    FSavedLeft = x();
    FSavedTop = y();
    // A file that cannot be written keeps the program open.
    if (!SaveFormSize()) {
        showTitleTrios(false, false, false, false);
        return;
    }
    endApplication();
}

void TMainFrm::img_mini_normalMouseMove()
{
    showTitleTrios(false, false, true, false);
}

void TMainFrm::img_mini_highlightMouseDown()
{
    showTitleTrios(false, false, false, true);
}

void TMainFrm::img_mini_highlightClick()
{
    // Minimised, not hidden: the task bar button is the way back.
    showTitleTrios(false, false, false, false);
    showMinimized();
}

void TMainFrm::img_max_normalMouseMove()
{
    showTitleTrios(false, false, false, false);
}

void TMainFrm::img_max_highlightMouseDown()
{
    showTitleTrios(false, false, false, false);
}

void TMainFrm::img_max_highlightClick()
{
    showTitleTrios(false, false, false, false);
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->geometry();
    if (width() == area.width())
        resize(FSavedWidth, FSavedHeight);
    else
        resize(area.width(), area.height() - 30);
    move((area.width() - width()) / 2, (area.height() - height() - 30) / 2);
}

void TMainFrm::endApplication()
{
    if (terminator())
        terminator()();
    else
        QCoreApplication::exit(0);
}

void TMainFrm::lblSetClick()
{
    m_popSysset->popup(m_lblSet->mapToGlobal(QPoint(0, m_lblSet->height())));
}

void TMainFrm::N_DataOutClick()
{
    WeekExport::N_DataOutClick(this, WeekList, m_redt, selectedDateTime());
}

void TMainFrm::N_BgTransparentClick()
{
    const QColor colour = m_wallpaper.N_BgTransparentClick(this);
    for (TNoteBox *box : m_redt)
        box->setBackgroundColor(colour);
}

void TMainFrm::N7Click()
{
    if (!m_pwsetFrm) m_pwsetFrm = new TpwsetFrm(this);
    m_pwsetFrm->ShowModal();
}

void TMainFrm::N_helpClick()
{
    QDesktopServices::openUrl(WebLinks::helpUrl());
}

void TMainFrm::N_SubmitClick()
{
    QDesktopServices::openUrl(WebLinks::feedbackUrl());
}

void TMainFrm::N_ExitPrjClick()
{
    // The notes are saved already; the bounds are not written.
    endApplication();
}

void TMainFrm::lblMonthClick()
{
    m_ppMonth->popup(m_lblMonth->mapToGlobal(QPoint(0, m_lblMonth->height())));
}

void TMainFrm::edtMonthChange()
{
    if (!FShown) return;
    FMonthStr = m_edtMonth->text();
    m_lblMonth->setText(FMonthStr);
}

void TMainFrm::N_MonthClick(int month)
{
    FMonthStr = QString::number(month);
    m_lblMonth->setText(FMonthStr);
}

void TMainFrm::btnLetterClick(int styleNo)
{
    for (int i = 0; i < 5; ++i)
        m_btnLetters[i]->setStyleSheet(i + 1 == styleNo ? QStringLiteral("color: red;")
                                                        : QStringLiteral("color: black;"));
    FStyleNo = styleNo;
}

void TMainFrm::ArrangeBoxes()
{
    const int W = m_pnlRight->width();
    const int H = m_pnlRight->height();
    // The parts anchored to the panel's right and bottom edges.
    m_imgtitleYear1->resize(W - 7, m_imgtitleYear1->height());
    m_imgtitleYear2->resize(W - 7, m_imgtitleYear2->height());
    m_pnlYearLineREdge->setGeometry(W - 3, 0, 1, H - 5);
    m_pnlButtonline->setGeometry(2, H - 5, W - 4, 1);
    for (QWidget *line : {m_pnlYearLine0, m_pnlYearLine1, m_pnlYearLine2})
        line->resize(1, H - 5);

    // Integer division truncating toward zero throughout, as the layout was designed.
    m_pnlYearLine1->move((W - 4) / 3 + 1, m_pnlYearLine1->y());
    m_pnlYearLine2->move(((W - 4) / 3) * 2 + 2, m_pnlYearLine2->y());
    m_imgtitleYear2->move(m_imgtitleYear2->x(), (H - 50) / 2 + 18);

    const std::array<QWidget *, 3> columns{m_pnlYearLine0, m_pnlYearLine1, m_pnlYearLine2};
    const int topRowTop = m_imgtitleYear1->y() + 26;
    const int topRowHeight = m_imgtitleYear2->y() - m_imgtitleYear1->y() - 26;
    const int bottomRowTop = m_imgtitleYear2->y() + 26;
    const int bottomRowHeight = m_pnlButtonline->y() - m_imgtitleYear2->y() - 26;
    for (int i = 0; i < 6; ++i) {
        const int column = i % 3;
        const bool top = i < 3;
        const int width = column == 2 ? (W - 5) / 3 - 4 : (W - 5) / 3;
        m_redt[i]->setGeometry(columns[column]->x() + 1, top ? topRowTop : bottomRowTop, width,
                               top ? topRowHeight : bottomRowHeight);
        m_redt[i]->setFrameShape(QFrame::NoFrame);
    }

    for (int i = 0; i < 3; ++i) {
        m_lblweek[i]->move(columns[i]->x() + 10, (m_imgtitleYear1->height() - 12) / 2);
        m_lblweek[i + 3]->move(columns[i]->x() + 10, m_imgtitleYear2->y() + 8);
    }

    MarkSelectedDay(selectedDateTime());
}

void TMainFrm::MarkSelectedDay(double d)
{
    m_imgSelColor->hide();
    const QString key = DateKeyOf(d);
    for (int i = 0; i < 7; ++i) {
        if (WeekList[i].DateKey.isEmpty() || DateKeyOf(WeekList[i].Date) != key) continue;
        QWidget *from = m_pnlYearLine2;
        QWidget *to = m_pnlYearLineREdge;
        if (i == 0 || i == 3) {
            from = m_pnlYearLine0;
            to = m_pnlYearLine1;
        } else if (i == 1 || i == 4) {
            from = m_pnlYearLine1;
            to = m_pnlYearLine2;
        }
        const int top = i <= 2 ? m_imgtitleYear1->y() : m_imgtitleYear2->y();
        m_imgSelColor->setGeometry(from->x() + 1, top, to->x() - from->x() - 2, 26);
        m_imgSelColor->show();
        return;
    }
}

void TMainFrm::chnRiliChange()
{
    const double d = selectedDateTime();
    LoadWeekNotes(d);
    MarkSelectedDay(d);
}

void TMainFrm::redt1Exit()
{
    if (FShown && NotesReady && !FLoadFailed) SaveWeekNotes();
}

void TMainFrm::LoadWeekNotes(double date)
{
    NotesReady = false;
    BuildWeek(WeekList, date);
    bool failed = false;
    QString failure;
    int slot = 0;
    for (; slot < 6; ++slot) {
        const TNoteStore::ReadResult note = m_store.readNote(WeekList[slot].DateKey);
        if (!note.ok) {
            failed = true;
            failure = note.error;
            break;
        }
        m_redt[slot]->loadDocument(note.content);
    }
    // The keys now belong to the new week: boxes still holding the old week's text must
    // never be saved under them, so they are emptied and saving stays off until a good load.
    for (int rest = slot; rest < 6; ++rest)
        m_redt[rest]->loadDocument({});
    FLoadFailed = failed;
    // Typing that could not be saved would be lost without a trace.
    for (TNoteBox *box : m_redt)
        box->setReadOnly(FLoadFailed);
    m_loadError = failure;
    updateStoreNotice();
    NotesReady = true;
}

void TMainFrm::SaveWeekNotes()
{
    NotesReady = false;
    std::array<TNoteStore::Slot, 6> notes;
    for (int j = 0; j < 6; ++j) {
        notes[j].key = WeekList[j].DateKey;
        notes[j].content = m_redt[j]->saveDocument();
        notes[j].plainText = m_redt[j]->plainTextCrLf();
    }
    const std::array<QString, 6> errors = m_store.saveWeek(notes);
    m_saveError.clear();
    for (const QString &error : errors) {
        if (!error.isEmpty()) {
            m_saveError = error;
            break;
        }
    }
    updateStoreNotice();
    NotesReady = true;
}

void TMainFrm::updateStoreNotice()
{
    QString text;
    if (FLoadFailed)
        text = QStringLiteral("加载失败：") + m_loadError;
    else if (!m_saveError.isEmpty())
        text = QStringLiteral("保存失败：") + m_saveError;
    m_lblStoreNotice->setText(text);
    m_lblStoreNotice->setToolTip(text);
    m_lblStoreNotice->setVisible(!text.isEmpty());
}

QString TMainFrm::storeNotice() const
{
    return m_lblStoreNotice->text();
}
