#include "bmpfile.h"
#include "gifcodec.h"
#include "jpegcodec.h"
#include "picconvert.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <gif_lib.h>

namespace
{

QImage pattern(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb((x * 7) & 255, (y * 5) & 255, ((x + y) * 3) & 255));
    return image;
}

// JPEG markers in file order, with each segment's payload.
QList<QPair<int, QByteArray>> jpegSegments(const QByteArray &jpeg)
{
    QList<QPair<int, QByteArray>> out;
    qsizetype i = 2;
    while (i + 4 <= jpeg.size() && uchar(jpeg[i]) == 0xFF) {
        const int marker = uchar(jpeg[i + 1]);
        const int length = (uchar(jpeg[i + 2]) << 8) | uchar(jpeg[i + 3]);
        out.append({marker, jpeg.mid(i + 4, length - 2)});
        if (marker == 0xDA) break; // entropy-coded data follows
        i += 2 + length;
    }
    return out;
}

// Tables of the JPEG standard (Annex K), in natural order, and the scaling that quality q
// applies to them in baseline form.
constexpr int kLuma[64] = {16, 11, 10, 16, 24,  40,  51,  61,  12, 12, 14, 19, 26,  58,  60,  55,
                           14, 13, 16, 24, 40,  57,  69,  56,  14, 17, 22, 29, 51,  87,  80,  62,
                           18, 22, 37, 56, 68,  109, 103, 77,  24, 35, 55, 64, 81,  104, 113, 92,
                           49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99};
constexpr int kChroma[64] = {17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99,
                             24, 26, 56, 99, 99, 99, 99, 99, 47, 66, 99, 99, 99, 99, 99, 99,
                             99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
                             99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99};
constexpr int kZigzag[64] = {0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,
                             12, 19, 26, 33, 40, 48, 41, 34, 27, 20, 13, 6,  7,  14, 21, 28,
                             35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23, 30, 37, 44, 51,
                             58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63};

QByteArray scaledTable(const int (&base)[64], int quality)
{
    const int scale = quality < 50 ? 5000 / quality : 200 - quality * 2;
    QByteArray zigzag(64, '\0');
    for (int i = 0; i < 64; ++i)
        zigzag[i] = char(qBound(1, (base[kZigzag[i]] * scale + 50) / 100, 255));
    return zigzag;
}

// A GIF written with giflib: canvas 10 x 8, first frame 4 x 3 at (3, 2) with palette index 2
// transparent, then a second full-canvas frame that must not show.
QByteArray makeGif(bool interlaced)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.gif"));
    int error = 0;
    GifFileType *gif = EGifOpenFileName(path.toLocal8Bit().constData(), false, &error);
    if (!gif) return {};
    GifColorType colours[4] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {10, 20, 30}};
    ColorMapObject *map = GifMakeMapObject(4, colours);
    EGifPutScreenDesc(gif, 10, 8, 2, 3, map);
    GifByteType gce[4] = {0x01, 0, 0, 2};
    EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, gce);
    EGifPutImageDesc(gif, 3, 2, 4, 3, interlaced, nullptr);
    // Rows in file order; for an interlaced frame of 3 rows the order is rows 0, 2, 1.
    GifPixelType rows[3][4] = {{0, 1, 2, 3}, {1, 1, 1, 1}, {3, 2, 1, 0}};
    const int order[3] = {0, interlaced ? 2 : 1, interlaced ? 1 : 2};
    for (int r : order)
        EGifPutLine(gif, rows[r], 4);
    EGifPutImageDesc(gif, 0, 0, 10, 8, false, nullptr);
    GifPixelType line[10] = {};
    for (int r = 0; r < 8; ++r)
        EGifPutLine(gif, line, 10);
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

class TstPicCodec : public QObject
{
    Q_OBJECT
private slots:
    void jpegIsBaselineWithQuality90Tables()
    {
        const QByteArray jpeg = JpegCodec::encode(pattern(64, 48), 90);
        QVERIFY(!jpeg.isEmpty());
        QList<QByteArray> tables;
        bool baseline = false;
        for (const auto &[marker, payload] : jpegSegments(jpeg)) {
            QVERIFY2(marker != 0xC2, "progressive frame");
            if (marker == 0xC0) {
                baseline = true;
                QCOMPARE(int(uchar(payload[5])), 3); // colour: three components
                QCOMPARE(qFromBigEndian<quint16>(payload.constData() + 1), quint16(48));
                QCOMPARE(qFromBigEndian<quint16>(payload.constData() + 3), quint16(64));
            }
            if (marker == 0xDB) {
                for (qsizetype i = 0; i + 65 <= payload.size(); i += 65) {
                    QCOMPARE(int(uchar(payload[i])) >> 4, 0); // 8-bit precision entries
                    tables << payload.mid(i + 1, 64);
                }
            }
        }
        QVERIFY(baseline);
        QCOMPARE(tables.size(), 2);
        QCOMPARE(tables[0], scaledTable(kLuma, 90));
        QCOMPARE(tables[1], scaledTable(kChroma, 90));
    }

