// Reads any bytes as a note box's stored document. Besides crashes and hangs it checks that
// whatever was read survives a write and a second read unchanged.
// Seeds: fuzz/corpus/rtf/; dictionary of control words: -dict=fuzz/rtf.dict.

#include "rtfcodec.h"

#include <QFont>
#include <QGuiApplication>
#include <QTextDocument>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace
{
void setUp(QTextDocument &doc)
{
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(15);
    doc.setDefaultFont(font);
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Lives until the process ends: destroying it after Qt's own statics crashes at exit.
    static auto *app = new QGuiApplication(*argc, *argv);
    (void)app;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QTextDocument doc;
    setUp(doc);
    Rtf::read(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)), doc);
    const QByteArray first = Rtf::write(doc);

    QTextDocument again;
    setUp(again);
    if (!Rtf::read(first, again) || again.toRawText() != doc.toRawText() ||
        Rtf::write(again) != first) {
        std::fprintf(stderr, "round trip changed the document:\n%s\n", first.constData());
        std::abort();
    }
    return 0;
}
