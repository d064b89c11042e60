#include "updown.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <QTimerEvent>

#include <algorithm>

namespace
{
constexpr int kRepeatDelayMs = 400;
constexpr int kRepeatIntervalMs = 100;
} // namespace

TUpDown::TUpDown(int min, int max, QWidget *parent)
    : QWidget(parent), FMin(min), FMax(max), FPosition(min)
{
    // Width of a vertical scroll bar, height one and a half of its arrows.
    const int extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    resize(extent, extent * 3 / 2);
    setFocusPolicy(Qt::NoFocus);
}

void TUpDown::setPosition(int position)
{
    FPosition = std::clamp(position, FMin, FMax);
}

QRect TUpDown::ButtonRect(Button button) const
{
    const int half = height() / 2;
    if (button == Button::Up) return {0, 0, width(), half};
    return {0, half, width(), height() - half};
}

QSize TUpDown::sizeHint() const
{
    const int extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    return {extent, extent * 3 / 2};
}

void TUpDown::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    for (const Button button : {Button::Up, Button::Down}) {
        QStyleOptionButton panel;
        panel.initFrom(this);
        panel.rect = ButtonRect(button);
        const bool down = FPressed && FPressedButton == button;
        panel.state |= down ? QStyle::State_Sunken : QStyle::State_Raised;
        style()->drawPrimitive(QStyle::PE_PanelButtonCommand, &panel, &painter, this);

        QStyleOption arrow;
        arrow.initFrom(this);
        arrow.rect = panel.rect.adjusted(1, 1, -1, -1);
        if (down) arrow.state |= QStyle::State_Sunken;
        const bool atLimit = button == Button::Up ? FPosition >= FMax : FPosition <= FMin;
        if (atLimit || !isEnabled()) arrow.state &= ~QStyle::State_Enabled;
        style()->drawPrimitive(button == Button::Up ? QStyle::PE_IndicatorSpinUp
                                                    : QStyle::PE_IndicatorSpinDown,
                               &arrow, &painter, this);
    }
}

void TUpDown::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) return;
    FPressedButton =
        ButtonRect(Button::Up).contains(event->position().toPoint()) ? Button::Up : Button::Down;
    FPressed = true;
    update();
    FRepeat.start(kRepeatDelayMs, this);
    Step(FPressedButton);
}

void TUpDown::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) return;
    FPressed = false;
    FRepeat.stop();
    update();
}

void TUpDown::leaveEvent(QEvent *event)
{
    QWidget::leaveEvent(event);
    if (FPressed) {
        FPressed = false;
        FRepeat.stop();
        update();
    }
}

void TUpDown::timerEvent(QTimerEvent *event)
{
    if (event->timerId() != FRepeat.timerId()) {
        QWidget::timerEvent(event);
        return;
    }
    FRepeat.start(kRepeatIntervalMs, this);
    if (FPressed) Step(FPressedButton);
}

void TUpDown::Step(Button button)
{
    setPosition(FPosition + (button == Button::Up ? 1 : -1));
    update();
    emit OnClick(button);
}
