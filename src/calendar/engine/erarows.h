#pragma once

// The era table: one row per line of eras.csv, seven fields separated by ','
// (first civil year, years, year offset, dynasty or period, ruler's title, personal name,
// era name). The file is compiled into the library.

#include <span>
#include <string_view>

std::span<const std::string_view> EraRows();
