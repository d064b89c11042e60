#pragma once

// Integer division rounding toward minus infinity, and the matching non-negative remainder.
// Plain `/` and `%` truncate toward zero, which is wrong for negative years and day counts.

constexpr long long floorDiv(long long a, long long b)
{
    const long long q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

constexpr long long floorMod(long long a, long long b)
{
    return a - floorDiv(a, b) * b;
}

static_assert(floorDiv(-1, 4) == -1 && floorMod(-1, 4) == 3 && floorMod(-60, 60) == 0);
static_assert(floorDiv(7, 2) == 3 && floorMod(7, 12) == 7);
