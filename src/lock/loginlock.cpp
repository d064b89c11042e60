#include "loginlock.h"

#include "appmessage.h"
#include "lockart.h"
#include "loginfile.h"
#include "uistyle.h"

#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRegion>

bool LoginPassed = false;

namespace
{
// Geometry in client pixels. The white panel sits at (3, 3); the light-blue area at (98, 14)
// inside it.
constexpr QRect Panel(3, 3, 240, 140);
constexpr QPoint PanelAt = Panel.topLeft();
constexpr QRect LeftPicture = QRect(2, 14, 99, 120).translated(PanelAt);
constexpr QRect TopStrip = QRect(1, 1, 238, 13).translated(PanelAt);
constexpr QRect BottomStrip = QRect(1, 133, 246, 11).translated(PanelAt);
constexpr QRect BlueArea = QRect(98, 14, 140, 119).translated(PanelAt);
constexpr QPoint BlueAt = BlueArea.topLeft();
constexpr QRect BlueStrip = QRect(0, 0, 140, 35).translated(BlueAt);

QRegion dragRegion()
{
    return QRegion(LeftPicture) + TopStrip + BottomStrip.intersected(Panel) + BlueArea;
}

QString flatButtonStyle()
{
    return QStringLiteral("QPushButton { border: 1px solid rgb(146,168,218); background: "
                          "rgb(216,227,243); padding: 0; }"
                          "QPushButton:hover { background: rgb(236,241,249); }"
                          "QPushButton:pressed { background: rgb(190,206,232); }"
                          "QPushButton:focus { border-color: rgb(74,125,196); }");
}
} // namespace

bool CheckLoginPassword(QWidget *owner)
{
    const auto line1 = LoginFile::firstLine();
    if (!line1 || !LoginFile::isLocked(*line1)) return true;
    TLockLogin prompt(owner);
    prompt.ShowModal();
    return LoginPassed;
}

TLockLogin::TLockLogin(QWidget *owner) : FramelessDialog(owner, {246, 145}, AppMessage::appTitle())
{
    LoginPassed = false;
    setObjectName(QStringLiteral("LockLogin"));
    // The prompt comes before the main window is shown, and stays on the screen's centre.
    setPlacement(Placement::Screen);
    setPalette(UiStyle::palette());
    setFont(UiStyle::pixelFont(QStringLiteral("宋体"), 11));

    const QFont labelFont = UiStyle::pixelFont(QStringLiteral("Verdana"), 12);
    auto *user = new QLabel(QStringLiteral("用户名：KQ周记事本"), this);
    user->setObjectName(QStringLiteral("lblUser"));
    user->setFont(labelFont);
    user->move(BlueAt + QPoint(10, 42));
    user->adjustSize();
    auto *pw = new QLabel(QStringLiteral("密  码："), this);
    pw->setObjectName(QStringLiteral("lblPW"));
    pw->setFont(labelFont);
    pw->move(BlueAt + QPoint(14, 63));
    pw->adjustSize();
    for (QLabel *l : {user, pw})
        l->setAttribute(Qt::WA_TransparentForMouseEvents);

    edtPW = new QLineEdit(this);
    edtPW->setObjectName(QStringLiteral("edtPW"));
    edtPW->setGeometry(QRect(BlueAt + QPoint(57, 62), QSize(76, 17)));
    edtPW->setEchoMode(QLineEdit::Password);
    edtPW->setFrame(false);
    edtPW->setStyleSheet(QStringLiteral("QLineEdit { border: 1px solid rgb(146,168,218); "
                                        "background: white; padding: 0 1px; "
                                        "lineedit-password-character: 42; }"));
    connect(edtPW, &QLineEdit::returnPressed, this, &TLockLogin::spdOKClick);

    const QFont buttonFont = UiStyle::pixelFont(QStringLiteral("宋体"), 12);
    spdOK = new QPushButton(QStringLiteral("确定"), this);
    spdOK->setObjectName(QStringLiteral("spdOK"));
    spdOK->setGeometry(QRect(BlueAt + QPoint(15, 95), QSize(42, 15)));
    spdCancel = new QPushButton(QStringLiteral("取消"), this);
    spdCancel->setObjectName(QStringLiteral("spdCancel"));
    spdCancel->setGeometry(QRect(BlueAt + QPoint(72, 95), QSize(42, 15)));
    for (QPushButton *b : {spdOK, spdCancel}) {
        b->setFont(buttonFont);
        b->setFlat(true);
        // Enter belongs to the password box alone, which must not trigger 确定 twice.
        b->setAutoDefault(false);
        b->setDefault(false);
        b->setStyleSheet(flatButtonStyle());
    }
    connect(spdOK, &QPushButton::clicked, this, &TLockLogin::spdOKClick);
    connect(spdCancel, &QPushButton::clicked, this, &TLockLogin::spdCancelClick);

    edtPW->setFocus();
}

int TLockLogin::ShowModal()
{
    return exec();
}

void TLockLogin::spdOKClick()
{
    // The file is read again: it may have changed or vanished since the start-up check.
    const auto line1 = LoginFile::firstLine();
    if (!line1) {
        LoginPassed = false;
        reject();
        return;
    }
    // A file that says "no password" by now lets the notebook open rather than leaving a prompt
    // that no longer accepts anything.
    if (!LoginFile::isLocked(*line1) || LoginFile::matches(*line1, edtPW->text())) {
        LoginPassed = true;
        accept();
        return;
    }
    AppMessage::show(this, QStringLiteral("密码不正确,请重新输入登录密码!"),
                     QStringLiteral("登陆提示"));
    edtPW->clear();
    edtPW->setFocus();
}

void TLockLogin::spdCancelClick()
{
    LoginPassed = false;
    reject();
}

void TLockLogin::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), QColor(220, 231, 255));
    p.setPen(QColor(153, 168, 206));
    p.drawRect(rect().adjusted(0, 0, -1, -1));

    p.fillRect(Panel, Qt::white);
    p.setClipRect(Panel);
    UiStyle::paintWash(p, TopStrip, UiStyle::Blue, Qt::white);
    UiStyle::paintWash(p, BottomStrip, Qt::white, UiStyle::Blue);
    UiStyle::paintWash(p, LeftPicture, Qt::white, UiStyle::Blue);
    LockArt::paintPadlock(p, QRectF(LeftPicture.center().x() - 22, LeftPicture.top() + 30, 44, 56),
                          UiStyle::Accent, QColor(236, 241, 249));
    p.fillRect(BlueArea, QColor(228, 235, 253));
    UiStyle::paintWash(p, BlueStrip, QColor(204, 218, 240), QColor(228, 235, 253));
    p.setPen(QColor(146, 168, 218));
    p.drawLine(BlueStrip.bottomLeft() + QPoint(8, 0), BlueStrip.bottomRight() - QPoint(8, 0));
    p.setClipping(false);
    p.setPen(QColor(146, 168, 218));
    p.drawRect(Panel.adjusted(0, 0, -1, -1));
}

bool TLockLogin::isDragArea(const QPoint &pos) const
{
    return dragRegion().contains(pos);
}
