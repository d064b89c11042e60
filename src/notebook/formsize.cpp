#include "formsize.h"

#include "programfolder.h"
#include "textfile.h"

#include <QFileInfo>

namespace
{
// Enough of the window to find it and drag it by its background.
constexpr int kMinVisibleWidth = 120, kMinVisibleHeight = 40;
const char *const kFileName = "data\\FormSize.ini";
} // namespace

QString FormSize::path()
{
    return ProgramFolder::path(QLatin1String(kFileName));
}

FormSize::Contents FormSize::read()
{
    Contents c;
    const QString file = path();
    c.exists = QFileInfo::exists(file);
    if (!c.exists) return c;
    const std::optional<QStringList> lines = TextFile::readLines(file);
    if (!lines) {
        c.error = QStringLiteral("无法读取窗口设置文件“%1”。").arg(QLatin1String(kFileName));
        return c;
    }
    for (int i = 0; i < 5; ++i) {
        if (i >= lines->size()) {
            c.error = QStringLiteral("窗口设置文件“%1”缺少第%2行。")
                          .arg(QLatin1String(kFileName))
                          .arg(i + 1);
            return c;
        }
        bool ok = false;
        const int v = lines->at(i).trimmed().toInt(&ok);
        if (!ok) {
            c.error = QStringLiteral("窗口设置文件“%1”第%2行的“%3”不是有效的整数。")
                          .arg(QLatin1String(kFileName))
                          .arg(i + 1)
                          .arg(lines->at(i));
            return c;
        }
        c.values.append(v);
    }
    if (lines->size() > 5) {
        c.monthText = lines->at(5);
        bool ok = false;
        const int m = lines->at(5).trimmed().toInt(&ok);
        if (ok) c.month = m;
    }
    return c;
}

bool FormSize::write(const std::array<int, 5> &values, const QString &month, QString *error)
{
    const QString file = path();
    // The file is replaced through a temporary one, which would overwrite a read-only file;
    // the owner's write bit decides, whoever runs the program.
    const QFileInfo info(file);
    bool ok =
        !(info.exists() && (!info.isFile() || !(info.permissions() & QFileDevice::WriteOwner)));
    if (ok) {
        QStringList lines;
        for (int v : values)
            lines << QString::number(v);
        lines << month;
        ok = TextFile::writeLines(file, lines);
    }
    if (!ok && error)
        *error = QStringLiteral("无法保存窗口设置文件“%1”。").arg(QLatin1String(kFileName));
    return ok;
}

QRect FormSize::visibleBounds(const QRect &bounds, const QList<QRect> &screens,
                              const QRect &primary)
{
    for (const QRect &screen : screens) {
        const QRect shown = screen.intersected(bounds);
        if (shown.width() >= kMinVisibleWidth && shown.height() >= kMinVisibleHeight) return bounds;
    }
    if (primary.isEmpty()) return bounds;
    QRect moved = bounds;
    const int left =
        bounds.width() >= primary.width()
            ? primary.left()
            : qBound(primary.left(), bounds.left(), primary.right() - bounds.width() + 1);
    const int top =
        bounds.height() >= primary.height()
            ? primary.top()
            : qBound(primary.top(), bounds.top(), primary.bottom() - bounds.height() + 1);
    moved.moveTo(left, top);
    return moved;
}
