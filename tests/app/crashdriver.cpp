// Runs the notebook from its own folder and types through the six boxes, one character per
// event-loop turn, reporting each character on stdout once its keystroke has returned. The
// crash test kills it with SIGKILL mid-typing.
//   kq_crashdriver          type until killed
//   kq_crashdriver --print  print the loaded boxes and end

#include "mainfrm.h"
#include "notebookapp.h"
#include "weeklist.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QTest>
#include <QTimer>

#include <cstdio>

namespace
{
void report(const QByteArray &line)
{
    std::fwrite(line.constData(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}
} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    TNotebookApp::initApplication();
    TNotebookApp notebook;
    if (notebook.start() != TNotebookApp::Outcome::Running) {
        report("failed");
        return 2;
    }
    TMainFrm *frm = notebook.MainFrm();
    frm->show();

    if (app.arguments().contains(QStringLiteral("--print"))) {
        QTimer::singleShot(0, &app, [&] {
            for (int n = 1; n <= 6; ++n)
                report("box " + QByteArray::number(n) + ' ' +
                       frm->redt(n)->toPlainText().toUtf8().toHex());
            app.quit();
        });
        return app.exec();
    }

    QByteArray keys = "keys";
    for (int i = 0; i < 6; ++i)
        keys += ' ' + WeekList[i].DateKey.toLatin1();
    report(keys);

    const QString text = QStringLiteral("今天写周记：abc 123，中文√×█ 记事");
    int count = 0;
    QTimer typist;
    QObject::connect(&typist, &QTimer::timeout, &app, [&] {
        const int n = (count / 7) % 6 + 1;
        TNoteBox *box = frm->redt(n);
        if (!box->hasFocus()) box->setFocus(Qt::TabFocusReason);
        const QChar c = text.at(count % text.size());
        if (c.unicode() < 128) {
            QTest::keyClick(box, c.toLatin1());
        } else {
            QInputMethodEvent commit;
            commit.setCommitString(QString(c));
            QApplication::sendEvent(box, &commit);
        }
        report("typed " + QByteArray::number(n) + ' ' + QString(c).toUtf8().toHex());
        ++count;
    });
    QTimer::singleShot(0, &app, [&] {
        frm->activateWindow();
        typist.start(0);
    });
    return app.exec();
}
