#include "mixpicfrm.h"

#include <algorithm>

namespace
{
constexpr int kRightMargin = 50; // px between the source's and the receiver's right edge
}

MixResult TMixPicFrm::MixPicture(QImage &A, QImage &B, int t, int f, bool *received)
{
    MixResult result;
    if (A.isNull() || B.isNull()) {
        result.error = QStringLiteral("空图片");
        return result;
    }
    if (A.format() != QImage::Format_RGB32) A = A.convertToFormat(QImage::Format_RGB32);
    if (B.format() != QImage::Format_RGB32) B = B.convertToFormat(QImage::Format_RGB32);

    const int h = std::min(A.height(), B.height());
    const int w = std::min(A.width(), B.width());
    const int W = std::max(A.width(), B.width());
    const bool backgroundReceives = B.height() != h;
    QImage &R = backgroundReceives ? B : A;
    const QImage &S = backgroundReceives ? A : B;
    const int rowOffset = backgroundReceives ? t : 0;
    if (received) *received = backgroundReceives;

    const int x0 = W - w - kRightMargin;
    const int kFirst = std::max(0, -x0);
    const int kEnd = std::min(w, R.width() - x0);

    for (int r = 0; r < h; ++r) {
        const int y = r + rowOffset;
        if (y < 0 || y >= R.height()) {
            result.tooShort = true;
            result.error = QStringLiteral("行 %1 超出图片范围（高 %2）").arg(y).arg(R.height());
            return result;
        }
        const uchar *src = S.constScanLine(r);
        uchar *dst = R.scanLine(y);
        for (int k = kFirst; k < kEnd; ++k) {
            const uchar *s = src + 4 * k;
            if (s[0] == 255 && s[1] == 255 && s[2] == 255) continue;
            uchar *d = dst + 4 * (x0 + k);
            for (int b = 0; b < 4; ++b)
                d[b] = uchar(d[b] + (int(s[b]) - int(d[b])) * f / 100);
        }
    }
    result.ok = true;
    return result;
}

MixResult TMixPicFrm::mix()
{
    bool intoBackground = true;
    const MixResult result = MixPicture(img1, img2, 30, 50, &intoBackground);
    if (result.ok) {
        imgmix = intoBackground ? img2 : img1;
    }
    img1 = QImage();
    img2 = QImage();
    return result;
}