    void jpegRoundTripAtFullSize()
    {
        QImage flat(300, 200, QImage::Format_RGB32);
        flat.fill(qRgb(40, 120, 200));
        const JpegCodec::Decoded d = JpegCodec::decode(JpegCodec::encode(flat, 90));
        QVERIFY2(d.error.isEmpty(), qPrintable(d.error));
        QCOMPARE(d.image.size(), QSize(300, 200));
        QCOMPARE(d.image.format(), QImage::Format_RGB32);
        const QRgb px = d.image.pixel(150, 100);
        QVERIFY(qAbs(qRed(px) - 40) <= 2 && qAbs(qGreen(px) - 120) <= 2 &&
                qAbs(qBlue(px) - 200) <= 2);
        QCOMPARE(qAlpha(px), 255);
    }

    void jpegGreyscaleComesOutInColourFormat()
    {
        QImage grey(16, 16, QImage::Format_Grayscale8);
        grey.fill(90);
        const QByteArray jpeg = [&] {
            QByteArray bytes;
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            grey.save(&buffer, "JPG");
            return bytes;
        }();
        if (jpeg.isEmpty()) QSKIP("no JPEG writer plugin to make a greyscale file");
        const JpegCodec::Decoded d = JpegCodec::decode(jpeg);
        QVERIFY2(d.error.isEmpty(), qPrintable(d.error));
        QVERIFY(qAbs(qRed(d.image.pixel(8, 8)) - 90) <= 2);
        QCOMPARE(qRed(d.image.pixel(8, 8)), qBlue(d.image.pixel(8, 8)));
    }

