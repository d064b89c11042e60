// Decodes any bytes as JPEG. Besides crashes, leaks and hangs it checks that a success is a
// real picture within the size limit, and that a failure says why.

#include "jpegcodec.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const JpegCodec::Decoded d = JpegCodec::decode(
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size)));
    if (d.image.isNull() == d.error.isEmpty()) std::abort();
    if (!d.image.isNull()) {
        if (qint64(d.image.width()) * d.image.height() > JpegCodec::kMaxPixels) std::abort();
        if (d.image.format() != QImage::Format_RGB32) std::abort();
        // Every pixel must be opaque: the blend and the writers rely on it.
        const QRgb last = d.image.pixel(d.image.width() - 1, d.image.height() - 1);
        if (qAlpha(last) != 255) std::abort();
    }
    return 0;
}
