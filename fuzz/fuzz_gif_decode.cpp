// Decodes any bytes as the first frame of a GIF. Besides crashes, leaks and hangs it checks
// that a success is a real picture within the size limit, and that a failure says why.

#include "gifcodec.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const GifCodec::Decoded d = GifCodec::decodeFirstFrame(
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size)));
    if (d.image.isNull() == d.error.isEmpty()) std::abort();
    if (!d.image.isNull()) {
        if (qint64(d.image.width()) * d.image.height() > GifCodec::kMaxPixels) std::abort();
        if (d.image.format() != QImage::Format_RGB32) std::abort();
    }
    return 0;
}
