#include "editcommands.h"

#include "notebox.h"

#include <QAction>
#include <QBoxLayout>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFontDialog>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QToolButton>

namespace
{

const QChar kTick(0x221A);
const QChar kCross(0x00D7);
const QChar kBlock(0x2588);

// The sixteen colours a font dialog offers, with their usual names.
struct NamedColor {
    const char16_t *name;
    QRgb rgb;
};
constexpr NamedColor kFontColors[] = {
    {u"黑色", 0x000000},   {u"褐红色", 0x800000}, {u"绿色", 0x008000},   {u"橄榄色", 0x808000},
    {u"海军蓝", 0x000080}, {u"紫色", 0x800080},   {u"水鸭色", 0x008080}, {u"灰色", 0x808080},
    {u"银色", 0xC0C0C0},   {u"红色", 0xFF0000},   {u"酸橙色", 0x00FF00}, {u"黄色", 0xFFFF00},
    {u"蓝色", 0x0000FF},   {u"紫红色", 0xFF00FF}, {u"水绿色", 0x00FFFF}, {u"白色", 0xFFFFFF},
};

QIcon swatch(const QColor &color)
{
    QPixmap pixmap(16, 12);
    pixmap.fill(color);
    QPainter painter(&pixmap);
    painter.setPen(Qt::gray);
    painter.drawRect(pixmap.rect().adjusted(0, 0, -1, -1));
    return QIcon(pixmap);
}

std::optional<QColor> systemColorDialog(QWidget *parent, const QColor &initial)
{
    QColorDialog dialog(initial, parent);
    dialog.setWindowTitle(QStringLiteral("颜色"));
    // Qt's own dialog always shows its custom colours; a desktop's dialog may fold them away.
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.selectedColor();
}

// The font dialog has no colour of its own; a colour list joins its effects, where users of
// such dialogs look for it.
std::optional<TFontChoice> systemFontDialog(QWidget *parent, const TFontChoice &initial)
{
    QFontDialog dialog(initial.font, parent);
    dialog.setWindowTitle(QStringLiteral("字体"));
    dialog.setOption(QFontDialog::DontUseNativeDialog);
    QComboBox *colors = nullptr;
    for (QGroupBox *group : dialog.findChildren<QGroupBox *>()) {
        auto *layout = qobject_cast<QBoxLayout *>(group->layout());
        if (!layout || !group->findChild<QCheckBox *>()) continue;
        auto *label = new QLabel(QStringLiteral("颜色(&C):"), group);
        colors = new QComboBox(group);
        colors->setObjectName(QStringLiteral("fontColor"));
        label->setBuddy(colors);
        for (const NamedColor &c : kFontColors)
            colors->addItem(swatch(QColor(c.rgb)), QString::fromUtf16(c.name), QColor(c.rgb));
        int index = colors->findData(initial.color);
        if (index < 0) {
            colors->addItem(swatch(initial.color), QStringLiteral("自定义"), initial.color);
            index = colors->count() - 1;
        }
        colors->setCurrentIndex(index);
        layout->addWidget(label);
        layout->addWidget(colors);
        break;
    }
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    TFontChoice choice{dialog.selectedFont(), initial.color};
    if (colors) choice.color = colors->currentData().value<QColor>();
    return choice;
}

QToolButton *makePicture(QWidget *parent, const char *name, const QString &picture, QPoint pos,
                         const QString &hint)
{
    auto *tool = new QToolButton(parent);
    tool->setObjectName(QLatin1String(name));
    const QPixmap pixmap(picture);
    const QSize size = pixmap.isNull() ? QSize(22, 20) : pixmap.size();
    tool->setIcon(QIcon(pixmap));
    tool->setIconSize(size);
    tool->setGeometry(QRect(pos, size));
    tool->setStyleSheet(QStringLiteral("QToolButton { border: none; padding: 0; }"));
    tool->setCursor(Qt::PointingHandCursor);
    tool->setToolTip(hint);
    tool->setFocusPolicy(Qt::NoFocus);
    return tool;
}

QPushButton *makeButton(QWidget *parent, const char *name, const QString &caption,
                        const QString &family, int pixelSize, const QRect &geometry)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setFlat(true);
    if (!family.isEmpty()) {
        QFont font(family);
        font.setPixelSize(pixelSize);
        button->setFont(font);
    }
    button->setGeometry(geometry);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

} // namespace

