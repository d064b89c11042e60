#pragma once

#include "weeklist.h"

#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>

class QWidget;
class TNoteBox;

// Export of the displayed week to a text file the user names: the six boxes as they are at the
// moment, under the dates of the week, in UTF-8 with CR LF line ends.
namespace WeekExport
{

// The save dialog, replaceable so that tests answer it without a modal loop: the chosen name,
// or nullopt when the user cancelled.
using SaveDialog = std::function<std::optional<QString>(QWidget *parent, const QString &presetName,
                                                        const QString &filter)>;

inline constexpr char16_t kFilter[] = u"*.Txt (*.Txt)";

// Four items per slot: the heading "星期一 2011.06.27" ... "星期六/日 2011.07.02", "  ", the
// box's lines, "  ". texts are the boxes' plain texts, lines joined by CR LF.
QStringList exportLines(const TWeekList &week, const std::array<QString, 6> &texts);

// "周 " + "YYYYMMDDHHMMSS" of a date-time value (days since 1899-12-30).
QString defaultFileName(double dateTime);

enum class Outcome { Written, Cancelled, EmptyName, WriteFailed };

// The whole command: builds the text from the boxes, asks for the name, always appends ".txt"
// and replaces the file. An empty name and a write failure are reported to the user.
Outcome N_DataOutClick(QWidget *parent, const TWeekList &week,
                       const std::array<TNoteBox *, 6> &boxes, double dateTime);

// An empty dialog restores the system's save dialog.
void setSaveDialog(SaveDialog dialog);

} // namespace WeekExport
