// Day information as the calendar control and kqcal use it.

#include "chncalendaruse.h"
#include "kqcalapp.h"

#include <benchmark/benchmark.h>

#include <ostream>
#include <streambuf>

namespace
{

class NullBuffer : public std::streambuf
{
protected:
    int_type overflow(int_type c) override { return traits_type::not_eof(c); }
    std::streamsize xsputn(const char *, std::streamsize n) override { return n; }
};

void BM_FillDayInfoOneDay(benchmark::State &state)
{
    TChnCal cal;
    const double day = ValueOfCivilDate(2024, 6, 15);
    for (auto _ : state) {
        FillDayInfo(cal, day);
        benchmark::DoNotOptimize(cal.CnDayText.data());
    }
}
BENCHMARK(BM_FillDayInfoOneDay);

// The month build: the selected day, then every day of the month (31 days: 32 calls).
void BM_MonthBuild(benchmark::State &state)
{
    const int year = static_cast<int>(state.range(0));
    const int month = static_cast<int>(state.range(1));
    TChnCal cal;
    const double first = ValueOfCivilDate(year, month, 1);
    for (auto _ : state) {
        FillDayInfo(cal, first + 14);
        for (int day = 0; day < 31; ++day) {
            FillDayInfo(cal, first + day);
            benchmark::DoNotOptimize(cal.CnDayText.data());
        }
    }
}
BENCHMARK(BM_MonthBuild)->Args({2024, 1})->Args({1905, 7})->Unit(benchmark::kMicrosecond);

// kqcal dump 1901-01-01 2100-12-31, output discarded.
void BM_DumpAll(benchmark::State &state)
{
    NullBuffer buffer;
    std::ostream out(&buffer);
    for (auto _ : state)
        WriteDump(out, CivilDate{1901, 1, 1}, CivilDate{2100, 12, 31});
}
BENCHMARK(BM_DumpAll)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

BENCHMARK_MAIN();
