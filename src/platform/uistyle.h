#pragma once

#include <QColor>
#include <QFont>
#include <QString>

class QPainter;
class QPalette;
class QRect;

// The look the secondary windows share: a calm light blue on white, navy for text and glyphs,
// an accent blue.
namespace UiStyle
{

inline constexpr QColor Blue{216, 227, 243};
inline constexpr QColor Navy{40, 72, 128};
inline constexpr QColor Accent{74, 125, 196};

// White window and base, light-blue buttons, accent highlight.
QPalette palette();

// The windows give their font sizes in pixels, as they were drawn.
QFont pixelFont(const QString &family, int px, bool bold = false);

// A vertical wash from top to bottom.
void paintWash(QPainter &p, const QRect &r, const QColor &top, const QColor &bottom);

// Light-blue push buttons with a white-to-blue gradient, for a whole window's style sheet.
QString buttonStyle();

} // namespace UiStyle
