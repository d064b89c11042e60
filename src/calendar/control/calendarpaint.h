#pragma once

// Drawing primitives of the month control: text output with the classic text-flag set mapped
// onto QPainter in one place, the banded vertical gradient, and the keyed weighted blend.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>

class QPainter;

// Text flags with the values of the classic text-output call, so that every call site reads
// like the layout it reproduces.
enum DrawTextFlag : unsigned {
    DT_TOP = 0x0,
    DT_LEFT = 0x0,
    DT_CENTER = 0x1,
    DT_RIGHT = 0x2,
    DT_VCENTER = 0x4, // only with DT_SINGLELINE
    DT_BOTTOM = 0x8,  // only with DT_SINGLELINE
    DT_SINGLELINE = 0x20,
    DT_END_ELLIPSIS = 0x8000,
    DT_WORD_ELLIPSIS = 0x40000,
};

// Qt alignment of a flag set: horizontal always, vertical only for single-line output (without
// DT_SINGLELINE text starts at the top whatever else is given).
Qt::Alignment AlignmentOfTextFlags(unsigned flags);

// Draws text into r with the painter's font and pen, clipped to r. Without DT_SINGLELINE each
// line break starts a new line; either ellipsis flag shortens a line that does not fit.
// Lines are placed by the font's em box where its own line box is much taller.
void DrawTextA(QPainter &painter, const QRect &r, const QString &text, unsigned flags);
// Height of one line as DrawTextA places it.
int LineHeightOf(const QFont &font);

// Left, top, right, bottom with the right and bottom edges excluded, as the drawing calls count.
inline QRect RectLTRB(int left, int top, int right, int bottom)
{
    return {left, top, right - left, bottom - top};
}

// The 1-px outline of r, right and bottom edges inside r.
void FrameRect(QPainter &painter, const QRect &r, const QColor &color);

// Vertical gradient in the given number of bands: band i has the colour start + (i + 1) steps,
// so the first band is one step past start and the last one is exactly end. Band edges and
// channels are rounded to nearest, ties to even; bands of zero height draw nothing.
void GradientFill(QPainter &painter, const QRect &rect, int bands, const QColor &start,
                  const QColor &end);

// Mixes every source pixel whose colour differs from key into target at offset with the weight
// (weight mod 100) percent; both images are used as 24-bit RGB (target becomes RGB32).
void BlendPicture(const QImage &source, QImage &target, const QPoint &offset, QRgb key, int weight);
