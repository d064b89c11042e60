// The wallpaper apply with a 3840 x 2160 background first added as a JPEG: capture of a week
// panel, blend, Mix.bmp, the JPEG round trip and the final Mix.bmp. The desktop's own reaction
// is left out (the installer is replaced).
#include "bmpfile.h"
#include "contentpicture.h"
#include "deskbgsetfrm.h"
#include "jpegcodec.h"
#include "mixpicfrm.h"
#include "picconvert.h"
#include "programfolder.h"
#include "textfile.h"
#include "wallpaperflow.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QPainter>
#include <QTemporaryDir>
#include <QTextEdit>

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cmath>
#include <memory>

namespace
{

struct Setup {
    QTemporaryDir dir;
    QString pictures;
    std::unique_ptr<QWidget> panel;
    QImage background; // the 4K picture as decoded from its JPEG
};

// A photo-like picture: smooth gradients with fine texture, so the JPEG has real work to do.
QImage photo(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        auto *row = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const double t = std::sin(x * 0.013) * std::cos(y * 0.011);
            const int grain = ((x * 2654435761u) ^ (y * 40503u)) >> 28;
            row[x] = qRgb(int(90 + 60 * t) + grain, int(130 + 40 * t) + grain,
                          int(190 - 30 * t) + grain);
        }
    }
    return image;
}

Setup &setup()
{
    static Setup s = [] {
        Setup s;
        ProgramFolder::setRoot(s.dir.path());
        QDir(s.dir.path()).mkpath(QStringLiteral("Data"));
        QDir(s.dir.path()).mkpath(QStringLiteral("source/DeskTopBG"));
        s.pictures = s.dir.path() + QStringLiteral("/source/DeskTopBG/");
        QFile jpg(s.pictures + QStringLiteral("Big.jpg"));
        jpg.open(QIODevice::WriteOnly);
        jpg.write(JpegCodec::encode(photo(3840, 2160), 90));
        jpg.close();
        JpgToBmp(jpg.fileName()); // as the picture window adds it
        s.background = *BmpFile::read(s.pictures + QStringLiteral("Big.bmp"));
        TextFile::writeLines(ProgramFolder::path(QStringLiteral("Data\\BGPicList.ini")),
                             {QStringLiteral("Big.bmp"), QStringLiteral("Big.bmp")});

        s.panel = std::make_unique<QWidget>();
        s.panel->resize(594, 445);
        s.panel->setAutoFillBackground(true);
        auto *grid = new QGridLayout(s.panel.get());
        for (int i = 0; i < 6; ++i) {
            auto *box = new QTextEdit(s.panel.get());
            box->setPlainText(
                QStringLiteral(
                    "周%1：上午 9:00 项目例会\n下午 交周报，整理下周计划。\n晚上 健身一小时")
                    .arg(i + 1));
            grid->addWidget(box, i / 3, i % 3);
        }
        s.panel->show();
        TDeskBGSetFrm::setInstaller([](const QString &) {
            return DesktopWallpaper::Result{true, {}};
        });
        return s;
    }();
    return s;
}

double peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

void BM_FullApply(benchmark::State &state)
{
    setup();
    TWallpaperFlow flow;
    flow.LoadPicBGList(false);
    flow.ShowSetBgInfo = false;
    for (auto _ : state) {
        const TWallpaperFlow::ApplyResult r = flow.applyToDesktop(setup().panel.get());
        if (!r.ok) state.SkipWithError(r.message.toUtf8().constData());
    }
    state.counters["peak_rss_MB"] = peakMegabytes();
}
BENCHMARK(BM_FullApply)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Blend(benchmark::State &state)
{
    QImage content = setup().panel->grab().toImage();
    QImage background = setup().background.copy();
    for (auto _ : state) {
        const MixResult r = TMixPicFrm::MixPicture(content, background, 30, 50);
        benchmark::DoNotOptimize(r.ok);
    }
}
BENCHMARK(BM_Blend)->Unit(benchmark::kMillisecond);

void BM_Capture(benchmark::State &state)
{
    const QString path = setup().pictures + QStringLiteral("Content.bmp");
    for (auto _ : state)
        benchmark::DoNotOptimize(SaveContentPicture(setup().panel.get(), path));
}
BENCHMARK(BM_Capture)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_JpegEncode4K(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(JpegCodec::encode(setup().background, 90));
}
BENCHMARK(BM_JpegEncode4K)->Unit(benchmark::kMillisecond);

void BM_JpgToBmp4K(benchmark::State &state)
{
    const QString jpg = setup().pictures + QStringLiteral("Big.jpg");
    for (auto _ : state)
        benchmark::DoNotOptimize(JpgToBmp(jpg));
}
BENCHMARK(BM_JpgToBmp4K)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Bmp32Write4K(benchmark::State &state)
{
    const QString path = setup().pictures + QStringLiteral("Mix.bmp");
    for (auto _ : state)
        benchmark::DoNotOptimize(BmpFile::write(setup().background, path, 32));
}
BENCHMARK(BM_Bmp32Write4K)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