TEditCommands::TEditCommands(QWidget *mainWindow, QWidget *pnlRight)
    : QObject(mainWindow), m_mainWindow(mainWindow), m_pnlRight(pnlRight),
      m_colorDialog(systemColorDialog), m_fontDialog(systemFontDialog),
      m_clock([] { return QDateTime::currentDateTime(); })
{
    setObjectName(QStringLiteral("editCommands"));
    // FontDlg at first: 宋体, 16 px (12 points at 96 dpi), black.
    m_font.font = QFont(QStringLiteral("宋体"));
    m_font.font.setPointSizeF(12);
    m_font.color = Qt::black;
    createTools();
    createMenu();
    for (QObject *child : m_pnlRight->children())
        if (auto *box = qobject_cast<TNoteBox *>(child)) box->setPopupMenu(m_menu);
}

void TEditCommands::createTools()
{
    QWidget *w = m_mainWindow;
    auto *imgFont = makePicture(w, "imgFont", QStringLiteral(":/images/tool_font.png"),
                                QPoint(317, 58), QStringLiteral("字体大小设置"));
    auto *btnGou = makeButton(w, "btnGou", QString(kTick), QStringLiteral("Arial Black"), 14,
                              QRect(341, 55, 23, 22));
    auto *btnX = makeButton(w, "btnX", QStringLiteral("X"), QStringLiteral("Arial Black"), 12,
                            QRect(365, 55, 23, 22));
    auto *imgDate = makePicture(w, "imgDate", QStringLiteral(":/images/tool_date.png"),
                                QPoint(395, 54), QStringLiteral("插入时间"));
    auto *imgRedColor = makePicture(w, "imgRedColor", QStringLiteral(":/images/tool_color.png"),
                                    QPoint(441, 61), QStringLiteral("字体颜色"));
    auto *btnClearRdt = makeButton(w, "btnClearRdt", QStringLiteral("内容清空"), QString(), 0,
                                   QRect(698, 55, 75, 22));
    btnClearRdt->setToolTip(QStringLiteral("《清除以下表格内容》"));
    btnClearRdt->hide();

    connect(imgFont, &QAbstractButton::clicked, this, &TEditCommands::imgFontClick);
    connect(btnGou, &QAbstractButton::clicked, this, &TEditCommands::btnGouClick);
    connect(btnX, &QAbstractButton::clicked, this, &TEditCommands::btnXClick);
    connect(imgDate, &QAbstractButton::clicked, this, &TEditCommands::imgDateClick);
    connect(imgRedColor, &QAbstractButton::clicked, this, &TEditCommands::imgRedColorClick);
    connect(btnClearRdt, &QAbstractButton::clicked, this, &TEditCommands::btnClearRdtClick);
}

QAction *TEditCommands::addItem(QMenu *menu, const char *name, const QString &caption,
                                void (TEditCommands::*handler)())
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    connect(action, &QAction::triggered, this, handler);
    return action;
}

void TEditCommands::createMenu()
{
    m_menu = new QMenu(m_mainWindow);
    m_menu->setObjectName(QStringLiteral("pmDeskTopMonCal"));
    addItem(m_menu, "N1", QStringLiteral("复制"), &TEditCommands::N1Click);
    addItem(m_menu, "N2", QStringLiteral("粘贴"), &TEditCommands::N2Click);
    addItem(m_menu, "N9", QStringLiteral("删除"), &TEditCommands::N9Click);
    addItem(m_menu, "N3", QStringLiteral("剪切"), &TEditCommands::N3Click);
    m_menu->addSeparator()->setObjectName(QStringLiteral("N6"));
    addItem(m_menu, "V1", QStringLiteral("打V"), &TEditCommands::V1Click);
    addItem(m_menu, "X1", QStringLiteral("打X"), &TEditCommands::X1Click);
    m_menu->addSeparator()->setObjectName(QStringLiteral("N5"));
    addItem(m_menu, "CtrlZ1", QStringLiteral("撤销(Ctrl+Z)"), &TEditCommands::CtrlZ1Click);
    QMenu *n10 = m_menu->addMenu(QStringLiteral("添加标注"));
    n10->setObjectName(QStringLiteral("N10"));
    n10->menuAction()->setObjectName(QStringLiteral("N10"));
    addItem(n10, "N11", QStringLiteral("蓝"), &TEditCommands::N11Click);
    addItem(n10, "N12", QStringLiteral("红"), &TEditCommands::N12Click);
    addItem(n10, "N13", QStringLiteral("粉色"), &TEditCommands::N13Click);
}

TNoteBox *TEditCommands::targetBox() const
{
    for (QObject *child : m_pnlRight->children()) {
        auto *box = qobject_cast<TNoteBox *>(child);
        if (box && box->hasFocus()) return box;
    }
    return nullptr;
}

namespace
{
// A box refuses edits while it is read-only (its week could not be loaded, so nothing typed
// into it could be saved).
TNoteBox *editable(TNoteBox *box)
{
    return box && !box->isReadOnly() ? box : nullptr;
}
} // namespace

