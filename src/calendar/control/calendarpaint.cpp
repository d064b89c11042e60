#include "calendarpaint.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStringList>

#include <algorithm>
#include <cmath>

Qt::Alignment AlignmentOfTextFlags(unsigned flags)
{
    Qt::Alignment align = Qt::AlignLeft;
    if (flags & DT_CENTER)
        align = Qt::AlignHCenter;
    else if (flags & DT_RIGHT)
        align = Qt::AlignRight;
    if ((flags & DT_SINGLELINE) && (flags & DT_VCENTER)) return align | Qt::AlignVCenter;
    if ((flags & DT_SINGLELINE) && (flags & DT_BOTTOM)) return align | Qt::AlignBottom;
    return align | Qt::AlignTop;
}

namespace
{

struct LineBox {
    int ascent;
    int descent;
};

// The text cell the layout was made for: the em box. Faces with tall line boxes (the CJK faces
// that stand in for the classic ones reserve about 1.45 em) would push a line several pixels
// down and out of the half-cell it is given, so they are placed by their ideographic em box.
LineBox LineBoxOf(const QFont &font, const QFontMetrics &metrics)
{
    const int em = font.pixelSize() > 0 ? font.pixelSize() : metrics.height();
    if (metrics.ascent() + metrics.descent() <= em * 5 / 4)
        return {metrics.ascent(), metrics.descent()};
    const int ascent = (em * 9 + 9) / 10;
    return {ascent, std::max(1, em + 2 - ascent)};
}

} // namespace

int LineHeightOf(const QFont &font)
{
    const LineBox box = LineBoxOf(font, QFontMetrics(font));
    return box.ascent + box.descent;
}

void DrawTextA(QPainter &painter, const QRect &r, const QString &text, unsigned flags)
{
    if (text.isEmpty() || r.isEmpty()) return;
    const QFontMetrics metrics(painter.font());
    const LineBox box = LineBoxOf(painter.font(), metrics);
    const int lineHeight = box.ascent + box.descent;
    const bool elide = flags & (DT_END_ELLIPSIS | DT_WORD_ELLIPSIS);
    const Qt::Alignment align = AlignmentOfTextFlags(flags);

    auto drawLine = [&](const QString &line, int lineTop) {
        QString shown = line;
        int width = metrics.horizontalAdvance(shown);
        if (elide && width > r.width()) {
            shown = metrics.elidedText(line, Qt::ElideRight, r.width());
            width = metrics.horizontalAdvance(shown);
        }
        int x = r.left();
        if (align & Qt::AlignHCenter)
            x = r.left() + (r.width() - width) / 2;
        else if (align & Qt::AlignRight)
            x = r.left() + r.width() - width;
        painter.drawText(QPoint(x, lineTop + box.ascent), shown);
    };

    painter.save();
    painter.setClipRect(r, Qt::IntersectClip);
    if (flags & DT_SINGLELINE) {
        int top = r.top();
        if (align & Qt::AlignVCenter)
            top = r.top() + (r.height() - lineHeight) / 2;
        else if (align & Qt::AlignBottom)
            top = r.top() + r.height() - lineHeight;
        drawLine(text, top);
    } else {
        const QStringList lines = text.split(QLatin1Char('\n'));
        int top = r.top();
        for (const QString &line : lines) {
            QString plain = line;
            plain.remove(QLatin1Char('\r'));
            drawLine(plain, top);
            top += lineHeight;
            if (top > r.bottom()) break;
        }
    }
    painter.restore();
}

void FrameRect(QPainter &painter, const QRect &r, const QColor &color)
{
    if (r.isEmpty()) return;
    painter.fillRect(QRect(r.left(), r.top(), r.width(), 1), color);
    painter.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), color);
    painter.fillRect(QRect(r.left(), r.top(), 1, r.height()), color);
    painter.fillRect(QRect(r.right(), r.top(), 1, r.height()), color);
}

void GradientFill(QPainter &painter, const QRect &rect, int bands, const QColor &start,
                  const QColor &end)
{
    if (bands < 1) return;
    const QColor s = start.toRgb();
    const QColor e = end.toRgb();
    const double stepR = static_cast<double>(e.red() - s.red()) / bands;
    const double stepG = static_cast<double>(e.green() - s.green()) / bands;
    const double stepB = static_cast<double>(e.blue() - s.blue()) / bands;
    const double bandHeight = static_cast<double>(rect.height()) / bands;
    auto channel = [](int base, double offset) {
        return std::clamp(base + static_cast<int>(std::nearbyint(offset)), 0, 255);
    };
    for (int i = 0; i < bands; ++i) {
        const int top = static_cast<int>(std::nearbyint(i * bandHeight));
        const int bottom = static_cast<int>(std::nearbyint((i + 1) * bandHeight));
        if (bottom <= top) continue;
        const QColor color(channel(s.red(), (i + 1) * stepR), channel(s.green(), (i + 1) * stepG),
                           channel(s.blue(), (i + 1) * stepB));
        painter.fillRect(QRect(rect.left(), rect.top() + top, rect.width(), bottom - top), color);
    }
}

void BlendPicture(const QImage &source, QImage &target, const QPoint &offset, QRgb key, int weight)
{
    if (source.isNull() || target.isNull()) return;
    if (target.format() != QImage::Format_RGB32)
        target = target.convertToFormat(QImage::Format_RGB32);
    const QImage src = source.format() == QImage::Format_RGB32
                           ? source
                           : source.convertToFormat(QImage::Format_RGB32);
    const int k = ((weight % 100) + 100) % 100;
    if (k == 0) return;
    const QRgb keyRgb = key & 0x00FFFFFFu;
    const int x0 = std::max(0, -offset.x());
    const int y0 = std::max(0, -offset.y());
    const int x1 = std::min(src.width(), target.width() - offset.x());
    const int y1 = std::min(src.height(), target.height() - offset.y());
    for (int y = y0; y < y1; ++y) {
        const auto *s = reinterpret_cast<const QRgb *>(src.constScanLine(y));
        auto *t = reinterpret_cast<QRgb *>(target.scanLine(y + offset.y()));
        for (int x = x0; x < x1; ++x) {
            const QRgb sp = s[x];
            if ((sp & 0x00FFFFFFu) == keyRgb) continue;
            QRgb &tp = t[x + offset.x()];
            auto mix = [k](int tc, int sc) {
                return std::clamp((tc * (100 - k) + sc * k) / 100, 0, 255);
            };
            tp = qRgb(mix(qRed(tp), qRed(sp)), mix(qGreen(tp), qGreen(sp)),
                      mix(qBlue(tp), qBlue(sp)));
        }
    }
}
