#include "rtfcommon.h"

#include <QStringList>
#include <QVariant>

#include <algorithm>
#include <cmath>

namespace Rtf::Detail
{

namespace
{
// \fsN keeps N in a signed 16-bit parameter.
constexpr int kMaxHalfPoints = 32767;
} // namespace

int halfPointsFromPoints(qreal points)
{
    if (!(points > 0)) return 24;
    return std::clamp(static_cast<int>(std::lround(points * 2)), 1, kMaxHalfPoints);
}

int halfPointsFromPixels(int pixels)
{
    // px * 72 / 96 points, doubled, rounded half up: 15 px -> 11.25 pt -> 23 half-points.
    if (pixels <= 0) return 24;
    return std::clamp((pixels * 3 + 1) / 2, 1, kMaxHalfPoints);
}

int halfPointsOf(const QFont &font)
{
    if (font.pointSizeF() > 0) return halfPointsFromPoints(font.pointSizeF());
    return halfPointsFromPixels(font.pixelSize());
}

int halfPointsOf(const QTextCharFormat &format, int fallback)
{
    if (format.hasProperty(QTextFormat::FontPointSize)) {
        const qreal pt = format.fontPointSize();
        if (pt > 0) return halfPointsFromPoints(pt);
    }
    if (format.hasProperty(QTextFormat::FontPixelSize)) {
        const int px = format.intProperty(QTextFormat::FontPixelSize);
        if (px > 0) return halfPointsFromPixels(px);
    }
    return fallback;
}

QString familyOf(const QTextCharFormat &format, const QString &fallback)
{
    if (format.hasProperty(QTextFormat::FontFamilies)) {
        const QStringList families = format.property(QTextFormat::FontFamilies).toStringList();
        if (!families.isEmpty() && !families.first().isEmpty()) return families.first();
    }
    return fallback;
}

bool isCjkFamily(const QString &family)
{
    for (const QChar c : family) {
        if (c.unicode() >= 0x80) return true;
    }
    // Latin spellings of the Chinese system faces.
    static const char *const latinNames[] = {
        "SimSun",   "NSimSun",      "SimHei",          "Microsoft YaHei", "KaiTi",
        "FangSong", "KaiTi_GB2312", "FangSong_GB2312", "DengXian",        "YouYuan",
        "STSong",   "STHeiti",      "STKaiti",         "STFangsong",      "SimSun-ExtB"};
    for (const char *name : latinNames) {
        if (family.compare(QLatin1StringView(name), Qt::CaseInsensitive) == 0) return true;
    }
    return family.contains(QLatin1StringView("CJK"), Qt::CaseInsensitive);
}

} // namespace Rtf::Detail
