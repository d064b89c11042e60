#include "lockart.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace LockArt
{

void paintPadlock(QPainter &p, const QRectF &r, const QColor &ink, const QColor &body)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = r.width();
    const qreal h = r.height();
    const qreal stroke = qMax<qreal>(1.0, w / 9);
    // Shackle: an arch over the upper 45 %, its legs running into the body.
    const QRectF shackle(r.left() + w * 0.22, r.top() + stroke / 2, w * 0.56, h * 0.5);
    QPainterPath arch;
    arch.moveTo(shackle.left(), shackle.top() + h * 0.45);
    arch.lineTo(shackle.left(), shackle.top() + shackle.width() / 2);
    arch.arcTo(QRectF(shackle.left(), shackle.top(), shackle.width(), shackle.width()), 180, -180);
    arch.lineTo(shackle.right(), shackle.top() + h * 0.45);
    p.setPen(QPen(ink, stroke, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(arch);
    const QRectF box(r.left(), r.top() + h * 0.44, w, h * 0.56);
    QLinearGradient g(box.topLeft(), box.bottomLeft());
    g.setColorAt(0, body.lighter(112));
    g.setColorAt(1, body);
    p.setPen(QPen(ink, qMax<qreal>(1.0, stroke / 2)));
    p.setBrush(g);
    p.drawRoundedRect(box, w * 0.12, w * 0.12);
    // Keyhole.
    const qreal k = w * 0.14;
    const QPointF c(box.center().x(), box.top() + box.height() * 0.42);
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawEllipse(c, k / 2, k / 2);
    QPainterPath slot;
    slot.moveTo(c.x() - k * 0.25, c.y());
    slot.lineTo(c.x() + k * 0.25, c.y());
    slot.lineTo(c.x() + k * 0.4, c.y() + box.height() * 0.32);
    slot.lineTo(c.x() - k * 0.4, c.y() + box.height() * 0.32);
    slot.closeSubpath();
    p.drawPath(slot);
    p.restore();
}

} // namespace LockArt
