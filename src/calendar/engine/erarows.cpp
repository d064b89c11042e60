#include "erarows.h"

#include <vector>

// Generated from eras.csv at configure time.
extern const char *const kEraRowsText;

std::span<const std::string_view> EraRows()
{
    static const std::vector<std::string_view> rows = [] {
        std::vector<std::string_view> out;
        std::string_view text(kEraRowsText);
        while (!text.empty()) {
            const auto end = text.find('\n');
            std::string_view line = text.substr(0, end);
            if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
            if (!line.empty()) out.push_back(line);
            if (end == std::string_view::npos) break;
            text.remove_prefix(end + 1);
        }
        return out;
    }();
    return rows;
}
