#pragma once

// The stored form of a note box: RTF, written and read by our own codec.

#include <QByteArray>
#include <QByteArrayView>

class QTextDocument;

namespace Rtf
{

// The whole document: text, paragraphs and character formatting (font family, size in
// points, bold, italic, underline, strike-out, text colour). Characters outside GBK are
// written as \uN so that nothing is lost. Sizes are stored in half-points, pixel sizes
// converted at 96 dpi (15 px -> \fs23). Text without a format of its own is written in the
// document's default font.
QByteArray write(const QTextDocument &doc);

// Replaces the document. Data that is not RTF loads as plain text; empty data gives an empty
// document. Returns true when the data was read as RTF. Never crashes or hangs on any input.
// Font family and size equal to the document's default font are left unset, so that such text
// keeps following the default font. The document's undo history is cleared.
bool read(QByteArrayView data, QTextDocument &doc);

} // namespace Rtf
