// The real notebook window, started the way the program starts it, on a temporary program
// folder.

#include "programfixture.h"

#include "appmessage.h"
#include "bmpfile.h"
#include "chncalendar.h"
#include "dategrid.h"
#include "deskbgsetfrm.h"
#include "formsize.h"
#include "loginfile.h"
#include "loginlock.h"
#include "mainfrm.h"
#include "notebookapp.h"
#include "textfile.h"
#include "untpwset.h"
#include "wallpaperui.h"
#include "weblinks.h"
#include "weblinkview.h"
#include "webstrip.h"
#include "weeklist.h"

#include <QApplication>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace
{

double value(int y, int m, int d)
{
    return ValueOfDate(QDate(y, m, d));
}

QStringList lines(const QString &path)
{
    return TextFile::readLines(path).value_or(QStringList{u"<missing>"_qs});
}

QByteArray bytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

bool put(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(content) == content.size();
}

QRect primaryScreen()
{
    return QGuiApplication::primaryScreen()->geometry();
}

// The bounds of a first run: the minimum size, centred within the screen height less 30.
QRect firstRunBounds()
{
    const QRect s = primaryScreen();
    return {(s.width() - 906) / 2, (s.height() - 30 - 540) / 2, 906, 540};
}

QWidget *child(QWidget *w, const char *name)
{
    QWidget *c = w->findChild<QWidget *>(QLatin1String(name));
    if (!c) qWarning("no child %s", name);
    return c;
}

// Which of the six close and minimise pictures are shown.
QList<bool> titleState(QWidget *frm)
{
    QList<bool> state;
    for (const char *name : {"img_close_normal", "img_close_highlight", "img_close_down",
                             "img_mini_normal", "img_mini_highlight", "img_mini_down"})
        state << child(frm, name)->isVisibleTo(frm);
    return state;
}

// A popup that opens within the wait is recorded and closed.
QString popupDuring(const std::function<void()> &action)
{
    QString shown;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (QWidget *popup = QApplication::activePopupWidget()) {
            shown = popup->objectName().isEmpty() ? u"<menu>"_qs : popup->objectName();
            popup->close();
        }
    });
    closer.start(10);
    action();
    QTest::qWait(150);
    return shown;
}

} // namespace

// Records the addresses QDesktopServices is asked to open.
class Opened : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl &url) { urls << url; }
};

