#pragma once

// The stored form of a note box: RTF, written and read by our own codec.

#include <QByteArray>
#include <QByteArrayView>

class QTextDocument;

namespace Rtf
{

// The whole document: text, paragraphs and character formatting (font family, size in
// points, bold, italic, underline, strike-out, text colour). Characters outside GBK are
// written as \uN so that nothing is lost.
QByteArray write(const QTextDocument &doc);

// Replaces the document. Data that is not RTF loads as plain text; empty data gives an empty
// document. Returns true when the data was read as RTF. Never crashes or hangs on any input.
bool read(QByteArrayView data, QTextDocument &doc);

} // namespace Rtf
