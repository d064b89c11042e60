// The note store writes six boxes on every keystroke, so write() is on the typing path.

#include "rtfcodec.h"

#include <QFont>
#include <QGuiApplication>
#include <QTextCursor>
#include <QTextDocument>

#include <benchmark/benchmark.h>

namespace
{

// A note of about `textBytes` bytes of UTF-8 text: Chinese lines with marks, times, Latin
// words, and a change of bold, colour, font or size every few words.
void fillNote(QTextDocument &doc, qsizetype textBytes)
{
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(15);
    doc.setDefaultFont(font);
    const QStringList words{QStringLiteral("今天上午"),   QStringLiteral("√ 完成报告"),
                            QStringLiteral(" 09:05 "),    QStringLiteral("× 取消会议"),
                            QStringLiteral("█"),          QStringLiteral("Project review"),
                            QStringLiteral("，联系客户"), QStringLiteral("下周三前提交。")};
    QTextCharFormat plain;
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    QTextCharFormat red;
    red.setForeground(QColor(255, 0, 0));
    QTextCharFormat hei;
    hei.setFontFamilies({QStringLiteral("黑体")});
    hei.setFontPointSize(14);
    const QTextCharFormat formats[] = {plain, bold, plain, red, plain, hei};
    QTextCursor cursor(&doc);
    qsizetype bytes = 0;
    for (int i = 0; bytes < textBytes; ++i) {
        const QString &w = words[i % words.size()];
        cursor.insertText(w, formats[i % std::size(formats)]);
        bytes += w.toUtf8().size();
        if (i % 12 == 11) {
            cursor.insertBlock();
            ++bytes;
        }
    }
}

void BM_RtfWrite(benchmark::State &state)
{
    QTextDocument doc;
    fillNote(doc, state.range(0));
    qsizetype size = 0;
    for (auto _ : state) {
        const QByteArray rtf = Rtf::write(doc);
        size = rtf.size();
        benchmark::DoNotOptimize(rtf.constData());
    }
    state.counters["rtf_bytes"] = double(size);
}

void BM_RtfRead(benchmark::State &state)
{
    QTextDocument source;
    fillNote(source, state.range(0));
    const QByteArray rtf = Rtf::write(source);
    QTextDocument doc;
    doc.setDefaultFont(source.defaultFont());
    for (auto _ : state)
        benchmark::DoNotOptimize(Rtf::read(rtf, doc));
    state.counters["rtf_bytes"] = double(rtf.size());
}

} // namespace

BENCHMARK(BM_RtfWrite)->Arg(2 * 1024)->Arg(50 * 1024)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RtfRead)->Arg(2 * 1024)->Arg(50 * 1024)->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
