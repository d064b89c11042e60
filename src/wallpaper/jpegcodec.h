#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// JPEG through libjpeg directly. Decoding never ends the process: libjpeg's fatal errors come
// back as a failure with a reason.
namespace JpegCodec
{

// Pictures larger than this are refused before any pixel memory is taken.
inline constexpr qint64 kMaxPixels = 100'000'000;

struct Decoded {
    QImage image; // Format_RGB32 at the file's full size; null on failure
    QString error;
};

// Decodes at full size. Greyscale and CMYK files come out as colour pixels. A truncated file
// or a damaged data stream is a failure, not a partly grey picture.
Decoded decode(const QByteArray &data);

// Baseline colour JPEG (no progressive scans, standard tables scaled to the quality).
// Empty with a reason in *error on failure.
QByteArray encode(const QImage &image, int quality, QString *error = nullptr);

} // namespace JpegCodec