void TEditCommands::setColorDialog(ColorDialog dialog)
{
    m_colorDialog = dialog ? std::move(dialog) : ColorDialog(systemColorDialog);
}

void TEditCommands::setFontDialog(FontDialog dialog)
{
    m_fontDialog = dialog ? std::move(dialog) : FontDialog(systemFontDialog);
}

void TEditCommands::setClock(Clock clock)
{
    m_clock = clock ? std::move(clock) : Clock([] { return QDateTime::currentDateTime(); });
}

QString TEditCommands::timeMark(const QTime &time)
{
    return QLatin1Char(' ') + time.toString(QStringLiteral("HH:mm")) + QLatin1Char(' ');
}

QTextCharFormat TEditCommands::fontFormat(const TFontChoice &choice)
{
    const QFont &font = choice.font;
    QTextCharFormat format;
    format.setFontFamilies({font.family()});
    format.setForeground(choice.color);
    // 96 dpi for a font given in pixels, as the stored form counts them
    format.setFontPointSize(font.pointSizeF() > 0 ? font.pointSizeF() : font.pixelSize() * 0.75);
    // The pitch of the font the name resolves to, not of the request.
    format.setFontFixedPitch(QFontInfo(font).fixedPitch());
    format.setFontWeight(font.weight());
    format.setFontItalic(font.italic());
    format.setFontUnderline(font.underline());
    format.setFontStrikeOut(font.strikeOut());
    return format;
}

void TEditCommands::N1Click()
{
    if (TNoteBox *box = targetBox()) box->copy();
}

void TEditCommands::N2Click()
{
    if (TNoteBox *box = editable(targetBox())) box->paste();
}

void TEditCommands::N9Click()
{
    TNoteBox *box = editable(targetBox());
    if (!box) return;
    QTextCursor cursor = box->textCursor();
    cursor.removeSelectedText();
    box->setTextCursor(cursor);
}

void TEditCommands::N3Click()
{
    if (TNoteBox *box = editable(targetBox())) box->cut();
}

void TEditCommands::V1Click()
{
    if (TNoteBox *box = editable(targetBox())) box->replaceSelection(QString(kTick));
}

void TEditCommands::X1Click()
{
    if (TNoteBox *box = editable(targetBox())) box->replaceSelection(QString(kCross));
}

void TEditCommands::CtrlZ1Click()
{
    if (TNoteBox *box = editable(targetBox())) box->undo();
}

void TEditCommands::markBlock(const QColor &color)
{
    TNoteBox *box = editable(targetBox());
    if (!box) return;
    QTextCharFormat format;
    format.setForeground(color);
    // One undo step for the colour and the block.
    QTextCursor group = box->textCursor();
    group.beginEditBlock();
    box->mergeSelectionFormat(format);
    box->replaceSelection(QString(kBlock));
    group.endEditBlock();
}

void TEditCommands::N11Click()
{
    markBlock(QColor(0, 0, 255));
}

void TEditCommands::N12Click()
{
    markBlock(QColor(255, 0, 0));
}

void TEditCommands::N13Click()
{
    markBlock(QColor(255, 0, 255));
}

void TEditCommands::btnGouClick()
{
    V1Click();
}

void TEditCommands::btnXClick()
{
    X1Click();
}

void TEditCommands::imgDateClick()
{
    if (TNoteBox *box = editable(targetBox())) box->replaceSelection(timeMark(m_clock().time()));
}

void TEditCommands::imgRedColorClick()
{
    QPointer<TNoteBox> box = editable(targetBox());
    if (!box) return;
    // A dialog takes the focus, and a box that loses it hides its selection by dropping it.
    const QTextCursor selection = box->textCursor();
    const std::optional<QColor> color = m_colorDialog(m_mainWindow, m_color);
    if (!color || !color->isValid() || !box) return;
    m_color = *color;
    QTextCharFormat format;
    format.setForeground(*color);
    box->setTextCursor(selection);
    box->mergeSelectionFormat(format);
}

void TEditCommands::imgFontClick()
{
    QPointer<TNoteBox> box = editable(targetBox());
    if (!box) return;
    const QTextCursor selection = box->textCursor();
    const std::optional<TFontChoice> choice = m_fontDialog(m_mainWindow, m_font);
    if (!choice || !box) return;
    m_font = *choice;
    box->setTextCursor(selection);
    box->mergeSelectionFormat(fontFormat(*choice));
}

void TEditCommands::btnClearRdtClick()
{
    for (QObject *child : m_pnlRight->children()) {
        auto *box = qobject_cast<TNoteBox *>(child);
        if (box && !box->isReadOnly()) box->clear();
    }
}
