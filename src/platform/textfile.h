#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The small settings and export files: written in UTF-8 with CR LF line ends, read whole. Bytes
// that are not valid UTF-8 are read as GB18030, so files carried over from a Windows
// installation (GBK) still read.
namespace TextFile
{

// Lines without their line ends; a last line end adds no empty line. nullopt when the file
// cannot be read (missing, a folder, no permission).
std::optional<QStringList> readLines(const QString &path);

// Writes every line followed by CR LF, in one operation through a temporary file so that a
// crash never leaves half a file. False when the file cannot be written.
bool writeLines(const QString &path, const QStringList &lines);

// Text as stored: UTF-8, or GB18030 when the bytes are not valid UTF-8.
QString decode(const QByteArray &bytes);

} // namespace TextFile
