#include "bmpfile.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QtEndian>

#include <filesystem>

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

constexpr qint64 kMaxPixels = 100'000'000;

// The plain 24- and 32-bit bitmaps this program writes, read straight from the mapped file;
// a null picture for any other flavour, which QImageReader then handles.
QImage readPlain(QFile &file)
{
    const qint64 size = file.size();
    if (size < 54) return {};
    const uchar *p = file.map(0, size);
    if (!p) return {};
    QImage image;
    const quint32 offset = qFromLittleEndian<quint32>(p + 10);
    const quint32 infoSize = qFromLittleEndian<quint32>(p + 14);
    const qint32 w = qFromLittleEndian<qint32>(p + 18);
    const qint32 hRaw = qFromLittleEndian<qint32>(p + 22);
    const quint16 planes = qFromLittleEndian<quint16>(p + 26);
    const quint16 bits = qFromLittleEndian<quint16>(p + 28);
    const quint32 compression = qFromLittleEndian<quint32>(p + 30);
    const qint64 h = hRaw < 0 ? -qint64(hRaw) : qint64(hRaw);
    const bool plain = p[0] == 'B' && p[1] == 'M' && infoSize >= 40 && planes == 1 &&
                       (bits == 24 || bits == 32) && compression == 0 && w > 0 && h > 0 &&
                       qint64(w) * h <= kMaxPixels;
    const qint64 stride = (qint64(w) * (bits / 8) + 3) & ~qint64(3);
    if (plain && offset >= 14 + infoSize && qint64(offset) + stride * h <= size) {
        image = QImage(w, int(h), QImage::Format_RGB32);
        for (int y = 0; !image.isNull() && y < h; ++y) {
            const uchar *in = p + offset + stride * (hRaw < 0 ? y : h - 1 - y);
            auto *out = reinterpret_cast<quint32 *>(image.scanLine(y));
            if (bits == 32) {
                for (int x = 0; x < w; ++x)
                    out[x] = qFromLittleEndian<quint32>(in + 4 * x) | 0xFF000000u;
            } else {
                for (int x = 0; x < w; ++x)
                    out[x] = 0xFF000000u | (quint32(in[3 * x + 2]) << 16) |
                             (quint32(in[3 * x + 1]) << 8) | in[3 * x];
            }
        }
    }
    file.unmap(const_cast<uchar *>(p));
    return image;
}

} // namespace

namespace BmpFile
{

namespace
{
// Writes through a sibling file and a rename, so no reader ever sees half a file. No sync to
// disk: the pictures are made anew at every apply.
template <typename Fill> bool replaceWith(const QString &path, Fill fill)
{
    const QString part = path + QStringLiteral(".part");
    QFile file(part);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    const bool written = fill(file);
    file.close();
    std::error_code ec;
    if (written)
        std::filesystem::rename(std::filesystem::path(part.toStdU16String()),
                                std::filesystem::path(path.toStdU16String()), ec);
    if (!written || ec) {
        QFile::remove(part);
        return false;
    }
    return true;
}
} // namespace

bool replaceFile(const QString &path, const QByteArray &bytes)
{
    return replaceWith(path, [&](QFile &file) { return file.write(bytes) == bytes.size(); });
}

bool write(const QImage &image, const QString &path, int bitsPerPixel, QString *error)
{
    if (image.isNull() || (bitsPerPixel != 24 && bitsPerPixel != 32)) {
        setError(error, QStringLiteral("空图片"));
        return false;
    }
    const QImage src = image.format() == QImage::Format_RGB32
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
    char header[headerSize] = {};
    header[0] = 'B';
    header[1] = 'M';
    put32(header + 2, quint32(headerSize + pixelBytes));
    put32(header + 10, headerSize);
    put32(header + 14, 40);
    put32(header + 18, quint32(w));
    put32(header + 22, quint32(h)); // positive: rows stored bottom-up
    put16(header + 26, 1);
    put16(header + 28, quint16(bitsPerPixel));
    put32(header + 34, quint32(pixelBytes));
    put32(header + 38, 2835); // 72 dpi
    put32(header + 42, 2835);

    // Rows go out in batches of about 1 MB, bottom row first.
    const int rowsPerBatch = int(qMax<qint64>(1, (1 << 20) / stride));
    QByteArray batch(stride * rowsPerBatch, '\0');
    const bool ok = replaceWith(path, [&](QFile &file) {
        if (file.write(header, headerSize) != headerSize) return false;
        for (int first = h - 1; first >= 0; first -= rowsPerBatch) {
            const int count = qMin(rowsPerBatch, first + 1);
            for (int i = 0; i < count; ++i) {
                const auto *in = reinterpret_cast<const quint32 *>(src.constScanLine(first - i));
                auto *out = reinterpret_cast<uchar *>(batch.data() + stride * i);
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
            const qint64 bytes = stride * count;
            if (file.write(batch.constData(), bytes) != bytes) return false;
        }
        return true;
    });
    if (!ok) setError(error, QStringLiteral("无法写入文件“%1”").arg(QFileInfo(path).fileName()));
    return ok;
}

std::optional<QImage> read(const QString &path, QString *error)
{
    // Pictures up to 100 megapixels at 4 bytes each; Qt's default cap is 256 MB.
    if (QImageReader::allocationLimit() < 512) QImageReader::setAllocationLimit(512);
    QImage image;
    QFile file(path);
    if (QFileInfo(path).isFile() && file.open(QIODevice::ReadOnly)) image = readPlain(file);
    file.close();
    QImageReader reader(path, "bmp");
    reader.setAutoDetectImageFormat(false);
    // A run-length bitmap of a few bytes can claim any size; refuse it before Qt takes memory.
    if (const QSize size = image.isNull() ? reader.size() : QSize();
        size.isValid() && qint64(size.width()) * size.height() > kMaxPixels) {
        setError(error, QStringLiteral("图片“%1”太大").arg(QFileInfo(path).fileName()));
        return std::nullopt;
    }
    if (image.isNull() && (!QFileInfo(path).isFile() || !reader.read(&image) || image.isNull())) {
        setError(error, QStringLiteral("无法读取图片“%1”").arg(QFileInfo(path).fileName()));
        return std::nullopt;
    }
    if (image.format() != QImage::Format_RGB32) image = image.convertToFormat(QImage::Format_RGB32);
    return image;
}

} // namespace BmpFile
