#pragma once

// Conventions shared by the RTF writer and reader, so that a round trip keeps sizes and
// fonts exactly.

#include <QFont>
#include <QString>
#include <QTextCharFormat>

namespace Rtf::Detail
{

// RTF sizes are half-points. Pixel sizes convert at 96 dpi (1 px = 0.75 pt), independent of
// the screen, so that the stored size does not depend on where it was written.
int halfPointsFromPoints(qreal points);
int halfPointsFromPixels(int pixels);
int halfPointsOf(const QFont &font);

// Size of a character format in half-points; `fallback` when it carries no size.
int halfPointsOf(const QTextCharFormat &format, int fallback);

// First family of a character format, or `fallback` when it carries none.
QString familyOf(const QTextCharFormat &format, const QString &fallback);

// Whether the writer declares the family with the GB2312 character set (fcharset134) and
// writes its text as GBK bytes; other families get fcharset0 and \uN for non-ASCII text.
bool isCjkFamily(const QString &family);

constexpr int kCharsetAnsi = 0;
constexpr int kCharsetGb2312 = 134;

} // namespace Rtf::Detail
