// Runs the notebook window from a program folder and uses it as a person would, saving a
// picture of the window after each step. Not a test: the pictures are for looking at.
//   kq_mainwindow_shots FOLDER OUT_PREFIX type   type notes on several days, switch weeks
//   kq_mainwindow_shots FOLDER OUT_PREFIX show   start, show the week of 2011-06-29, picture
// FOLDER must hold Data/UserData.db. It prints the time from the process start to the first
// exposed window.

#include "chncalendar.h"
#include "mainfrm.h"
#include "notebookapp.h"
#include "programfolder.h"
#include "weeklist.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QInputMethodEvent>
#include <QTest>

#include <cstdio>
#include <unistd.h>

namespace
{

// Seconds since the process started, from /proc.
double secondsSinceProcessStart()
{
    QFile stat(QStringLiteral("/proc/self/stat"));
    QFile uptime(QStringLiteral("/proc/uptime"));
    if (!stat.open(QIODevice::ReadOnly) || !uptime.open(QIODevice::ReadOnly)) return -1;
    const QByteArray s = stat.readAll();
    const QList<QByteArray> fields = s.mid(s.lastIndexOf(')') + 2).split(' ');
    const double startTicks = fields.value(19).toDouble(); // field 22 of the whole line
    const double up = uptime.readAll().split(' ').value(0).toDouble();
    return up - startTicks / double(sysconf(_SC_CLK_TCK));
}

void type(QWidget *box, const QString &text)
{
    box->setFocus(Qt::MouseFocusReason);
    for (QChar c : text) {
        if (c == QLatin1Char('\n')) {
            QTest::keyClick(box, Qt::Key_Return);
        } else if (c.unicode() < 128) {
            QTest::keyClick(box, c.toLatin1());
        } else {
            QInputMethodEvent commit;
            commit.setCommitString(QString(c));
            QApplication::sendEvent(box, &commit);
        }
    }
}

void shot(TMainFrm *frm, const QString &prefix, const char *name)
{
    QTest::qWait(150);
    const QString file = prefix + QLatin1String(name) + QStringLiteral(".png");
    frm->grab().save(file);
    std::printf("wrote %s\n", qPrintable(file));
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4) {
        std::fprintf(stderr, "usage: kq_mainwindow_shots FOLDER OUT_PREFIX type|show\n");
        return 2;
    }
    ProgramFolder::setRoot(args[1]);
    const QString prefix = args[2];
    TNotebookApp::initApplication();
    TNotebookApp notebook;
    if (notebook.start() != TNotebookApp::Outcome::Running) return 1;
    TMainFrm *frm = notebook.MainFrm();
    frm->show();
    if (!QTest::qWaitForWindowExposed(frm)) return 1;
    std::printf("first shown after %.0f ms\n", secondsSinceProcessStart() * 1000);
    // Only the focused box draws its caret.
    frm->activateWindow();
    if (!QTest::qWaitForWindowActive(frm)) std::printf("window not active\n");
    QTest::qWait(500); // the strip's page

    const auto at = [&](int y, int m, int d) {
        frm->chnRili()->setDateTime(ValueOfDate(QDate(y, m, d)));
    };
    if (args[3] == QLatin1String("type")) {
        shot(frm, prefix, "0-start");
        at(2011, 6, 29);
        type(frm->redt(1), QStringLiteral("周例会 9:30\n整理上周报告"));
        type(frm->redt(3), QStringLiteral("给客户回电话√\n买菜：西红柿、鸡蛋"));
        type(frm->redt(5), QStringLiteral("交房租"));
        type(frm->redt(6), QStringLiteral("周六爬山，周日看望父母"));
        shot(frm, prefix, "1-week-typed");
        at(2011, 7, 5);
        type(frm->redt(2), QStringLiteral("下一周：体检"));
        shot(frm, prefix, "2-next-week");
        at(2011, 7, 3);
        shot(frm, prefix, "3-back-sunday");
    } else {
        at(2011, 6, 29);
        shot(frm, prefix, "restart");
        for (int n = 1; n <= 6; ++n)
            std::printf("box %d: %s\n", n, qPrintable(frm->redt(n)->toPlainText()));
    }
    return 0;
}
