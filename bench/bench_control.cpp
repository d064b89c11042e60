// Month control: a date change followed by painting the whole control into an image.
// Runs on the offscreen platform unless another one is set.

#include "chncalendar.h"
#include "datevalue.h"
#include "fontsubstitutions.h"

#include <QApplication>
#include <QImage>
#include <QLocale>
#include <QPainter>

#include <benchmark/benchmark.h>

namespace
{

double Day(int y, int m, int d)
{
    return ValueOfDate(QDate(y, m, d));
}

struct Control {
    Control()
    {
        calendar.resize(311, 253);
        calendar.show();
        QApplication::processEvents();
    }
    void Paint() { calendar.render(&image); }

    TChnCalendar calendar;
    QImage image{311, 253, QImage::Format_RGB32};
};

// Alternates between June and July 2011 (31 days each side of a month change).
void BM_OtherMonthAndPaint(benchmark::State &state)
{
    Control control;
    const double dates[] = {Day(2011, 6, 30), Day(2011, 7, 15)};
    int i = 0;
    for (auto _ : state) {
        control.calendar.setDateTime(dates[i++ & 1]);
        control.Paint();
        benchmark::DoNotOptimize(control.image.constBits());
    }
}
BENCHMARK(BM_OtherMonthAndPaint)->Unit(benchmark::kMillisecond);

void BM_SameMonthOtherDayAndPaint(benchmark::State &state)
{
    Control control;
    const double dates[] = {Day(2011, 6, 8), Day(2011, 6, 23)};
    int i = 0;
    for (auto _ : state) {
        control.calendar.setDateTime(dates[i++ & 1]);
        control.Paint();
        benchmark::DoNotOptimize(control.image.constBits());
    }
}
BENCHMARK(BM_SameMonthOtherDayAndPaint)->Unit(benchmark::kMillisecond);

// A historic year: the era text is looked up for every day of the month.
void BM_HistoricMonthAndPaint(benchmark::State &state)
{
    Control control;
    const double dates[] = {Day(1850, 2, 28), Day(1850, 3, 15)};
    int i = 0;
    for (auto _ : state) {
        control.calendar.setDateTime(dates[i++ & 1]);
        control.Paint();
        benchmark::DoNotOptimize(control.image.constBits());
    }
}
BENCHMARK(BM_HistoricMonthAndPaint)->Unit(benchmark::kMillisecond);

// With a blended background picture every change recomposes and blends the whole ground.
void BM_OtherMonthWithPictureAndPaint(benchmark::State &state)
{
    Control control;
    QImage picture(640, 480, QImage::Format_RGB32);
    {
        QPainter p(&picture);
        QLinearGradient gradient(0, 0, 640, 480);
        gradient.setColorAt(0, QColor(40, 120, 200));
        gradient.setColorAt(1, QColor(250, 220, 120));
        p.fillRect(picture.rect(), gradient);
    }
    control.calendar.setStretch(true);
    control.calendar.setBackGround(picture);
    const double dates[] = {Day(2011, 6, 30), Day(2011, 7, 15)};
    int i = 0;
    for (auto _ : state) {
        control.calendar.setDateTime(dates[i++ & 1]);
        control.Paint();
        benchmark::DoNotOptimize(control.image.constBits());
    }
}
BENCHMARK(BM_OtherMonthWithPictureAndPaint)->Unit(benchmark::kMillisecond);

void BM_PaintOnly(benchmark::State &state)
{
    Control control;
    control.calendar.setDateTime(Day(2011, 6, 30));
    for (auto _ : state) {
        control.Paint();
        benchmark::DoNotOptimize(control.image.constBits());
    }
}
BENCHMARK(BM_PaintOnly)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    installFontSubstitutions();
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
