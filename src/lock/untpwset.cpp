#include "untpwset.h"

#include "appmessage.h"
#include "lockart.h"
#include "loginfile.h"
#include "uistyle.h"

#include <QCheckBox>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>

namespace
{
constexpr QSize ClientSize(442, 222);
constexpr QRect TitleStrip(2, 0, 447, 18);
constexpr QRect Body(2, 19, 441, 202);

QLabel *makeLabel(const QString &text, const QPoint &at, const QFont &font, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    l->setFont(font);
    l->move(at);
    l->adjustSize();
    l->setAttribute(Qt::WA_TransparentForMouseEvents);
    return l;
}

QLineEdit *makePasswordBox(const QString &name, const QRect &geometry, QWidget *parent)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setGeometry(geometry);
    e->setEchoMode(QLineEdit::Password);
    e->setStyleSheet(QStringLiteral("QLineEdit { border: 1px solid rgb(146,168,218); "
                                    "background: white; padding: 0 2px; "
                                    "lineedit-password-character: 42; }"
                                    "QLineEdit:focus { border-color: rgb(74,125,196); }"));
    return e;
}

QString unreadableText()
{
    return QStringLiteral("无法读取登录密码文件“%1”。").arg(LoginFile::path());
}

// The title strip's close button: a navy cross on the strip, a red wash under the pointer.
CloseButtonLook closeLook()
{
    CloseButtonLook look;
    look.size = {16, 16};
    look.cursor = Qt::PointingHandCursor;
    look.ink = UiStyle::Navy;
    look.hoverTop = QColor(236, 112, 100);
    look.hoverBottom = QColor(214, 80, 68);
    look.downTop = QColor(196, 72, 62);
    look.downBottom = QColor(172, 52, 44);
    look.faceInset = 0;
    look.faceRadius = 0;
    look.arm = 3.5;
    look.downShift = 0.5;
    return look;
}
} // namespace

TpwsetFrm::TpwsetFrm(QWidget *owner)
    : FramelessDialog(owner, ClientSize, QStringLiteral("登录密码设置"))
{
    setObjectName(QStringLiteral("pwsetFrm"));
    setPalette(UiStyle::palette());
    setAutoFillBackground(true);

    auto *title = makeLabel(QStringLiteral("登录密码设置"), QPoint(8, 27),
                            UiStyle::pixelFont(QStringLiteral("Verdana"), 19), this);
    title->setObjectName(QStringLiteral("lblTitle"));
    QPalette titlePal = title->palette();
    titlePal.setColor(QPalette::WindowText, UiStyle::Navy);
    title->setPalette(titlePal);

    const QFont font12 = UiStyle::pixelFont(QStringLiteral("宋体"), 12);
    JCheckbox1 = new QCheckBox(QStringLiteral("启动登录密码"), this);
    JCheckbox1->setObjectName(QStringLiteral("JCheckbox1"));
    JCheckbox1->setGeometry(64, 67, 121, 23);
    JCheckbox1->setFont(font12);

    makeLabel(QStringLiteral("请输入登录密码："), QPoint(67, 108), font12, this)
        ->setObjectName(QStringLiteral("Label1"));
    edit1 = makePasswordBox(QStringLiteral("edit1"), QRect(174, 102, 169, 21), this);
    makeLabel(QStringLiteral("请再次输入密码："), QPoint(67, 140), font12, this)
        ->setObjectName(QStringLiteral("Label2"));
    edit2 = makePasswordBox(QStringLiteral("edit2"), QRect(175, 135, 169, 21), this);

    JvXPButton1 = new QPushButton(QStringLiteral("应   用"), this);
    JvXPButton1->setObjectName(QStringLiteral("JvXPButton1"));
    JvXPButton1->setGeometry(352, 180, 73, 23);
    JvXPButton1->setFont(font12);
    JvXPButton1->setDefault(true);
    JvXPButton1->setStyleSheet(
        QStringLiteral("QPushButton { border: 1px solid rgb(146,168,218); border-radius: 2px; "
                       "background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 white, "
                       "stop:1 rgb(216,227,243)); }"
                       "QPushButton:hover { border-color: rgb(74,125,196); }"
                       "QPushButton:pressed { background: rgb(190,206,232); }"
                       "QPushButton:focus { border-color: rgb(74,125,196); }"));
    connect(JvXPButton1, &QPushButton::clicked, this, &TpwsetFrm::JvXPButton1Click);

    JvXPToolButton1 = new CloseButton(this, closeLook());
    JvXPToolButton1->setObjectName(QStringLiteral("JvXPToolButton1"));
    JvXPToolButton1->move(424, 1);
    connect(JvXPToolButton1, &QToolButton::clicked, this, &TpwsetFrm::JvXPToolButton1Click);
}

int TpwsetFrm::ShowModal()
{
    return exec();
}

void TpwsetFrm::FormShow()
{
    // No file is the normal state before any password was set; a damaged one is reported.
    if (!QFile::exists(LoginFile::path())) return;
    const auto lines = LoginFile::read();
    if (!lines || lines->size() < 3) {
        AppMessage::show(parentWidget(), unreadableText());
        return;
    }
    if (lines->at(2) == LoginFile::LineOn) JCheckbox1->setChecked(true);
}

void TpwsetFrm::JvXPButton1Click()
{
    if (JCheckbox1->isChecked()) {
        if (edit1->text().isEmpty()) {
            AppMessage::show(this, QStringLiteral("请输入登录密码!"));
            edit1->setFocus();
            return;
        }
        if (edit2->text().isEmpty()) {
            AppMessage::show(this, QStringLiteral("请再次输入登录密码!"));
            edit2->setFocus();
            return;
        }
        if (edit1->text() != edit2->text()) {
            AppMessage::show(this, QStringLiteral("两次输入的密码不一致!"));
            return;
        }
    }
    const bool enabled = JCheckbox1->isChecked();
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const bool written = LoginFile::write(enabled, edit1->text());
    QGuiApplication::restoreOverrideCursor();
    if (!written) {
        AppMessage::show(
            this,
            QStringLiteral("无法写入登录密码文件“%1”，设置没有保存。").arg(LoginFile::path()));
        return;
    }
    AppMessage::show(
        this, enabled ? QStringLiteral("设置登录密码成功!") : QStringLiteral("取消密码成功!"),
        QStringLiteral("提示"));
    accept();
}

void TpwsetFrm::JvXPToolButton1Click()
{
    reject();
}

void TpwsetFrm::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    const QRect title = TitleStrip.intersected(rect().adjusted(1, 1, -1, -1));
    UiStyle::paintWash(p, title, UiStyle::Blue, QColor(200, 214, 236));
    LockArt::paintPadlock(p, QRectF(title.left() + 4, title.top() + 2, 11, 14), UiStyle::Accent,
                          Qt::white);
    const QRect body = Body.intersected(rect().adjusted(1, 1, -1, -1));
    UiStyle::paintWash(p, body, Qt::white, QColor(234, 240, 249));
    p.setPen(QColor(216, 227, 243));
    p.drawLine(body.left() + 8, 56, body.right() - 8, 56);
    p.setOpacity(0.35);
    LockArt::paintPadlock(p, QRectF(370, 70, 48, 60), UiStyle::Blue.darker(115), Qt::white);
    p.setOpacity(1);
    p.setPen(QColor(152, 168, 182));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}
