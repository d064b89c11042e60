#include "picturebutton.h"

#include <QMouseEvent>

TPictureButton::TPictureButton(const QString &normal, const QString &highlight, const QString &down,
                               QWidget *parent)
    : QLabel(parent), m_normal(normal), m_highlight(highlight), m_down(down)
{
    setPixmap(m_normal);
    setCursor(Qt::PointingHandCursor);
    resize(m_normal.size());
}

void TPictureButton::enterEvent(QEnterEvent *event)
{
    QLabel::enterEvent(event);
    setPixmap(m_pressed ? m_down : m_highlight);
}

void TPictureButton::leaveEvent(QEvent *event)
{
    QLabel::leaveEvent(event);
    setPixmap(m_normal);
}

void TPictureButton::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) return QLabel::mousePressEvent(event);
    m_pressed = true;
    setPixmap(m_down);
}

void TPictureButton::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_pressed) return QLabel::mouseReleaseEvent(event);
    m_pressed = false;
    const bool inside = rect().contains(event->position().toPoint());
    setPixmap(inside ? m_highlight : m_normal);
    if (inside) emit clicked();
}
