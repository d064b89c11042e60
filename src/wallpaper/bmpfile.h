#pragma once

#include <QImage>
#include <QString>
#include <optional>

// Uncompressed Windows bitmaps, the working format of the wallpaper pictures. Written here
// because the format is trivial and the writer must give a chosen depth (Qt always writes 24
// bits); read through QImage.
namespace BmpFile
{

// Replaces a file by the bytes through a sibling file and a rename: a reader sees the old or
// the new file, never half of one.
bool replaceFile(const QString &path, const QByteArray &bytes);

// Writes a bottom-up BI_RGB bitmap of 24 or 32 bits per pixel, replacing the file in one
// operation. False with a reason in *error when the picture is empty or the file cannot be
// written.
bool write(const QImage &image, const QString &path, int bitsPerPixel, QString *error = nullptr);

// Reads a file as a bitmap, whatever its name, and returns it as Format_RGB32. nullopt with a
// reason in *error when the file is missing or not a readable bitmap.
std::optional<QImage> read(const QString &path, QString *error = nullptr);

} // namespace BmpFile
