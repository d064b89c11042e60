#include "eraindex.h"

#include "chncalendaruse.h"

#include <charconv>

namespace
{

int IntOrZero(const std::string &text)
{
    int value = 0;
    const char *end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return (ec == std::errc() && ptr == end) ? value : 0;
}

} // namespace

EraIndex::EraIndex(std::span<const std::string_view> rows)
{
    rows_.reserve(rows.size());
    for (const std::string_view line : rows) {
        const std::string text(line);
        // Fields 5 and 6 may be empty, so empty fields keep their place.
        rows_.push_back(Row{IntOrZero(FieldOf(text, ',', 1, false)), FieldOf(text, ',', 4, false),
                            FieldOf(text, ',', 5, false), FieldOf(text, ',', 6, false),
                            FieldOf(text, ',', 7, false)});
    }
}

std::string EraIndex::textOf(int y) const
{
    if (y >= 1949 || y < -2069) return {};
    // A row covers the years up to its successor's start; at the seams of parallel dynasties
    // the successor starts earlier, so the row never matches and the dynasty listed first wins.
    for (std::size_t i = 0; i + 1 < rows_.size(); ++i) {
        const Row &row = rows_[i];
        if (row.start <= y && y < rows_[i + 1].start) {
            const int n = y - row.start + 1;
            return "[" + row.label + "]" + row.title + " " + row.name + " " + row.era +
                   (n == 1 ? std::string("元") : std::to_string(n)) + "年";
        }
    }
    return {};
}
