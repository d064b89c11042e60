#pragma once

// Era lookup by civil year over rows of the era table's seven-field form. The rows are split
// once, when the index is built; every lookup then reads the parsed rows.

#include <span>
#include <string>
#include <string_view>
#include <vector>

class EraIndex
{
public:
    explicit EraIndex(std::span<const std::string_view> rows);

    // "[dynasty]title name era" + reign year ("元" for the first) + "年"; empty outside
    // -2069 ... 1948 or when no row covers the year.
    std::string textOf(int y) const;

private:
    struct Row {
        int start = 0; // first civil year; a field that is no integer reads 0
        std::string label, title, name, era;
    };
    std::vector<Row> rows_;
};
