#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// GIF through giflib directly, first frame only.
namespace GifCodec
{

// Canvas and frame sizes above this are refused before any pixel memory is taken.
inline constexpr qint64 kMaxPixels = 100'000'000;

struct Decoded {
    QImage image; // Format_RGB32, the GIF's full (logical screen) size; null on failure
    QString error;
};

// Draws the first frame at its place on a white canvas of the GIF's full size. Transparent
// pixels and the parts the frame does not cover stay white; the part of a frame that lies
// outside the canvas is dropped.
Decoded decodeFirstFrame(const QByteArray &data);

} // namespace GifCodec