    void corruptJpegFails_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        const QByteArray good = JpegCodec::encode(pattern(64, 64), 90);
        QTest::newRow("empty") << QByteArray() << QString();
        QTest::newRow("not a jpeg") << QByteArray("GIF89a this is not a jpeg at all") << QString();
        QTest::newRow("header only") << good.left(300) << QString();
        QTest::newRow("truncated data") << good.left(good.size() * 2 / 3) << QString();
        QByteArray huge = good;
        for (auto &[marker, payload] : jpegSegments(good)) {
            if (marker != 0xC0) continue;
            const qsizetype at = good.indexOf(payload) + 1; // height, then width
            qToBigEndian<quint16>(20000, huge.data() + at);
            qToBigEndian<quint16>(6000, huge.data() + at + 2);
        }
        QTest::newRow("120 megapixels") << huge << "too large";
        QByteArray garbled = good;
        for (qsizetype i = garbled.size() / 2; i < garbled.size() - 2; i += 7)
            garbled[i] = char(0xFF);
        QTest::newRow("garbled scan") << garbled << QString();
    }
    void corruptJpegFails()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        const JpegCodec::Decoded d = JpegCodec::decode(bytes);
        QVERIFY(d.image.isNull());
        QVERIFY(!d.error.isEmpty());
        QVERIFY2(d.error.contains(reason), qPrintable(d.error));
    }

    void gifFirstFrameAtItsPlace_data()
    {
        QTest::addColumn<bool>("interlaced");
        QTest::newRow("progressive rows") << false;
        QTest::newRow("interlaced") << true;
    }
    void gifFirstFrameAtItsPlace()
    {
        QFETCH(bool, interlaced);
        const GifCodec::Decoded d = GifCodec::decodeFirstFrame(makeGif(interlaced));
        QVERIFY2(d.error.isEmpty(), qPrintable(d.error));
        QCOMPARE(d.image.size(), QSize(10, 8));
        const QRgb white = qRgb(255, 255, 255);
        QCOMPARE(d.image.pixel(0, 0), white); // outside the frame
        QCOMPARE(d.image.pixel(9, 7), white);
        QCOMPARE(d.image.pixel(3, 2), qRgb(255, 0, 0));
        QCOMPARE(d.image.pixel(4, 2), qRgb(0, 255, 0));
        QCOMPARE(d.image.pixel(5, 2), white); // transparent index
        QCOMPARE(d.image.pixel(6, 2), qRgb(10, 20, 30));
        QCOMPARE(d.image.pixel(3, 3), qRgb(0, 255, 0));
        QCOMPARE(d.image.pixel(6, 4), qRgb(255, 0, 0));
        QCOMPARE(d.image.pixel(4, 4), white);
    }

    void corruptGifFails_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        const QByteArray good = makeGif(false);
        QTest::newRow("empty") << QByteArray() << QString();
        QTest::newRow("signature only") << QByteArray("GIF89a") << QString();
        QTest::newRow("truncated frame") << good.left(good.indexOf(',') + 14) << QString();
        QByteArray huge = good;
        qToLittleEndian<quint16>(65535, huge.data() + 6);
        qToLittleEndian<quint16>(65535, huge.data() + 8);
        QTest::newRow("4 gigapixel canvas") << huge << "too large";
        QByteArray noTable = good;
        noTable[10] = char(uchar(noTable[10]) & 0x7F); // no global table, frame has none
        noTable.remove(13, 12);
        QTest::newRow("no colour table") << noTable << "colour table";
    }
    void corruptGifFails()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        const GifCodec::Decoded d = GifCodec::decodeFirstFrame(bytes);
        QVERIFY(d.image.isNull());
        QVERIFY(!d.error.isEmpty());
        QVERIFY2(d.error.contains(reason), qPrintable(d.error));
    }

    void bmpWriterDepths_data()
    {
        QTest::addColumn<int>("bits");
        QTest::newRow("24") << 24;
        QTest::newRow("32") << 32;
    }
    void bmpWriterDepths()
    {
        QFETCH(int, bits);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("p.bmp"));
        const QImage src = pattern(13, 7); // odd width: row padding
        QVERIFY(BmpFile::write(src, path, bits));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QCOMPARE(qFromLittleEndian<quint16>(bytes.constData() + 28), quint16(bits));
        const std::optional<QImage> back = BmpFile::read(path);
        QVERIFY(back);
        QCOMPARE(*back, src);
    }

    void bmpOver100MegapixelsIsRefused()
    {
        // A run-length bitmap of a few bytes that claims 20000 x 6000 pixels.
        QByteArray bmp(14 + 40 + 4, '\0');
        char *p = bmp.data();
        p[0] = 'B';
        p[1] = 'M';
        qToLittleEndian<quint32>(quint32(bmp.size() + 2), p + 2);
        qToLittleEndian<quint32>(14 + 40 + 4, p + 10);
        qToLittleEndian<quint32>(40, p + 14);
        qToLittleEndian<qint32>(20000, p + 18);
        qToLittleEndian<qint32>(6000, p + 22);
        qToLittleEndian<quint16>(1, p + 26);
        qToLittleEndian<quint16>(8, p + 28);
        qToLittleEndian<quint32>(1, p + 30); // BI_RLE8
        qToLittleEndian<quint32>(2, p + 34);
        qToLittleEndian<quint32>(1, p + 46); // one palette entry
        bmp.append("\x00\x01", 2);           // end of bitmap
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("huge.bmp"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bmp);
        file.close();
        QString error;
        QVERIFY(!BmpFile::read(path, &error));
        QVERIFY2(error.contains(QStringLiteral("太大")), qPrintable(error));
    }

    void picToBmpByExtension_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("expected"); // empty: not handled
        QTest::newRow("bmp unchanged") << "A.BMP"
                                       << "A.BMP";
        QTest::newRow("jpeg any case") << "Photo.JPEG"
                                       << "Photo.bmp";
        QTest::newRow("jpg") << "b.jpg"
                             << "b.bmp";
        QTest::newRow("gif") << "c.Gif"
                             << "c.bmp";
        QTest::newRow("png not handled") << "d.png" << QString();
        QTest::newRow("ico not handled") << "e.ico" << QString();
    }
    void picToBmpByExtension()
    {
        QFETCH(QString, name);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        const QString lower = name.toLower();
        if (lower.endsWith(u"gif"))
            QVERIFY(writeFile(path, makeGif(false)));
        else if (lower.endsWith(u"jpeg") || lower.endsWith(u"jpg"))
            QVERIFY(writeFile(path, JpegCodec::encode(pattern(20, 10), 90)));
        else if (lower.endsWith(u"bmp"))
            QVERIFY(BmpFile::write(pattern(20, 10), path, 24));
        else
            QVERIFY(writeFile(path, "whatever"));
        const PicResult r = PicToBmp(path);
        QVERIFY2(r.ok(), qPrintable(r.error));
        QCOMPARE(r.bmpPath, expected.isEmpty() ? QString() : dir.filePath(expected));
        if (!expected.isEmpty()) QVERIFY(BmpFile::read(r.bmpPath));
    }

    void unreadablePictureFailsWithoutBmp_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("jpg") << "bad.jpg";
        QTest::newRow("gif") << "bad.gif";
        QTest::newRow("missing") << "missing.jpg";
    }
    void unreadablePictureFailsWithoutBmp()
    {
        QFETCH(QString, name);
        QTemporaryDir dir;
        if (!name.startsWith(u"missing"))
            QVERIFY(writeFile(dir.filePath(name), "\xFF\xD8\xFF garbage"));
        const PicResult r = PicToBmp(dir.filePath(name));
        QVERIFY(!r.ok());
        QVERIFY(r.bmpPath.isEmpty());
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("bad.bmp"))));
    }
};

QTEST_APPLESS_MAIN(TstPicCodec)
#include "tst_piccodec.moc"
