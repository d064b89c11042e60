#include "framelessdialog.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>

TCloseButton::TCloseButton(QWidget *parent) : QAbstractButton(parent)
{
    setObjectName(QStringLiteral("imgClose"));
    setFixedSize(39, 20);
    setCursor(Qt::ArrowCursor);
    setFocusPolicy(Qt::NoFocus);
    setToolTip(QStringLiteral("关闭"));
}

void TCloseButton::enterEvent(QEnterEvent *event)
{
    m_hover = true;
    update();
    QAbstractButton::enterEvent(event);
}

void TCloseButton::leaveEvent(QEvent *event)
{
    m_hover = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void TCloseButton::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QColor face(Qt::transparent);
    QColor cross(96, 112, 140);
    if (isDown()) {
        face = QColor(176, 40, 36);
        cross = Qt::white;
    } else if (m_hover) {
        face = QColor(224, 72, 64);
        cross = Qt::white;
    }
    if (face.alpha()) {
        p.setPen(Qt::NoPen);
        p.setBrush(face);
        p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    }
    const QPointF c = QRectF(rect()).center();
    p.setPen(QPen(cross, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c + QPointF(-4, -4), c + QPointF(4, 4));
    p.drawLine(c + QPointF(-4, 4), c + QPointF(4, -4));
}

TFramelessDialog::TFramelessDialog(QWidget *parent, const QSize &clientSize, const QString &caption)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setWindowTitle(caption);
    setModal(true);
    setFixedSize(clientSize);
    setStyleSheet(buttonStyle());
}

QString TFramelessDialog::buttonStyle()
{
    return QStringLiteral(
        "QPushButton { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #ffffff, stop:1 "
        "#d8e3f3);"
        " border: 1px solid #9db3d6; border-radius: 3px; padding: 2px 8px; color: #1d3557; }"
        "QPushButton:hover { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #ffffff, "
        "stop:1 #c3d5ef);"
        " border-color: #6f8fc4; }"
        "QPushButton:pressed { background: #c3d5ef; }");
}

void TFramelessDialog::showEvent(QShowEvent *event)
{
    if (!event->spontaneous()) {
        FormShow();
        centreOverParent();
    }
    QDialog::showEvent(event);
}

void TFramelessDialog::centreOverParent()
{
    QRect over;
    if (QWidget *owner = parentWidget() ? parentWidget()->window() : nullptr;
        owner && owner->isVisible())
        over = owner->frameGeometry();
    else if (QScreen *screen = QGuiApplication::primaryScreen())
        over = screen->availableGeometry();
    if (over.isValid()) move(over.center() - rect().center());
}

void TFramelessDialog::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && windowHandle()) {
        windowHandle()->startSystemMove();
        event->accept();
        return;
    }
    QDialog::mousePressEvent(event);
}