class TstMainWindow : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        TNotebookApp::initApplication();
        AppMessage::setHook(
            [this](QWidget *, const QString &text, const QString &) { messages << text; });
        TMainFrm::setTerminator([this] { ++ends; });
    }
    void init()
    {
        messages.clear();
        ends = 0;
    }

    void firstRunCreatesTheSettingsFiles()
    {
        ProgramFixture folder;
        TNotebookApp app;
        QCOMPARE(app.start(), TNotebookApp::Outcome::Running);
        TMainFrm *frm = app.MainFrm();
        const QString data = folder.dir.filePath("Data/");
        QCOMPARE(bytes(data + "configSetBg.ini"), QByteArray("1\r\n"));
        QCOMPARE(lines(data + "BGPicList.ini").size(), 2);
        const QRect bounds = firstRunBounds();
        const QString month = QString::number(QDate::currentDate().month());
        QCOMPARE(lines(data + "FormSize.ini"),
                 (QStringList{"1", "906", "540", QString::number(bounds.x()),
                              QString::number(bounds.y()), month}));
        QVERIFY(!QFileInfo::exists(data + "SetTrans.ini")); // read at the first show
        QCOMPARE(frm->geometry(), bounds);
        QVERIFY(!frm->isVisible());

        frm->show();
        QVERIFY(QTest::qWaitForWindowExposed(frm));
        QCOMPARE(bytes(data + "SetTrans.ini"), QByteArray("1\r\n"));
        QVERIFY(frm->windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(!frm->windowIcon().isNull());
        QCOMPARE(frm->minimumSize(), QSize(906, 540));
        TWeekList today;
        BuildWeek(today, ValueOfDateTime(QDateTime::currentDateTime()));
        QCOMPARE(WeekList[0].DateKey, today[0].DateKey);
        QCOMPARE(child(frm, "lblDateTime")->property("text").toString(),
                 DateCaption(QDate::currentDate()));
        QCOMPARE(frm->monthStr(), month);
        QVERIFY2(messages.isEmpty(), qPrintable(messages.value(0)));
        QCOMPARE(folder.rows().size(), 0); // nothing typed, nothing stored
    }

    void storedBounds_data()
    {
        QTest::addColumn<QStringList>("file");
        QTest::addColumn<QRect>("expected"); // null: moved onto the primary screen
        QTest::newRow("restored") << QStringList{"2", "1000", "600", "30", "40", "7"}
                                  << QRect(30, 40, 1000, 600);
        QTest::newRow("too small")
            << QStringList{"1", "800", "500", "10", "20", "7"} << QRect(10, 20, 906, 540);
        QTest::newRow("partly outside stays")
            << QStringList{"1", "906", "540", "-300", "-20", "7"} << QRect(-300, -20, 906, 540);
        QTest::newRow("right of every screen")
            << QStringList{"1", "906", "540", "5000", "100", "7"} << QRect();
        QTest::newRow("above every screen")
            << QStringList{"1", "906", "540", "0", "-3000", "7"} << QRect();
        QTest::newRow("only a sliver shows")
            << QStringList{"1", "906", "540", "-900", "-530", "7"} << QRect();
    }
    void storedBounds()
    {
        QFETCH(QStringList, file);
        QFETCH(QRect, expected);
        ProgramFixture folder;
        const QString path = folder.dir.filePath("Data/FormSize.ini");
        QVERIFY(TextFile::writeLines(path, file));
        const QByteArray before = bytes(path);
        TNotebookApp app;
        QCOMPARE(app.start(), TNotebookApp::Outcome::Running);
        TMainFrm *frm = app.MainFrm();
        QVERIFY(messages.isEmpty());
        QCOMPARE(frm->styleNo(), file[0].toInt());
        QCOMPARE(frm->monthStr(), u"7"_qs);
        QCOMPARE(child(frm, "lblMonth")->property("text").toString(), u"7"_qs);
        if (expected.isNull()) {
            // As much of the window as fits is on the primary screen, at its stored size.
            const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
            const QRect shown = screen.intersected(frm->geometry());
            QCOMPARE(frm->size(), QSize(906, 540));
            QCOMPARE(shown.width(), qMin(906, screen.width()));
            QCOMPARE(shown.height(), qMin(540, screen.height()));
        } else {
            QCOMPARE(frm->geometry(), expected);
        }
        QCOMPARE(bytes(path), before); // read only
    }

    void damagedSettings_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("reported");
        QTest::addColumn<int>("styleNo");   // FStyleNo afterwards
        QTest::addColumn<QString>("month"); // FMonthStr afterwards; "now": the current month
        QTest::addColumn<QString>("label"); // lblMonth afterwards
        QTest::addColumn<bool>("applied");  // the stored bounds 1000 x 600 at 30, 40
        QTest::newRow("line 3 not a number")
            << "FormSize.ini" << QByteArray("3\r\n1000\r\nbig\r\n30\r\n40\r\n7\r\n") << true << 3
            << "now"
            << "4" << false;
        QTest::newRow("line 5 missing")
            << "FormSize.ini" << QByteArray("2\r\n1000\r\n600\r\n30\r\n") << true << 2 << "now"
            << "4" << false;
        QTest::newRow("line 1 empty")
            << "FormSize.ini" << QByteArray("\r\n1000\r\n600\r\n30\r\n40\r\n") << true << 1 << "now"
            << "4" << false;
        QTest::newRow("line 6 missing")
            << "FormSize.ini" << QByteArray("2\r\n1000\r\n600\r\n30\r\n40\r\n") << false << 2
            << "now"
            << "4" << true;
        QTest::newRow("line 6 not a number")
            << "FormSize.ini" << QByteArray("2\r\n1000\r\n600\r\n30\r\n40\r\nMay\r\n") << false << 2
            << "May"
            << "4" << true;
        // The picture list and the bounds are not read for this start.
        QTest::newRow("configSetBg.ini not a number")
            << "configSetBg.ini" << QByteArray("yes\r\n") << true << 1 << "now"
            << "4" << false;
        // "<dir>": a folder in the file's place, which cannot be read; the bounds are not read.
        QTest::newRow("BGPicList.ini unreadable")
            << "BGPicList.ini" << QByteArray("<dir>") << true << 1 << "now"
            << "4" << false;
    }
    void damagedSettings()
    {
        QFETCH(QString, fileName);
        QFETCH(QByteArray, content);
        QFETCH(bool, reported);
        QFETCH(int, styleNo);
        QFETCH(QString, month);
        QFETCH(QString, label);
        QFETCH(bool, applied);
        ProgramFixture folder;
        const QString data = folder.dir.filePath("Data/");
        if (fileName != u"FormSize.ini")
            QVERIFY(
                TextFile::writeLines(data + "FormSize.ini", {"2", "1000", "600", "30", "40", "7"}));
        const bool folderInPlace = content == "<dir>";
        QVERIFY(folderInPlace ? QDir().mkpath(data + fileName) : put(data + fileName, content));
        const QByteArray formSize = bytes(data + "FormSize.ini");
        TNotebookApp app;
        QCOMPARE(app.start(), TNotebookApp::Outcome::Running);
        TMainFrm *frm = app.MainFrm();
        QCOMPARE(messages.size(), reported ? 1 : 0);
        if (reported) QVERIFY(messages[0].contains(fileName));
        QCOMPARE(frm->styleNo(), styleNo);
        QCOMPARE(frm->monthStr(),
                 month == u"now" ? QString::number(QDate::currentDate().month()) : month);
        QCOMPARE(child(frm, "lblMonth")->property("text").toString(), label);
        if (applied) {
            QCOMPARE(frm->geometry(), QRect(30, 40, 1000, 600));
        } else {
            QCOMPARE(frm->size(), QSize(913, 540)); // the designed size, at least the minimum
            QCOMPARE(frm->x(), (primaryScreen().width() - 913) / 2);
        }
        // Nothing is repaired, and the rest of the window works.
        QCOMPARE(bytes(data + "FormSize.ini"), formSize);
        if (!folderInPlace) QCOMPARE(bytes(data + fileName), content);
        QCOMPARE(QFileInfo::exists(data + "BGPicList.ini"), fileName != u"configSetBg.ini");
        frm->show();
        QVERIFY(QTest::qWaitForWindowExposed(frm));
        frm->redt(2)->setFocus();
        QTest::keyClicks(frm->redt(2), "ok");
        QCOMPARE(folder.row(WeekList[1].DateKey)->plain, u"ok"_qs);
    }

    // The exit item ends at once and writes no bounds; the close button writes them first, and
    // a file that cannot be written keeps the program open.
    void closeAndExit()
    {
        ProgramFixture folder;
        const QString path = folder.dir.filePath("Data/FormSize.ini");
        QVERIFY(TextFile::writeLines(path, {"1", "950", "560", "20", "30", "7"}));
        const QByteArray before = bytes(path);
        TNotebookApp app;
        QCOMPARE(app.start(), TNotebookApp::Outcome::Running);
        TMainFrm *frm = app.MainFrm();
        frm->show();
        QVERIFY(QTest::qWaitForWindowExposed(frm));
        frm->setGeometry(60, 70, 1000, 620);

        frm->popSysset()->findChild<QAction *>("N_ExitPrj")->trigger();
        QCOMPARE(ends, 1);
        QCOMPARE(bytes(path), before);

        // The hidden controls' only lasting effect: lines 1 and 6.
        frm->findChild<QPushButton *>("btnC")->click();
        frm->findChild<QMenu *>("ppMonth")->findChild<QAction *>("N_Month11")->trigger();
        frm->img_close_highlightClick();
        QCOMPARE(ends, 2);
        QCOMPARE(lines(path), (QStringList{"3", "1000", "620", "60", "70", "11"}));

        QVERIFY(QFile::remove(path));
        QVERIFY(QDir().mkdir(path)); // cannot be replaced
        frm->img_close_highlightClick();
        QCOMPARE(ends, 2);
        QCOMPARE(messages.size(), 1);
        QVERIFY(messages[0].contains(u"FormSize.ini"_qs));
        QVERIFY(frm->isVisible());

        QVERIFY(QDir().rmdir(path));
        QVERIFY(put(path, "old\r\n"));
        QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
        frm->img_close_highlightClick();
        QCOMPARE(ends, 2);
        QCOMPARE(bytes(path), QByteArray("old\r\n"));
    }

    // The month label follows the hidden edit only after the first show.
    void monthSelector()
    {
        ProgramFixture folder;
        TNotebookApp app;
        QCOMPARE(app.start(), TNotebookApp::Outcome::Running);
        TMainFrm *frm = app.MainFrm();
        auto *edit = frm->findChild<QLineEdit *>("edtMonth");
        auto *label = frm->findChild<QLabel *>("lblMonth");
        QVERIFY(!edit->isVisibleTo(frm) && !label->isVisibleTo(frm));
        QCOMPARE(edit->text(), QString::number(QDate::currentDate().month()));
        edit->setText("9");
        QCOMPARE(label->text(), u"4"_qs);
        frm->show();
        QVERIFY(QTest::qWaitForWindowExposed(frm));
        edit->setText("10");
        QCOMPARE(label->text(), u"10"_qs);
        QCOMPARE(frm->monthStr(), u"10"_qs);
        QStringList captions;
        for (QAction *a : frm->findChild<QMenu *>("ppMonth")->actions())
            captions << a->objectName() + '=' + a->text();
        QCOMPARE(captions.first(), u"N_Month1=1月"_qs);
        QCOMPARE(captions.last(), u"N_Month12=12月"_qs);
        QCOMPARE(captions.size(), 12);
        frm->findChild<QPushButton *>("btnE")->click();
        QCOMPARE(frm->styleNo(), 5);
        QVERIFY(frm->findChild<QPushButton *>("btnE")->styleSheet().contains(u"red"_qs));
        QVERIFY(frm->findChild<QPushButton *>("btnA")->styleSheet().contains(u"black"_qs));
    }

    void titleButtonStates_data()
    {
        QTest::addColumn<QByteArray>("handler");
        QTest::addColumn<QList<bool>>("state"); // close n/h/d, mini n/h/d
        const QList<bool> rest{true, false, false, true, false, false};
        QTest::newRow("close move") << QByteArray("img_close_normalMouseMove")
                                    << QList<bool>{false, true, false, true, false, false};
        QTest::newRow("close down") << QByteArray("img_close_highlightMouseDown")
                                    << QList<bool>{false, false, true, true, false, false};
        QTest::newRow("mini move") << QByteArray("img_mini_normalMouseMove")
                                   << QList<bool>{true, false, false, false, true, false};
        QTest::newRow("mini down") << QByteArray("img_mini_highlightMouseDown")
                                   << QList<bool>{true, false, false, false, false, true};
        for (const char *h :
             {"imgBGMouseMove", "img_mini_highlightClick", "img_max_normalMouseMove",
              "img_max_highlightMouseDown", "img_max_highlightClick"})
            QTest::newRow(h) << QByteArray(h) << rest;
    }
    void titleButtonStates()
    {
        QFETCH(QByteArray, handler);
        QFETCH(QList<bool>, state);
        ProgramFixture folder;
        TNotebookApp app;
        QCOMPARE(app.start(), TNotebookApp::Outcome::Running);
        TMainFrm *frm = app.MainFrm();
        frm->show();
        QVERIFY(QTest::qWaitForWindowExposed(frm));
        for (const char *before :
             {"imgBGMouseMove", "img_close_highlightMouseDown", "img_mini_highlightMouseDown"}) {
            QVERIFY(QMetaObject::invokeMethod(frm, before));
            QVERIFY(QMetaObject::invokeMethod(frm, handler.constData()));
            QCOMPARE(titleState(frm), state);
        }
        for (const char *max : {"img_max_normal", "img_max_highlight", "img_max_down"})
            QVERIFY(!child(frm, max)->isVisibleTo(frm));
    }

    // The title buttons under real mouse events, kept at the top right as the window grows.
    void titleButtonsByMouse()
    {
        ProgramFixture folder;
        TNotebookApp app;
        QCOMPARE(app.start(), TNotebookApp::Outcome::Running);
        TMainFrm *frm = app.MainFrm();
        frm->show();
        QVERIFY(QTest::qWaitForWindowExposed(frm));
        frm->resize(1100, 600);
        QCOMPARE(child(frm, "img_close_normal")->geometry(), QRect(1100 - 40, 1, 39, 20));
        QCOMPARE(child(frm, "img_mini_normal")->pos(), QPoint(1100 - 69, 1));
        QCOMPARE(child(frm, "img_mini_highlight")->pos(), QPoint(1100 - 70, 1));

        QTest::mouseMove(child(frm, "img_mini_normal"), {10, 10});
        QTRY_COMPARE(titleState(frm), (QList<bool>{true, false, false, false, true, false}));
        QTest::mouseMove(child(frm, "img_close_normal"), {10, 10});
        QTRY_COMPARE(titleState(frm), (QList<bool>{false, true, false, true, false, false}));
        QTest::mousePress(child(frm, "img_close_highlight"), Qt::LeftButton, {}, {10, 10});
        QCOMPARE(titleState(frm), (QList<bool>{false, false, true, true, false, false}));
        QTest::mouseRelease(child(frm, "img_close_highlight"), Qt::LeftButton, {}, {10, 10});
        QCOMPARE(ends, 1);
        QCOMPARE(lines(folder.dir.filePath("Data/FormSize.ini")).mid(1, 2),
                 (QStringList{"1100", "600"}));

        // Minimised, the window stays on the task bar.
        QTest::mouseMove(child(frm, "img_mini_normal"), {10, 10});
        QTRY_VERIFY(child(frm, "img_mini_highlight")->isVisible());
        QTest::mouseClick(child(frm, "img_mini_highlight"), Qt::LeftButton, {}, {10, 10});
        QTRY_VERIFY(frm->windowState() & Qt::WindowMinimized);
        QVERIFY(frm->isVisible());
    }

    // The same through the window, so that the events take the routing of real ones: the press
    // hides the picture it lands on, and the release must still count as its click.
    void titleButtonsThroughTheWindow_data()
    {
        QTest::addColumn<QByteArray>("button");
        QTest::newRow("close") << QByteArray("close");
        QTest::newRow("minimise") << QByteArray("mini");
    }
    void titleButtonsThroughTheWindow()
    {
        QFETCH(QByteArray, button);
        ProgramFixture folder;
        TNotebookApp app;
        QCOMPARE(app.start(), TNotebookApp::Outcome::Running);
        TMainFrm *frm = app.MainFrm();
        frm->show();
        QVERIFY(QTest::qWaitForWindowExposed(frm));
        QWindow *window = frm->windowHandle();
        const QByteArray normal = "img_" + button + "_normal";
        const QPoint p = child(frm, normal.constData())->geometry().center();
        QTest::mouseMove(window, p - QPoint(0, 30));
        QTest::mouseMove(window, p);
        QTRY_VERIFY(child(frm, ("img_" + button + "_highlight").constData())->isVisible());
        QTest::mousePress(window, Qt::LeftButton, {}, p);
        QVERIFY(child(frm, ("img_" + button + "_down").constData())->isVisible());
        QTest::mouseRelease(window, Qt::LeftButton, {}, p);
        if (button == "close")
            QCOMPARE(ends, 1);
        else
            QTRY_VERIFY(frm->windowState() & Qt::WindowMinimized);
    }

    // Dragged by the background and sized from its edges; where the platform offers no system
    // move or resize (as here), the window follows the mouse itself.
    void dragAndResize()
    {
        ProgramFixture folder;
        TNotebookApp app;
        QCOMPARE(app.start(), TNotebookApp::Outcome::Running);
        TMainFrm *frm = app.MainFrm();
        frm->show();
        QVERIFY(QTest::qWaitForWindowExposed(frm));
        frm->setGeometry(50, 60, 906, 540);

        QWidget *bg = child(frm, "imgBG");
        QCOMPARE(bg->childAt(QPoint(300, 40)), nullptr);
        QCOMPARE(frm->childAt(QPoint(300, 40)), bg); // between the logo and the date
        QTest::mousePress(bg, Qt::LeftButton, {}, {300, 40});
        QTest::mouseMove(bg, {330, 60});
        QTest::mouseRelease(bg, Qt::LeftButton, {}, {330, 60});
        QTRY_COMPARE(frm->pos(), QPoint(80, 80));

        // The right edge and the bottom-right corner, within the outer three pixels.
        QWidget *right = frm->childAt(QPoint(905, 300));
        QVERIFY(right && right->objectName() == u"resizeGrip"_qs);
        QCOMPARE(right->cursor().shape(), Qt::SizeHorCursor);
        QTest::mousePress(right, Qt::LeftButton, {}, {1, 5});
        QTest::mouseMove(right, {101, 5});
        QTest::mouseRelease(right, Qt::LeftButton, {}, {101, 5});
        QTRY_COMPARE(frm->size(), QSize(1006, 540));
        QCOMPARE(frm->pnlRight()->width(), 1006 - 317 - 2);
        QWidget *corner = frm->childAt(QPoint(1004, 538));
        QVERIFY(corner && corner->objectName() == u"resizeGrip"_qs);
        QTest::mousePress(corner, Qt::LeftButton, {}, {5, 5});
        QTest::mouseMove(corner, {-195, 65}); // narrower than the minimum: held there
        QTest::mouseRelease(corner, Qt::LeftButton, {}, {-195, 65});
        QTRY_COMPARE(frm->size(), QSize(906, 600));
        QCOMPARE(frm->pos(), QPoint(80, 80));
        // The boxes are not covered by the band.
        QVERIFY(!frm->childAt(QPoint(880, 300))->objectName().startsWith(u"resize"_qs));
    }

    // Where every part of the window sits at the first-run size and after a resize.
    void layout_data()
    {
        QTest::addColumn<QSize>("window");
        QTest::addColumn<QRect>("pnlRight");
        QTest::addColumn<QList<int>>("separators");
        QTest::newRow("minimum") << QSize(906, 540) << QRect(317, 80, 587, 455)
                                 << QList<int>{195, 390};
        QTest::newRow("designed width")
            << QSize(913, 540) << QRect(317, 80, 594, 455) << QList<int>{197, 394};
        QTest::newRow("large") << QSize(1317, 700) << QRect(317, 80, 998, 615)
                               << QList<int>{332, 664};
    }
    void layout()
    {
        QFETCH(QSize, window);
        QFETCH(QRect, pnlRight);
        QFETCH(QList<int>, separators);
        ProgramFixture folder;
        TNotebookApp app;
        QCOMPARE(app.start(), TNotebookApp::Outcome::Running);
        TMainFrm *frm = app.MainFrm();
        frm->show();
        QVERIFY(QTest::qWaitForWindowExposed(frm));
        frm->resize(window);
        QCOMPARE(frm->size(), window);
        QCOMPARE(frm->pnlRight()->geometry(), pnlRight);
        QCOMPARE(child(frm->pnlRight(), "pnl_yearLine1")->x(), separators[0]);
        QCOMPARE(child(frm->pnlRight(), "pnl_yearLine2")->x(), separators[1]);
        QCOMPARE(frm->pnlLeft()->geometry(), QRect(2, 80, 311, 441));
        QCOMPARE(frm->chnRili()->geometry(), QRect(0, 0, 311, 253));
        QCOMPARE(frm->pnlWeb()->geometry(), QRect(2, 253, 298, 40));
        QCOMPARE(frm->pnlWeb()->view()->geometry(), QRect(-14, -19, 2013, 844));
        QCOMPARE(child(frm, "imgAddToDesk")->geometry(), QRect(62, 312, 176, 50));
        QCOMPARE(child(frm, "imgLogo")->geometry(), QRect(55, 11, 210, 56));
        QCOMPARE(child(frm, "lblDateTime")->pos(), QPoint(343, 19));
        const int dx = window.width() - 913;
        QCOMPARE(child(frm, "imgAppToDesk")->geometry(), QRect(825 + dx, 49, 84, 29));
        QCOMPARE(child(frm, "lblSet")->pos(), QPoint(761 + dx, 60));
        QCOMPARE(child(frm, "imgBG")->geometry(), frm->rect());
        // The boxes fill the columns between the separators.
        const QRect box3 = frm->redt(3)->geometry();
        QCOMPARE(box3.x(), separators[1] + 1);
        QCOMPARE(box3.width(), (pnlRight.width() - 5) / 3 - 4);
        QCOMPARE(frm->redt(6)->geometry().bottom() + 1, pnlRight.height() - 5);
    }

    void optionsMenu()
    {
        ProgramFixture folder;
        TNotebookApp app;
        QCOMPARE(app.start(), TNotebookApp::Outcome::Running);
        TMainFrm *frm = app.MainFrm();
        frm->show();
        QVERIFY(QTest::qWaitForWindowExposed(frm));
        auto *lblSet = frm->findChild<QLabel *>("lblSet");
        QCOMPARE(lblSet->text(), u"|  选项"_qs);
        QCOMPARE(lblSet->cursor().shape(), Qt::PointingHandCursor);
        QStringList items;
        for (QAction *a : frm->popSysset()->actions())
            items << a->objectName() + '=' + (a->isSeparator() ? u"-"_qs : a->text());
        QCOMPARE(items, (QStringList{
                            u"N_DataOut=内   容   导   出"_qs, u"N_BgTransparent=背景透明度调节"_qs,
                            u"N8=-"_qs, u"N7=登陆密码"_qs, u"N_help=帮助说明"_qs,
                            u"N_Submit=意见反馈"_qs, u"N4=-"_qs, u"N_ExitPrj=退出程序"_qs}));

        // It opens under the label's bottom-left corner.
        frm->move(-400, 0); // room for the menu on the small test screen
        QPoint at;
        const QString popup = popupDuring([&] {
            QTest::mouseClick(lblSet, Qt::LeftButton, {}, {5, 5});
            QTest::qWait(20);
            at = frm->popSysset()->pos();
        });
        QCOMPARE(popup, u"popSysset"_qs);
        QCOMPARE(at, lblSet->mapToGlobal(QPoint(0, lblSet->height())));

        // With no web host, the help items open the pages shipped in the program folder.
        Opened opened;
        QDesktopServices::setUrlHandler("file", &opened, "open");
        frm->popSysset()->findChild<QAction *>("N_help")->trigger();
        frm->popSysset()->findChild<QAction *>("N_Submit")->trigger();
        QDesktopServices::unsetUrlHandler("file");
        QCOMPARE(opened.urls, (QList<QUrl>{WebLinks::helpUrl(), WebLinks::feedbackUrl()}));
        QVERIFY(opened.urls[0].toLocalFile().startsWith(folder.dir.path()));
        QCOMPARE(ends, 0);
    }

    void transparencyColoursTheBoxes_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("full") << QByteArray("1\r\n")
                              << QApplication::palette().color(QPalette::Base);
        QTest::newRow("half") << QByteArray("0\r\n") << QColor(247, 247, 247);
    }
    void transparencyColoursTheBoxes()
    {
        QFETCH(QByteArray, file);
        QFETCH(QColor, colour);
        ProgramFixture folder;
        QVERIFY(put(folder.dir.filePath("Data/SetTrans.ini"), file));
        TNotebookApp app;
        QCOMPARE(app.start(), TNotebookApp::Outcome::Running);
        TMainFrm *frm = app.MainFrm();
        frm->show();
        QVERIFY(QTest::qWaitForWindowExposed(frm));
        for (int n = 1; n <= 6; ++n)
            QCOMPARE(frm->redt(n)->backgroundColor(), colour);
    }

    // The click takes the focus from the box first, so its week is saved before the calendar
    // moves to the other week; a Sunday marks the Saturday/Sunday band.
    void sundayClickInTheCalendar()
    {
        ProgramFixture folder;
        TNotebookApp app;
        QCOMPARE(app.start(), TNotebookApp::Outcome::Running);
        TMainFrm *frm = app.MainFrm();
        frm->show();
        QVERIFY(QTest::qWaitForWindowActive(frm));
        frm->chnRili()->setDateTime(value(2011, 7, 5));
        QCOMPARE(WeekList[0].DateKey, u"20110704"_qs);
        frm->redt(2)->setFocus(Qt::MouseFocusReason);
        QTest::keyClicks(frm->redt(2), "tue");

        QStringList order;
        connect(frm->redt(2), &TNoteBox::exited, this, [&] { order << "exit"; });
        connect(frm->chnRili(), &TChnCalendar::OnChange, this, [&] { order << "change"; });
        auto *grid = frm->chnRili()->findChild<TDateGrid *>("FGrid");
        int entry = 0;
        for (int t = 1; t <= 37 && !entry; ++t)
            if (frm->chnRili()->Cell(t).Used && frm->chnRili()->Cell(t).DayOfMonth == 3) entry = t;
        QVERIFY(entry);
        const QPoint cell = CellOfEntry(entry);
        QCOMPARE(cell.x(), 1); // the Sunday column
        QTest::mouseClick(grid, Qt::LeftButton, {}, grid->CellRect(cell.x(), cell.y()).center());

        QCOMPARE(order, (QStringList{"exit", "change"}));
        QCOMPARE(DateKeyOf(frm->selectedDateTime()), u"20110703"_qs);
        QCOMPARE(WeekList[0].DateKey, u"20110627"_qs);
        QCOMPARE(folder.row("20110705")->plain, u"tue"_qs);
        QCOMPARE(frm->redt(2)->toPlainText(), QString());
        QWidget *band = child(frm->pnlRight(), "imgSelColor");
        QVERIFY(band->isVisible());
        const int line2 = child(frm->pnlRight(), "pnl_yearLine2")->x();
        QCOMPARE(band->geometry().topLeft(),
                 QPoint(line2 + 1, child(frm->pnlRight(), "imgtitle_year2")->y()));

        // Back to the first week: the note is there.
        frm->chnRili()->setDateTime(value(2011, 7, 8));
        QCOMPARE(frm->redt(2)->toPlainText(), u"tue"_qs);
        QCOMPARE(band->geometry().x(), child(frm->pnlRight(), "pnl_yearLine1")->x() + 1);
    }

    void stripOffline_data()
    {
        QTest::addColumn<bool>("localPage");
        QTest::newRow("local page") << true;
        QTest::newRow("no local page") << false;
    }
    void stripOffline()
    {
        QFETCH(bool, localPage);
        if (!WebLinks::configuredHost().isEmpty()) QSKIP("built with a web host");
        ProgramFixture folder;
        const QString page = WebLinks::localPagePath();
        if (localPage) QVERIFY(put(page, "<html><body><p>本地页面</p></body></html>"));
        TNotebookApp app;
        QCOMPARE(app.start(), TNotebookApp::Outcome::Running);
        TMainFrm *frm = app.MainFrm();
        frm->show();
        QVERIFY(QTest::qWaitForWindowExposed(frm));
        WebLinkView *view = frm->pnlWeb()->view();
        if (localPage) {
            QTRY_COMPARE(view->currentUrl(), QUrl::fromLocalFile(page));
            QVERIFY(view->toPlainText().contains(u"本地页面"_qs));
        } else {
            QTest::qWait(300);
            QCOMPARE(view->currentUrl(), QUrl(u"about:blank"_qs));
        }
    }

    // No menu in the strip; the boxes keep theirs.
    void rightClick()
    {
        ProgramFixture folder;
        QVERIFY(put(WebLinks::localPagePath(), "<p>page text</p>"));
        TNotebookApp app;
        QCOMPARE(app.start(), TNotebookApp::Outcome::Running);
        TMainFrm *frm = app.MainFrm();
        frm->show();
        QVERIFY(QTest::qWaitForWindowActive(frm));
        WebLinkView *view = frm->pnlWeb()->view();
        QTRY_VERIFY(view->toPlainText().contains(u"page text"_qs));
        const auto rightClickOn = [](QWidget *target, QPoint pos) {
            return popupDuring([&] {
                QTest::mousePress(target, Qt::RightButton, {}, pos);
                QContextMenuEvent event(QContextMenuEvent::Mouse, pos, target->mapToGlobal(pos));
                QApplication::sendEvent(target, &event);
                QTest::mouseRelease(target, Qt::RightButton, {}, pos);
            });
        };
        view->setFocus();
        QCOMPARE(rightClickOn(view->viewport(),
                              view->viewport()->mapFrom(frm->pnlWeb(), QPoint(20, 20))),
                 QString());
        frm->redt(4)->setFocus();
        const QString boxMenu = rightClickOn(frm->redt(4)->viewport(), {20, 20});
        QVERIFY(!boxMenu.isEmpty());
        if (frm->findChild<QMenu *>("pmDeskTopMonCal")) QCOMPARE(boxMenu, u"pmDeskTopMonCal"_qs);
    }

    void password_data()
    {
        QTest::addColumn<bool>("accept");
        QTest::newRow("cancelled") << false;
        QTest::newRow("accepted") << true;
    }
    // The week is loaded before the prompt, the window is never shown before the password is
    // accepted, and a cancelled prompt ends the start with nothing shown.
    void password()
    {
        QFETCH(bool, accept);
        ProgramFixture folder;
        QVERIFY(LoginFile::write(true, u"Secret 1"_qs));
        TNotebookApp app;
        QString weekAtPrompt;
        bool windowShownAtPrompt = true;
        bool promptSeen = false;
        QTimer::singleShot(0, this, [&] {
            auto *prompt = qobject_cast<TLockLogin *>(QApplication::activeModalWidget());
            if (!prompt) return;
            promptSeen = true;
            weekAtPrompt = WeekList[0].DateKey;
            windowShownAtPrompt = false;
            for (QWidget *w : QApplication::topLevelWidgets())
                if (w != prompt && w->isVisible()) windowShownAtPrompt = true;
            auto *box = prompt->findChild<QLineEdit *>("edtPW");
            QTest::keyClicks(box, "secret 1"); // the case counts
            QTest::keyClick(box, Qt::Key_Return);
            if (accept) {
                box->clear();
                QTest::keyClicks(box, "Secret 1");
                QTest::keyClick(box, Qt::Key_Return);
            } else {
                QTest::mouseClick(prompt->findChild<QPushButton *>("spdCancel"), Qt::LeftButton);
            }
            if (prompt->isVisible()) prompt->reject();
        });
        const TNotebookApp::Outcome outcome = app.start();
        QVERIFY(promptSeen);
        TWeekList today;
        BuildWeek(today, ValueOfDateTime(QDateTime::currentDateTime()));
        QCOMPARE(weekAtPrompt, today[0].DateKey);
        QVERIFY(!windowShownAtPrompt);
        QCOMPARE(messages, QStringList{u"密码不正确,请重新输入登录密码!"_qs});
        if (!accept) {
            QCOMPARE(outcome, TNotebookApp::Outcome::Refused);
            QVERIFY(!app.MainFrm());
            for (QWidget *w : QApplication::topLevelWidgets())
                QVERIFY(!w->isVisible());
            QVERIFY(!QFileInfo::exists(folder.dir.filePath("Data/FormSize.ini")));
            return;
        }
        QCOMPARE(outcome, TNotebookApp::Outcome::Running);
        QVERIFY(!app.MainFrm()->isVisible());
        QVERIFY(QFileInfo::exists(folder.dir.filePath("Data/FormSize.ini")));
        // The setting window belongs to the options menu.
        QVERIFY(app.MainFrm()->pwsetFrm());
        QCOMPARE(app.MainFrm()->pwsetFrm()->parentWidget(), app.MainFrm());
    }

    // The apply button on the real week panel: confirmation, capture, blend, install.
    void applyToDesktop()
    {
        ProgramFixture folder;
        QImage background(1280, 800, QImage::Format_RGB32);
        background.fill(qRgb(90, 140, 200));
        QDir(folder.dir.path()).mkpath("source/DeskTopBG");
        QVERIFY(BmpFile::write(background, folder.dir.filePath("source/DeskTopBG/A1.bmp"), 24));
        QStringList installed;
        TDeskBGSetFrm::setInstaller([&](const QString &path) {
            installed << path;
            return DesktopWallpaper::Result{true, {}};
        });
        int confirmations = 0;
        WallpaperUi::setModalRunner([&](QDialog &dialog) {
            ++confirmations;
            dialog.show();
            if (auto *ok = dialog.findChild<QPushButton *>("btnok")) ok->click();
            if (dialog.isVisible()) dialog.reject();
            return dialog.result();
        });
        TNotebookApp app;
        QCOMPARE(app.start(), TNotebookApp::Outcome::Running);
        TMainFrm *frm = app.MainFrm();
        frm->show();
        QVERIFY(QTest::qWaitForWindowExposed(frm));
        frm->redt(1)->setFocus();
        QTest::keyClicks(frm->redt(1), "wallpaper note");
        QTest::mouseClick(child(frm, "imgAppToDesk"), Qt::LeftButton, {}, {20, 10});
        WallpaperUi::setModalRunner({});
        TDeskBGSetFrm::setInstaller({});

        QCOMPARE(confirmations, 1);
        QVERIFY2(messages.isEmpty(), qPrintable(messages.value(0)));
        const QString pictures = folder.dir.filePath("source/DeskTopBG/");
        QCOMPARE(installed, QStringList{pictures + "Mix.bmp"});
        const std::optional<QImage> content = BmpFile::read(pictures + "Content.bmp");
        QVERIFY(content);
        QCOMPARE(content->size(), frm->pnlRight()->size() * frm->devicePixelRatio());
        const std::optional<QImage> mix = BmpFile::read(pictures + "Mix.bmp");
        QVERIFY(mix);
        QCOMPARE(mix->size(), QSize(1280, 800));
        // The week was laid over the background: some pixels differ from it.
        int changed = 0;
        for (int y = 30; y < 30 + content->height(); y += 7)
            for (int x = 1280 - 50 - content->width(); x < 1280 - 50; x += 7)
                changed += mix->pixel(x, y) != background.pixel(0, 0);
        QVERIFY(changed > 0);
    }

private:
    QStringList messages;
    int ends = 0;
};

QTEST_MAIN(TstMainWindow)
#include "tst_mainwindow.moc"
