#include "framelessdialog.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>

CloseButton::CloseButton(QWidget *parent, const CloseButtonLook &look)
    : QToolButton(parent), m_look(look)
{
    setFixedSize(m_look.size);
    setCursor(m_look.cursor);
    setFocusPolicy(Qt::NoFocus);
    setToolTip(QStringLiteral("关闭"));
}

void CloseButton::enterEvent(QEnterEvent *event)
{
    m_hover = true;
    update();
    QToolButton::enterEvent(event);
}

void CloseButton::leaveEvent(QEvent *event)
{
    m_hover = false;
    update();
    QToolButton::leaveEvent(event);
}

void CloseButton::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QColor ink = m_look.ink;
    QPointF centre = QRectF(rect()).center();
    if (isDown() || m_hover) {
        const bool down = isDown();
        QLinearGradient face(rect().topLeft(), rect().bottomLeft());
        face.setColorAt(0, down ? m_look.downTop : m_look.hoverTop);
        face.setColorAt(1, down ? m_look.downBottom : m_look.hoverBottom);
        const qreal inset = m_look.faceInset;
        p.setPen(Qt::NoPen);
        p.setBrush(face);
        p.drawRoundedRect(QRectF(rect()).adjusted(inset, inset, -inset, -inset), m_look.faceRadius,
                          m_look.faceRadius);
        ink = Qt::white;
        if (down) centre += QPointF(m_look.downShift, m_look.downShift);
    }
    const qreal a = m_look.arm;
    p.setPen(QPen(ink, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(centre + QPointF(-a, -a), centre + QPointF(a, a));
    p.drawLine(centre + QPointF(-a, a), centre + QPointF(a, -a));
}

FramelessDialog::FramelessDialog(QWidget *owner, const QSize &clientSize, const QString &caption)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint)
{
    setWindowTitle(caption);
    setModal(true);
    setFixedSize(clientSize);
}

void FramelessDialog::showEvent(QShowEvent *event)
{
    if (!event->spontaneous()) {
        FormShow();
        centre();
    }
    QDialog::showEvent(event);
}

void FramelessDialog::centre()
{
    const QWidget *owner = parentWidget() ? parentWidget()->window() : nullptr;
    QRect over;
    if (m_placement == Placement::OverOwner && owner && owner->isVisible()) {
        over = owner->frameGeometry();
    } else {
        const QScreen *screen = owner ? owner->screen() : nullptr;
        if (!screen) screen = QGuiApplication::primaryScreen();
        if (screen) over = screen->availableGeometry();
    }
    if (!over.isValid()) return;
    QRect r(QPoint(), size());
    r.moveCenter(over.center());
    move(r.topLeft());
}

void FramelessDialog::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && isDragArea(event->position().toPoint())) {
        QWindow *handle = windowHandle();
        if (!handle || !handle->startSystemMove()) {
            m_dragging = true;
            m_dragOffset = event->globalPosition().toPoint() - frameGeometry().topLeft();
        }
        event->accept();
        return;
    }
    QDialog::mousePressEvent(event);
}

void FramelessDialog::mouseMoveEvent(QMouseEvent *event)
{
    if (m_dragging && (event->buttons() & Qt::LeftButton))
        move(event->globalPosition().toPoint() - m_dragOffset);
    QDialog::mouseMoveEvent(event);
}

void FramelessDialog::mouseReleaseEvent(QMouseEvent *event)
{
    m_dragging = false;
    QDialog::mouseReleaseEvent(event);
}
