#include "bmpfile.h"

#include <QFileInfo>
#include <QImageReader>
#include <QSaveFile>
#include <QtEndian>

namespace
{
void put16(char *at, quint16 v)
{
    qToLittleEndian(v, at);
}
void put32(char *at, quint32 v)
{
    qToLittleEndian(v, at);
}
void setError(QString *error, const QString &text)
{
    if (error) *error = text;
}
} // namespace

namespace BmpFile
{

bool write(const QImage &image, const QString &path, int bitsPerPixel, QString *error)
{
    if (image.isNull() || (bitsPerPixel != 24 && bitsPerPixel != 32)) {
        setError(error, QStringLiteral("空图片"));
        return false;
    }
    const QImage src =
        image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32
            ? image
            : image.convertToFormat(QImage::Format_RGB32);
    const int w = src.width();
    const int h = src.height();
    const qint64 stride = (qint64(w) * bitsPerPixel / 8 + 3) & ~qint64(3);
    const qint64 pixelBytes = stride * h;
    constexpr int headerSize = 14 + 40;
    if (pixelBytes + headerSize > 0xFFFFFFFFLL) {
        setError(error, QStringLiteral("图片太大"));
        return false;
    }
    QByteArray bytes(headerSize + pixelBytes, '\0');
    char *p = bytes.data();
    p[0] = 'B';
    p[1] = 'M';
    put32(p + 2, quint32(bytes.size()));
    put32(p + 10, headerSize);
    put32(p + 14, 40);
    put32(p + 18, quint32(w));
    put32(p + 22, quint32(h)); // positive: rows stored bottom-up
    put16(p + 26, 1);
    put16(p + 28, quint16(bitsPerPixel));
    put32(p + 34, quint32(pixelBytes));
    put32(p + 38, 2835); // 72 dpi
    put32(p + 42, 2835);
    for (int y = 0; y < h; ++y) {
        const auto *in = reinterpret_cast<const quint32 *>(src.constScanLine(y));
        auto *out = reinterpret_cast<uchar *>(p + headerSize + stride * (h - 1 - y));
        if (bitsPerPixel == 32) {
            for (int x = 0; x < w; ++x)
                qToLittleEndian(in[x] | 0xFF000000u, out + 4 * x);
        } else {
            for (int x = 0; x < w; ++x) {
                const quint32 px = in[x];
                out[3 * x] = uchar(px);
                out[3 * x + 1] = uchar(px >> 8);
                out[3 * x + 2] = uchar(px >> 16);
            }
        }
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        setError(error, QStringLiteral("无法写入文件“%1”").arg(QFileInfo(path).fileName()));
        return false;
    }
    return true;
}

std::optional<QImage> read(const QString &path, QString *error)
{
    // Pictures up to 100 megapixels at 4 bytes each; Qt's default cap is 256 MB.
    if (QImageReader::allocationLimit() < 512) QImageReader::setAllocationLimit(512);
    QImageReader reader(path, "bmp");
    reader.setAutoDetectImageFormat(false);
    QImage image;
    if (!QFileInfo(path).isFile() || !reader.read(&image) || image.isNull()) {
        setError(error, QStringLiteral("无法读取图片“%1”").arg(QFileInfo(path).fileName()));
        return std::nullopt;
    }
    if (image.format() != QImage::Format_RGB32) image = image.convertToFormat(QImage::Format_RGB32);
    return image;
}

} // namespace BmpFile
