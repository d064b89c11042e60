#include "gifcodec.h"

#include <cstring>
#include <memory>
#include <vector>

#include <gif_lib.h>

namespace
{

struct Reader {
    const QByteArray *data;
    qsizetype pos = 0;
};

int readFromMemory(GifFileType *gif, GifByteType *buffer, int length)
{
    auto *reader = static_cast<Reader *>(gif->UserData);
    const qsizetype left = reader->data->size() - reader->pos;
    const int n = int(qMin<qsizetype>(left, qMax(length, 0)));
    std::memcpy(buffer, reader->data->constData() + reader->pos, size_t(n));
    reader->pos += n;
    return n;
}

struct GifCloser {
    void operator()(GifFileType *gif) const
    {
        int error = 0;
        DGifCloseFile(gif, &error);
    }
};
using GifHandle = std::unique_ptr<GifFileType, GifCloser>;

GifCodec::Decoded failure(const QString &why)
{
    return {QImage(), QStringLiteral("GIF图片无法解码（%1）").arg(why)};
}

QString gifError(int code)
{
    const char *text = GifErrorString(code);
    return text ? QString::fromLatin1(text) : QStringLiteral("error %1").arg(code);
}

} // namespace

namespace GifCodec
{

Decoded decodeFirstFrame(const QByteArray &data)
{
    Reader reader{&data};
    int error = 0;
    GifHandle gif(DGifOpen(&reader, readFromMemory, &error));
    if (!gif) return failure(gifError(error));

    int transparent = -1; // from the graphic control extension before the frame
    for (;;) {
        GifRecordType type = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif.get(), &type) == GIF_ERROR) return failure(gifError(gif->Error));
        if (type == TERMINATE_RECORD_TYPE) return failure(QStringLiteral("no frame"));
        if (type == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType *block = nullptr;
            if (DGifGetExtension(gif.get(), &code, &block) == GIF_ERROR)
                return failure(gifError(gif->Error));
            if (code == GRAPHICS_EXT_FUNC_CODE && block && block[0] >= 4)
                transparent = (block[1] & 0x01) ? block[4] : -1;
            while (block) {
                if (DGifGetExtensionNext(gif.get(), &block) == GIF_ERROR)
                    return failure(gifError(gif->Error));
            }
            continue;
        }
        if (type != IMAGE_DESC_RECORD_TYPE) continue;

        if (DGifGetImageDesc(gif.get()) == GIF_ERROR) return failure(gifError(gif->Error));
        const GifImageDesc &desc = gif->Image;
        const qint64 frameW = desc.Width, frameH = desc.Height;
        qint64 canvasW = gif->SWidth, canvasH = gif->SHeight;
        if (canvasW <= 0 || canvasH <= 0) { // some writers leave the screen size empty
            canvasW = desc.Left + frameW;
            canvasH = desc.Top + frameH;
        }
        if (canvasW <= 0 || canvasH <= 0 || frameW <= 0 || frameH <= 0)
            return failure(QStringLiteral("empty picture"));
        if (canvasW * canvasH > kMaxPixels || frameW * frameH > kMaxPixels)
            return failure(QStringLiteral("picture too large"));
        const ColorMapObject *map = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
        if (!map || !map->Colors || map->ColorCount <= 0)
            return failure(QStringLiteral("no colour table"));

        QImage canvas(int(canvasW), int(canvasH), QImage::Format_RGB32);
        if (canvas.isNull()) return failure(QStringLiteral("out of memory"));
        canvas.fill(Qt::white);
        quint32 palette[256];
        for (int i = 0; i < 256; ++i) {
            // Indices past the table are drawn black, as most viewers do.
            palette[i] = i < map->ColorCount
                             ? qRgb(map->Colors[i].Red, map->Colors[i].Green, map->Colors[i].Blue)
                             : qRgb(0, 0, 0);
        }
        std::vector<GifPixelType> line(static_cast<size_t>(frameW));
        auto drawRow = [&](qint64 frameRow) {
            const qint64 y = desc.Top + frameRow;
            if (y < 0 || y >= canvasH) return;
            auto *out = reinterpret_cast<quint32 *>(canvas.scanLine(int(y)));
            for (qint64 k = 0; k < frameW; ++k) {
                const qint64 x = desc.Left + k;
                if (x >= canvasW) break;
                if (line[size_t(k)] == transparent) continue;
                out[x] = palette[line[size_t(k)]];
            }
        };
        if (desc.Interlace) {
            static constexpr int start[4] = {0, 4, 2, 1};
            static constexpr int step[4] = {8, 8, 4, 2};
            for (int pass = 0; pass < 4; ++pass) {
                for (qint64 r = start[pass]; r < frameH; r += step[pass]) {
                    if (DGifGetLine(gif.get(), line.data(), int(frameW)) == GIF_ERROR)
                        return failure(gifError(gif->Error));
                    drawRow(r);
                }
            }
        } else {
            // Rows below the canvas cannot show; stop decoding there.
            const qint64 rows = qMin(frameH, canvasH - desc.Top);
            for (qint64 r = 0; r < rows; ++r) {
                if (DGifGetLine(gif.get(), line.data(), int(frameW)) == GIF_ERROR)
                    return failure(gifError(gif->Error));
                drawRow(r);
            }
        }
        return {canvas, QString()};
    }
}

} // namespace GifCodec
