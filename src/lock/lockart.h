#pragma once

#include <QColor>
#include <QRectF>

class QPainter;

// The lock's own picture, drawn in the secondary windows' palette (UiStyle).
namespace LockArt
{

// A padlock filling r (aspect about 4:5), in outline colour ink.
void paintPadlock(QPainter &p, const QRectF &r, const QColor &ink, const QColor &body);

} // namespace LockArt
