#include "weeklist.h"

#include <cmath>

TWeekList WeekList{};

namespace
{
// The date part of a value; values that name no date give the epoch rather than a null date.
QDate dateOf(double value)
{
    return DateOfValue(value).value_or(QDate(1899, 12, 30));
}
} // namespace

QString DateKeyOf(double value)
{
    const QDate date = dateOf(value);
    // QDate's own format pads years below 1000 only to their digits; the key needs four.
    return QStringLiteral("%1%2%3")
        .arg(date.year(), 4, 10, QLatin1Char('0'))
        .arg(date.month(), 2, 10, QLatin1Char('0'))
        .arg(date.day(), 2, 10, QLatin1Char('0'));
}

void BuildWeek(TWeekList &week, double d)
{
    const int w = dateOf(d).dayOfWeek(); // ISO: 1 = Monday ... 7 = Sunday
    for (int i = 0; i < 7; ++i) {
        TWeekConList &entry = week[i];
        entry.DayNo = i + 1;
        entry.Date = d + (i - (w - 1));
        entry.BoxNo = i + 1;
        entry.DateKey = DateKeyOf(entry.Date);
    }
    week[6].BoxNo = week[5].BoxNo;
    week[6].DateKey = week[5].DateKey;
}
