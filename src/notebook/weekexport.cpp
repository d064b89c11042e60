#include "weekexport.h"

#include "errorreport.h"
#include "infobox.h"
#include "notebox.h"
#include "textfile.h"

#include <QDir>
#include <QFileDialog>

#include <algorithm>
#include <cmath>

namespace
{

std::optional<QString> systemSaveDialog(QWidget *parent, const QString &presetName,
                                        const QString &filter)
{
    // The exported name always gains ".txt" afterwards, so the dialog's question about an
    // existing file would be about another file.
    const QString name =
        QFileDialog::getSaveFileName(parent, QStringLiteral("另存为"), presetName, filter, nullptr,
                                     QFileDialog::DontConfirmOverwrite);
    // The system's dialog gives no name only when the user cancels.
    if (name.isEmpty()) return std::nullopt;
    return name;
}

WeekExport::SaveDialog &saveDialog()
{
    static WeekExport::SaveDialog dialog = systemSaveDialog;
    return dialog;
}

// Week dates come from a valid calendar date; the epoch stands in for a value beyond any date.
QDate dateOf(double value)
{
    return DateOfValue(value).value_or(QDate(1899, 12, 30));
}

QString padded(int value, int width)
{
    return QStringLiteral("%1").arg(value, width, 10, QLatin1Char('0'));
}

} // namespace

namespace WeekExport
{

QStringList exportLines(const TWeekList &week, const std::array<QString, 6> &texts)
{
    static const char16_t *const dayNames[6] = {u"星期一 ", u"星期二 ", u"星期三 ",
                                                u"星期四 ", u"星期五 ", u"星期六/日 "};
    const QString blanks = QStringLiteral("  ");
    QStringList lines;
    for (int i = 0; i < 6; ++i) {
        const QDate date = dateOf(week[i].Date);
        lines << QString::fromUtf16(dayNames[i]) + padded(date.year(), 4) + QLatin1Char('.') +
                     padded(date.month(), 2) + QLatin1Char('.') + padded(date.day(), 2);
        lines << blanks;
        // An empty box still gives its one empty line.
        lines << texts[i].split(QStringLiteral("\r\n"));
        lines << blanks;
    }
    return lines;
}

QString defaultFileName(double dateTime)
{
    const QDate date = dateOf(dateTime);
    // Milliseconds of the day, rounded, so that a value a hair below a full second keeps it.
    qint64 ms = std::llround((dateTime - std::floor(dateTime)) * 86400000.0);
    ms = std::clamp<qint64>(ms, 0, 86399999);
    const qint64 seconds = ms / 1000;
    return QStringLiteral("周 ") + padded(date.year(), 4) + padded(date.month(), 2) +
           padded(date.day(), 2) + padded(int(seconds / 3600), 2) +
           padded(int(seconds / 60 % 60), 2) + padded(int(seconds % 60), 2);
}

Outcome N_DataOutClick(QWidget *parent, const TWeekList &week,
                       const std::array<TNoteBox *, 6> &boxes, double dateTime)
{
    std::array<QString, 6> texts;
    for (int i = 0; i < 6; ++i)
        texts[i] = boxes[i] ? boxes[i]->plainTextCrLf() : QString();
    const QStringList lines = exportLines(week, texts);

    const std::optional<QString> name =
        saveDialog()(parent, defaultFileName(dateTime), QString::fromUtf16(kFilter));
    if (!name) return Outcome::Cancelled;
    if (name->isEmpty()) {
        InfoBox::show(parent, QStringLiteral("文件名不能为空！"));
        return Outcome::EmptyName;
    }
    const QString path = *name + QStringLiteral(".txt");
    if (!TextFile::writeLines(path, lines)) {
        ErrorReport::show(parent,
                          QStringLiteral("无法写入文件“%1”。").arg(QDir::toNativeSeparators(path)));
        return Outcome::WriteFailed;
    }
    return Outcome::Written;
}

void setSaveDialog(SaveDialog dialog)
{
    saveDialog() = dialog ? std::move(dialog) : SaveDialog(systemSaveDialog);
}

} // namespace WeekExport
