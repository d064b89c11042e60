#pragma once

#include <QColor>
#include <QPoint>
#include <QRect>

class QMouseEvent;
class QPainter;
class QPalette;
class QWidget;

// The drawn pictures of the lock windows, in the palette of the program's other pictures: a calm
// light blue on white, navy for text and glyphs, an accent blue.
namespace LockArt
{

inline constexpr QColor Blue{216, 227, 243};
inline constexpr QColor Navy{40, 72, 128};
inline constexpr QColor Accent{74, 125, 196};

QPalette palette();

// A vertical wash from top to bottom, for the strips and the pictures.
void paintWash(QPainter &p, const QRect &r, const QColor &top, const QColor &bottom);
// A padlock filling r (aspect about 4:5), in outline colour ink.
void paintPadlock(QPainter &p, const QRectF &r, const QColor &ink, const QColor &body);

} // namespace LockArt

// Moves a borderless window by a press on its background. The window system does the move where
// it can; elsewhere the window follows the pointer itself.
class WindowDragger
{
public:
    // True when the press started a move.
    bool press(QWidget *window, QMouseEvent *event);
    void move(QWidget *window, QMouseEvent *event);
    void release() { FDragging = false; }

private:
    bool FDragging = false;
    QPoint FOffset;
};
