#include "mainfrm.h"

#include "weeklist.h"

#include <QApplication>
#include <QDateTime>
#include <QFont>
#include <QGuiApplication>
#include <QLabel>
#include <QPalette>
#include <QResizeEvent>
#include <QScreen>
#include <QShowEvent>

namespace
{

// Designed client area and the margins that anchor pnlRight to all four sides.
constexpr int kRightLeft = 317, kRightTop = 80, kRightGapX = 2, kRightGapY = 5;
constexpr int kMinWidth = 906, kMinHeight = 540;

QWidget *makeLine(QWidget *parent, const char *name)
{
    auto *line = new QWidget(parent);
    line->setObjectName(QLatin1String(name));
    line->setAutoFillBackground(true);
    QPalette pal = line->palette();
    pal.setColor(QPalette::Window, QColor(220, 227, 255));
    line->setPalette(pal);
    return line;
}

QWidget *makeBand(QWidget *parent, const char *name, const QString &style)
{
    auto *band = new QLabel(parent);
    band->setObjectName(QLatin1String(name));
    band->setStyleSheet(style);
    return band;
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

TMainFrm::TMainFrm(TNoteStore &store, QWidget *parent) : QWidget(parent), m_store(store)
{
    setObjectName(QStringLiteral("MainFrm"));
    setWindowTitle(QStringLiteral("KQ桌面记事"));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    setMinimumSize(kMinWidth, kMinHeight);
    resize(913, 530);

    m_lblDateTime = new QLabel(this);
    m_lblDateTime->setObjectName(QStringLiteral("lblDateTime"));
    QFont dateFont(QStringLiteral("微软雅黑"));
    dateFont.setPixelSize(12);
    dateFont.setBold(true);
    m_lblDateTime->setFont(dateFont);
    m_lblDateTime->setStyleSheet(QStringLiteral("color: #800000;"));
    m_lblDateTime->move(343, 19);

    // Outside pnlRight, so that it never reaches the wallpaper picture of the week panel.
    m_lblStoreNotice = new QLabel(this);
    m_lblStoreNotice->setObjectName(QStringLiteral("lblStoreNotice"));
    m_lblStoreNotice->setStyleSheet(QStringLiteral("color: red;"));
    m_lblStoreNotice->setGeometry(490, 58, 265, 18);
    m_lblStoreNotice->hide();

    m_pnlLeft = new QWidget(this);
    m_pnlLeft->setObjectName(QStringLiteral("pnlLeft"));
    m_pnlLeft->setGeometry(2, 80, 311, 441);
    m_pnlLeft->setAutoFillBackground(true);
    QPalette leftPal = m_pnlLeft->palette();
    leftPal.setColor(QPalette::Window, QColor(216, 227, 243));
    m_pnlLeft->setPalette(leftPal);

    m_pnlRight = new QWidget(this);
    m_pnlRight->setObjectName(QStringLiteral("pnlRight"));
    m_pnlRight->setAutoFillBackground(true);
    m_pnlRight->setPalette(pal);
    m_pnlRight->setGeometry(kRightLeft, kRightTop, 594, 445);

    // Stacking follows creation: caption bands, then the highlight band, then the captions.
    const QString bandStyle = QStringLiteral(
        "background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #f3f7fd, stop:1 #d8e3f3);");
    m_imgtitleYear1 = makeBand(m_pnlRight, "imgtitle_year1", bandStyle);
    m_imgtitleYear1->setGeometry(4, 0, 587, 26);
    m_imgtitleYear2 = makeBand(m_pnlRight, "imgtitle_year2", bandStyle);
    m_imgtitleYear2->setGeometry(4, 215, 587, 25);
    m_imgSelColor = makeBand(
        m_pnlRight, "imgSelColor",
        QStringLiteral("background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #fff1cf, "
                       "stop:1 #ffc97a);"));
    m_imgSelColor->setGeometry(5, 0, 190, 26);
    m_imgSelColor->hide();

    static const char *const captionNames[6] = {"lblweek1", "lblweek2", "lblweek3",
                                                "lblweek4", "lblweek5", "lblweek67"};
    static const char16_t *const captions[6] = {u"周 一", u"周 二", u"周 三",
                                                u"周 四", u"周 五", u"周 六/日"};
    QFont captionFont(QStringLiteral("宋体"));
    captionFont.setPixelSize(12);
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
    followWindowSize();
    ArrangeBoxes();
}

TMainFrm::~TMainFrm()
{
    // Focus moves while the children go must not start a save on a window being taken down.
    for (TNoteBox *box : m_redt)
        box->disconnect(this);
}

bool TMainFrm::FormCreate()
{
    // 1. Double-buffered painting: every Qt widget paints through a back buffer already.

    // 2. The background picture name FBgPicName belongs to the wallpaper flow; the letter
    //    style starts at 1.
    FStyleNo = 1;

    // 3. The background picture list PicBGList is set up here by the wallpaper flow.
    WeekList = TWeekList{};

    // 4.
    NotesReady = false;
    FShown = false;

    // 5. The calendar chnRili is set to now; its OnChange runs chnRiliChange, which loads the
    //    week and marks the day. Until the calendar is in the window the selected date is
    //    held in FSelDateTime.
    FSelDateTime = ValueOfDateTime(QDateTime::currentDateTime());
    chnRiliChange();

    // 6. The start-up password check runs here; a refused or cancelled prompt returns false.

    // 7.
    m_lblDateTime->setText(DateCaption(QDate::currentDate()));
    m_lblDateTime->adjustSize();

    // 8. The hidden month selector (ud_Month, edtMonth) takes FMonthStr here.
    FMonthStr = QString::number(QDate::currentDate().month());

    // 9. The wallpaper confirmation flags and "data\configSetBg.ini" are read here.
    // 10. LoadPicBGList(false) runs here.

    // 11. LoadFormSize restores the bounds here. Until it does, the window opens at its
    //     minimum size, centred within the screen height less 30, as on a first run.
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        resize(kMinWidth, kMinHeight);
        move((area.width() - kMinWidth) / 2, (area.height() - 30 - kMinHeight) / 2);
    }
    return true;
}

void TMainFrm::FormShow()
{
    // 1. The web strip and its navigation thread start here.

    // 2. LoadTransMode decides the box colour here: mode 1 gives the window colour, any other
    //    the light grey (247, 247, 247). Until then every start is in mode 1.
    const QColor boxColor = QApplication::palette().color(QPalette::Base);
    for (TNoteBox *box : m_redt)
        box->setBackgroundColor(boxColor);

    // 3.
    FShown = true;
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
    m_pnlRight->setGeometry(kRightLeft, kRightTop, width() - kRightLeft - kRightGapX,
                            height() - kRightTop - kRightGapY);
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

    MarkSelectedDay(FSelDateTime);
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
    LoadWeekNotes(FSelDateTime);
    MarkSelectedDay(FSelDateTime);
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
