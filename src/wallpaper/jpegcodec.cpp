#include "jpegcodec.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>

#include <jerror.h>
#include <jpeglib.h>

namespace
{

// Anything progressive beyond this many scans is a hostile file built to burn time.
constexpr int kMaxScans = 500;

struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void errorExit(j_common_ptr cinfo)
{
    auto *err = reinterpret_cast<ErrorManager *>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

// Warnings about missing data mean the picture is incomplete; those are failures. Stray bytes
// between markers are common in camera files and harmless.
void emitMessage(j_common_ptr cinfo, int level)
{
    if (level >= 0) return;
    if (cinfo->err->msg_code == JWRN_EXTRANEOUS_DATA) return;
    errorExit(cinfo);
}

void outputMessage(j_common_ptr) {}

void progressMonitor(j_common_ptr cinfo)
{
    if (cinfo->is_decompressor) {
        auto *d = reinterpret_cast<j_decompress_ptr>(cinfo);
        if (d->input_scan_number > kMaxScans) {
            auto *err = reinterpret_cast<ErrorManager *>(cinfo->err);
            std::snprintf(err->message, sizeof err->message, "too many scans");
            std::longjmp(err->jump, 1);
        }
    }
}

// Everything that must survive a longjmp lives here, outside the frame that calls setjmp.
struct DecodeJob {
    jpeg_decompress_struct cinfo{};
    ErrorManager err{};
    jpeg_progress_mgr progress{};
    const QByteArray *data = nullptr;
    QImage image;
    QByteArray cmykRow;
    bool created = false;
};

bool runDecode(DecodeJob *job)
{
    job->cinfo.err = jpeg_std_error(&job->err.pub);
    job->err.pub.error_exit = errorExit;
    job->err.pub.emit_message = emitMessage;
    job->err.pub.output_message = outputMessage;
    if (setjmp(job->err.jump)) return false;
    jpeg_create_decompress(&job->cinfo);
    job->created = true;
    job->progress.progress_monitor = progressMonitor;
    job->cinfo.progress = &job->progress;
    jpeg_mem_src(&job->cinfo, reinterpret_cast<const unsigned char *>(job->data->constData()),
                 static_cast<unsigned long>(job->data->size()));
    jpeg_read_header(&job->cinfo, TRUE);
    if (qint64(job->cinfo.image_width) * job->cinfo.image_height > JpegCodec::kMaxPixels) {
        std::snprintf(job->err.message, sizeof job->err.message, "picture too large");
        return false;
    }
    const bool cmyk =
        job->cinfo.jpeg_color_space == JCS_CMYK || job->cinfo.jpeg_color_space == JCS_YCCK;
    job->cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRX;
    jpeg_start_decompress(&job->cinfo);
    const int w = int(job->cinfo.output_width);
    const int h = int(job->cinfo.output_height);
    job->image = QImage(w, h, QImage::Format_RGB32);
    if (job->image.isNull()) {
        std::snprintf(job->err.message, sizeof job->err.message, "out of memory");
        return false;
    }
    if (cmyk) job->cmykRow.resize(qsizetype(w) * 4);
    // Adobe writes CMYK inverted; so do nearly all files that carry its marker.
    const bool inverted = job->cinfo.saw_Adobe_marker;
    while (job->cinfo.output_scanline < job->cinfo.output_height) {
        const int y = int(job->cinfo.output_scanline);
        if (!cmyk) {
            JSAMPROW row = job->image.scanLine(y);
            jpeg_read_scanlines(&job->cinfo, &row, 1);
            continue;
        }
        JSAMPROW row = reinterpret_cast<JSAMPROW>(job->cmykRow.data());
        jpeg_read_scanlines(&job->cinfo, &row, 1);
        auto *out = reinterpret_cast<quint32 *>(job->image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            int c = row[4 * x], m = row[4 * x + 1], yy = row[4 * x + 2], k = row[4 * x + 3];
            if (!inverted) {
                c = 255 - c;
                m = 255 - m;
                yy = 255 - yy;
                k = 255 - k;
            }
            out[x] = qRgb(c * k / 255, m * k / 255, yy * k / 255);
        }
    }
    jpeg_finish_decompress(&job->cinfo);
    return true;
}

struct EncodeJob {
    jpeg_compress_struct cinfo{};
    ErrorManager err{};
    QImage image; // Format_RGB32
    int quality = 90;
    unsigned char *buffer = nullptr;
    unsigned long size = 0;
    bool created = false;
};

bool runEncode(EncodeJob *job)
{
    job->cinfo.err = jpeg_std_error(&job->err.pub);
    job->err.pub.error_exit = errorExit;
    job->err.pub.output_message = outputMessage;
    if (setjmp(job->err.jump)) return false;
    jpeg_create_compress(&job->cinfo);
    job->created = true;
    jpeg_mem_dest(&job->cinfo, &job->buffer, &job->size);
    job->cinfo.image_width = JDIMENSION(job->image.width());
    job->cinfo.image_height = JDIMENSION(job->image.height());
    job->cinfo.input_components = 4;
    job->cinfo.in_color_space = JCS_EXT_BGRX;
    jpeg_set_defaults(&job->cinfo);
    jpeg_set_quality(&job->cinfo, job->quality, TRUE);
    jpeg_start_compress(&job->cinfo, TRUE);
    while (job->cinfo.next_scanline < job->cinfo.image_height) {
        JSAMPROW row =
            const_cast<JSAMPROW>(job->image.constScanLine(int(job->cinfo.next_scanline)));
        jpeg_write_scanlines(&job->cinfo, &row, 1);
    }
    jpeg_finish_compress(&job->cinfo);
    return true;
}

} // namespace

namespace JpegCodec
{

Decoded decode(const QByteArray &data)
{
    DecodeJob job;
    job.data = &data;
    Decoded result;
    if (runDecode(&job)) {
        result.image = std::move(job.image);
    } else {
        result.error =
            QStringLiteral("JPEG图片无法解码（%1）").arg(QString::fromLocal8Bit(job.err.message));
    }
    if (job.created) jpeg_destroy_decompress(&job.cinfo);
    return result;
}

QByteArray encode(const QImage &image, int quality, QString *error)
{
    EncodeJob job;
    job.image = image.format() == QImage::Format_RGB32
                    ? image
                    : image.convertToFormat(QImage::Format_RGB32);
    job.quality = quality;
    QByteArray out;
    if (job.image.isNull()) {
        if (error) *error = QStringLiteral("空图片");
        return out;
    }
    if (runEncode(&job)) {
        out = QByteArray(reinterpret_cast<const char *>(job.buffer), qsizetype(job.size));
    } else if (error) {
        *error =
            QStringLiteral("JPEG图片无法生成（%1）").arg(QString::fromLocal8Bit(job.err.message));
    }
    if (job.created) jpeg_destroy_compress(&job.cinfo);
    std::free(job.buffer);
    return out;
}

} // namespace JpegCodec
