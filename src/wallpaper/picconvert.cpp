#include "picconvert.h"

#include "bmpfile.h"
#include "gifcodec.h"
#include "jpegcodec.h"

#include <QFile>
#include <QFileInfo>

namespace
{

QString bmpPathFor(const QString &path)
{
    const QFileInfo info(path);
    const QString suffix = info.suffix();
    const QString base = suffix.isEmpty() ? path : path.left(path.size() - suffix.size() - 1);
    return base + QStringLiteral(".bmp");
}

// Both decoders refuse anything over 100 megapixels; a file that large cannot be one either.
constexpr qint64 kMaxFileBytes = 1LL << 30;

PicResult convert(const QString &path, bool gif)
{
    const QString name = QFileInfo(path).fileName();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxFileBytes)
        return {QString(), QStringLiteral("无法读取图片“%1”").arg(name)};
    const QByteArray data = file.readAll();
    file.close();
    QImage image;
    QString error;
    if (gif) {
        GifCodec::Decoded d = GifCodec::decodeFirstFrame(data);
        image = std::move(d.image);
        error = d.error;
    } else {
        JpegCodec::Decoded d = JpegCodec::decode(data);
        image = std::move(d.image);
        error = d.error;
    }
    if (image.isNull()) return {QString(), QStringLiteral("“%1”：%2").arg(name, error)};
    const QString target = bmpPathFor(path);
    if (!BmpFile::write(image, target, 24, &error)) return {QString(), error};
    return {target, QString()};
}

} // namespace

PicResult PicToBmp(const QString &path)
{
    const QString ext = QFileInfo(path).suffix().toLower();
    if (ext == u"bmp") return {path, QString()};
    if (ext == u"jpg" || ext == u"jpeg") return JpgToBmp(path);
    if (ext == u"gif") return GifToBmp(path);
    return {};
}

PicResult JpgToBmp(const QString &path)
{
    return convert(path, false);
}

PicResult GifToBmp(const QString &path)
{
    return convert(path, true);
}
