// The cost of one keystroke's save, and the start-up time to the first shown window.
//   bench_notestore                        all benchmarks
//   bench_notestore --startup-child DIR T  (internal) start the notebook in DIR, report the
//                                          time from T (CLOCK_MONOTONIC ns) to its first paint

#include "dm.h"
#include "mainfrm.h"
#include "notebookapp.h"
#include "programfolder.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalBlocker>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextCharFormat>
#include <QTextCursor>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <memory>
#include <vector>

namespace
{

qint64 monotonicNs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return qint64(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

QString programFolderWithDatabase(QTemporaryDir &dir)
{
    QDir(dir.path()).mkpath(QStringLiteral("Data"));
    // The empty database the build makes, beside bench/ in the build folder.
    QFile::copy(QCoreApplication::applicationDirPath() +
                    QStringLiteral("/../data/pristine/UserData.db"),
                dir.filePath(QStringLiteral("Data/UserData.db")));
    return dir.path();
}

// About `bytes` of UTF-8 text in runs of Chinese and Latin text, every fourth run red and
// bold, in paragraphs of some 40 characters.
void fillBox(TNoteBox *box, int bytes)
{
    box->clear();
    QTextCursor cursor(box->document());
    QTextCharFormat plain, marked;
    marked.setForeground(QColor(255, 0, 0));
    marked.setFontWeight(QFont::Bold);
    const QString chinese = QStringLiteral("今天下午三点开会讨论周报");
    const QString latin = QStringLiteral("meeting 15:00 ");
    int written = 0, run = 0, column = 0;
    while (written < bytes) {
        const QString &text = run % 2 ? latin : chinese;
        cursor.insertText(text, run % 4 == 3 ? marked : plain);
        written += text.toUtf8().size();
        column += text.size();
        if (column > 40) {
            cursor.insertBlock();
            column = 0;
        }
        ++run;
    }
}

struct SaveFixture {
    QTemporaryDir dir;
    std::unique_ptr<TNotebookApp> app;
    TMainFrm *frm = nullptr;

    SaveFixture(int bytes, const char *synchronous)
    {
        ProgramFolder::setRoot(programFolderWithDatabase(dir));
        app = std::make_unique<TNotebookApp>();
        if (app->start() != TNotebookApp::Outcome::Running) return;
        frm = app->MainFrm();
        // Filled after the first show (its calendar change reloads the week) with the change
        // events blocked, so that the filling itself saves nothing.
        frm->show();
        QCoreApplication::processEvents();
        for (int n = 1; n <= 6; ++n) {
            const QSignalBlocker quiet(frm->redt(n));
            fillBox(frm->redt(n), bytes);
        }
        QSqlQuery(QSqlDatabase::database(app->DM()->connectionName()))
            .exec(QStringLiteral("pragma synchronous = ") + QLatin1String(synchronous));
        frm->SaveWeekNotes(); // the rows exist from here on, as after the first keystroke
    }
    ~SaveFixture()
    {
        app.reset();
        ProgramFolder::setRoot({});
    }
};

void reportPercentiles(benchmark::State &state, std::vector<double> &ms)
{
    if (ms.empty()) return;
    std::sort(ms.begin(), ms.end());
    const auto at = [&](double q) { return ms[std::min(ms.size() - 1, size_t(q * ms.size()))]; };
    state.counters["p50_ms"] = at(0.50);
    state.counters["p99_ms"] = at(0.99);
    state.counters["max_ms"] = ms.back();
}

// One SaveWeekNotes of a week whose rows exist: six RTF captures, six selects and updates.
void saveWeek(benchmark::State &state, const char *synchronous)
{
    SaveFixture fixture(int(state.range(0)), synchronous);
    if (!fixture.frm) {
        state.SkipWithError("the notebook did not start");
        return;
    }
    std::vector<double> ms;
    int i = 0;
    for (auto _ : state) {
        // A keystroke's worth of change, so that every save writes new content.
        TNoteBox *box = fixture.frm->redt(i % 6 + 1);
        {
            const QSignalBlocker quiet(box); // its own change event would save once more
            QTextCursor(box->document()).insertText(QStringLiteral("字"));
        }
        const auto start = std::chrono::steady_clock::now();
        fixture.frm->SaveWeekNotes();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(took.count());
        ms.push_back(took.count() * 1000);
        ++i;
    }
    if (!fixture.frm->storeNotice().isEmpty()) state.SkipWithError("a save failed");
    reportPercentiles(state, ms);
    state.counters["rtf_bytes_per_box"] = double(fixture.frm->redt(1)->saveDocument().size());
}

void BM_SaveWeekNotes_Normal(benchmark::State &state)
{
    saveWeek(state, "NORMAL");
}
void BM_SaveWeekNotes_Full(benchmark::State &state)
{
    saveWeek(state, "FULL");
}
// The RTF capture of the six boxes alone, the part of a save outside the database.
void BM_CaptureWeek(benchmark::State &state)
{
    SaveFixture fixture(int(state.range(0)), "FULL");
    if (!fixture.frm) {
        state.SkipWithError("the notebook did not start");
        return;
    }
    for (auto _ : state)
        for (int n = 1; n <= 6; ++n)
            benchmark::DoNotOptimize(fixture.frm->redt(n)->saveDocument());
}
BENCHMARK(BM_CaptureWeek)->Arg(2048)->Arg(51200)->Unit(benchmark::kMillisecond);

BENCHMARK(BM_SaveWeekNotes_Normal)
    ->Arg(2048)
    ->Arg(51200)
    ->UseManualTime()
    ->Iterations(2000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveWeekNotes_Full)
    ->Arg(2048)
    ->Arg(51200)
    ->UseManualTime()
    ->Iterations(2000)
    ->Unit(benchmark::kMillisecond);

// From the process start to the first paint of the main window, in a fresh process each time
// (the database already holds a week of notes).
void BM_StartUp(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString folder = programFolderWithDatabase(dir);
    std::vector<double> ms;
    for (auto _ : state) {
        QProcess child;
        const qint64 start = monotonicNs();
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--startup-child"), folder, QString::number(start)});
        if (!child.waitForFinished(30000) || child.exitCode() != 0) {
            state.SkipWithError("the notebook did not start");
            return;
        }
        const double took = child.readAllStandardOutput().trimmed().toDouble() / 1e9;
        state.SetIterationTime(took);
        ms.push_back(took * 1000);
    }
    reportPercentiles(state, ms);
}
BENCHMARK(BM_StartUp)->UseManualTime()->Iterations(15)->Unit(benchmark::kMillisecond);

int startupChild(int argc, char *argv[])
{
    const qint64 spawned = QByteArray(argv[3]).toLongLong();
    QApplication app(argc, argv);
    TNotebookApp::initApplication();
    ProgramFolder::setRoot(QString::fromLocal8Bit(argv[2]));
    TNotebookApp notebook;
    if (notebook.start() != TNotebookApp::Outcome::Running) return 1;
    struct FirstPaint : QObject {
        qint64 spawned;
        explicit FirstPaint(qint64 s) : spawned(s) {}
        bool eventFilter(QObject *, QEvent *event) override
        {
            if (event->type() == QEvent::Paint && spawned) {
                std::printf("%lld\n", static_cast<long long>(monotonicNs() - spawned));
                std::fflush(stdout);
                spawned = 0;
                QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
            }
            return false;
        }
    } firstPaint(spawned);
    notebook.MainFrm()->installEventFilter(&firstPaint);
    notebook.MainFrm()->show();
    return app.exec();
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc == 4 && QByteArray(argv[1]) == "--startup-child") return startupChild(argc, argv);
    QApplication app(argc, argv);
    TNotebookApp::initApplication();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
