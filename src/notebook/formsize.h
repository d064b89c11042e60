#pragma once

#include <QList>
#include <QRect>
#include <QString>

#include <array>
#include <optional>

// "data\FormSize.ini", one decimal value a line: the letter style, the window's width, height,
// left and top, and the month of the hidden month selector.
namespace FormSize
{

QString path();

struct Contents {
    bool exists = false;
    // Lines 1 ... 5 in order, as far as they could be read; reading stops at the first line
    // that is missing or not an integer, and `error` says which.
    QList<int> values;
    QString error;
    // Line 6 as text, and its integer value when it is one.
    std::optional<QString> monthText;
    std::optional<int> month;
};

Contents read();

// Replaces the file with the six lines; false with the reason when it cannot be written (a
// read-only file included).
bool write(const std::array<int, 5> &values, const QString &month, QString *error);

// Bounds that no screen shows enough of to grab the window are moved into the primary
// screen's available area, keeping their size; other bounds come back unchanged.
QRect visibleBounds(const QRect &bounds, const QList<QRect> &screens, const QRect &primary);

} // namespace FormSize
