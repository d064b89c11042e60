#include "datevalue.h"

#include <cmath>

namespace
{

const QDate kEpoch(1899, 12, 30);
// About 27 million years either way: far beyond what a calendar needs, well inside QDate.
constexpr double kValueLimit = 1e10;
constexpr double kMsPerDay = 86400000.0;

} // namespace

std::optional<QDate> DateOfValue(double value)
{
    if (!std::isfinite(value) || std::fabs(value) > kValueLimit) return std::nullopt;
    const QDate date = kEpoch.addDays(static_cast<qint64>(std::floor(value)));
    if (!date.isValid()) return std::nullopt;
    return date;
}

double ValueOfDate(const QDate &date)
{
    return static_cast<double>(kEpoch.daysTo(date));
}

double ValueOfDateTime(const QDateTime &dateTime)
{
    return ValueOfDate(dateTime.date()) + dateTime.time().msecsSinceStartOfDay() / kMsPerDay;
}

double NowValue()
{
    return ValueOfDateTime(QDateTime::currentDateTime());
}

int DayOfWeekOfDate(const QDate &date)
{
    return date.dayOfWeek() % 7 + 1;
}
