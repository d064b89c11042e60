#include "chncalendar.h"
#include "mainfrm.h"
#include "notebox.h"
#include "notestore.h"
#include "weeklist.h"

#include "appmessage.h"
#include "fontsubstitutions.h"
#include "programfolder.h"

#include <QApplication>
#include <QDir>
#include <QFontInfo>
#include <QHash>
#include <QLabel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>

namespace
{

double value(int y, int m, int d)
{
    return ValueOfDate(QDate(y, m, d));
}

// Notes in memory; a key can be made to fail on read.
class MemoryStore : public TNoteStore
{
public:
    MemoryStore() : TNoteStore(QString()) {}
    ReadResult readNote(const QString &key) override
    {
        ++reads;
        if (failingKeys.contains(key)) return {false, {}, QStringLiteral("disk I/O error")};
        return {true, notes.value(key), {}};
    }
    std::array<QString, 6> saveWeek(const std::array<Slot, 6> &week) override
    {
        ++saves;
        for (const Slot &slot : week)
            plain[slot.key] = slot.plainText;
        return {};
    }
    QHash<QString, QByteArray> notes;
    QHash<QString, QString> plain;
    QStringList failingKeys;
    int reads = 0;
    int saves = 0;
};

} // namespace

class TstMainFrm : public QObject
{
    Q_OBJECT
private slots:
    // The window's settings files go to a program folder of the test's own.
    void initTestCase()
    {
        installFontSubstitutions();
        QVERIFY(folder.isValid());
        QDir(folder.path()).mkpath(QStringLiteral("Data"));
        ProgramFolder::setRoot(folder.path());
        AppMessage::setHook([](QWidget *, const QString &text, const QString &) {
            QFAIL(qPrintable(QStringLiteral("unexpected message: ") + text));
        });
    }
    void cleanupTestCase()
    {
        AppMessage::setHook({});
        ProgramFolder::setRoot({});
    }

    // The designed panel 594 x 445 and a larger one.
    void arrangeBoxes_data()
    {
        QTest::addColumn<QSize>("panel");
        QTest::addColumn<QList<int>>("lines");   // pnl_yearLine1, pnl_yearLine2, REdge, bottom
        QTest::addColumn<QList<int>>("band2");   // imgtitle_year2 top
        QTest::addColumn<QList<QRect>>("boxes"); // redt1 ... redt6
        QTest::newRow("designed") << QSize(594, 445) << QList<int>{197, 394, 591, 440}
                                  << QList<int>{215}
                                  << QList<QRect>{{3, 26, 196, 189},    {198, 26, 196, 189},
                                                  {395, 26, 192, 189},  {3, 241, 196, 199},
                                                  {198, 241, 196, 199}, {395, 241, 192, 199}};
        // (1000 - 4) div 3 = 332; (700 - 50) div 2 + 18 = 343; (1000 - 5) div 3 = 331.
        QTest::newRow("large") << QSize(1000, 700) << QList<int>{333, 666, 997, 695}
                               << QList<int>{343}
                               << QList<QRect>{{3, 26, 331, 317},    {334, 26, 331, 317},
                                               {667, 26, 327, 317},  {3, 369, 331, 326},
                                               {334, 369, 331, 326}, {667, 369, 327, 326}};
    }
    void arrangeBoxes()
    {
        QFETCH(QSize, panel);
        QFETCH(QList<int>, lines);
        QFETCH(QList<int>, band2);
        QFETCH(QList<QRect>, boxes);
        MemoryStore store;
        TMainFrm frm(store);
        QVERIFY(frm.FormCreate());
        frm.pnlRight()->resize(panel);
        frm.ArrangeBoxes();
        const auto x = [&](const char *name) {
            return frm.pnlRight()->findChild<QWidget *>(QLatin1String(name))->geometry();
        };
        QCOMPARE(x("pnl_yearLine0").x(), 2);
        QCOMPARE(x("pnl_yearLine1").x(), lines[0]);
        QCOMPARE(x("pnl_yearLine2").x(), lines[1]);
        QCOMPARE(x("pnl_yearLineREdge").x(), lines[2]);
        QCOMPARE(x("pnl_buttonline").y(), lines[3]);
        QCOMPARE(x("imgtitle_year2").y(), band2[0]);
        for (int i = 0; i < 6; ++i) {
            QCOMPARE(frm.redt(i + 1)->geometry(), boxes[i]);
            QCOMPARE(frm.redt(i + 1)->frameShape(), QFrame::NoFrame);
        }
        const QList<int> captionX{12, lines[0] + 10, lines[1] + 10};
        static const char *const names[6] = {"lblweek1", "lblweek2", "lblweek3",
                                             "lblweek4", "lblweek5", "lblweek67"};
        for (int i = 0; i < 6; ++i) {
            const QRect r = x(names[i]);
            QCOMPARE(r.x(), captionX[i % 3]);
            QCOMPARE(r.y(), i < 3 ? 7 : band2[0] + 8);
        }
    }

    void captionsAndLook()
    {
        MemoryStore store;
        TMainFrm frm(store);
        const QStringList expected{u"周 一"_qs, u"周 二"_qs, u"周 三"_qs,
                                   u"周 四"_qs, u"周 五"_qs, u"周 六/日"_qs};
        const QStringList names{"lblweek1", "lblweek2", "lblweek3",
                                "lblweek4", "lblweek5", "lblweek67"};
        for (int i = 0; i < 6; ++i)
            QCOMPARE(frm.findChild<QLabel *>(names[i])->text(), expected[i]);
        QCOMPARE(frm.windowTitle(), u"KQ桌面记事"_qs);
        TNoteBox *box = frm.redt(3);
        QCOMPARE(box->font().pixelSize(), 15);
        // 宋体 must reach a Simplified Chinese face, never DejaVu or a Japanese one.
        QCOMPARE(QFontInfo(box->font()).family(), u"Noto Serif CJK SC"_qs);
        QVERIFY(frm.redt(1)->keepSelectionVisible());
        QVERIFY(frm.redt(6)->keepSelectionVisible());
        QVERIFY(!frm.redt(2)->keepSelectionVisible());
        QCOMPARE(DateCaption(QDate(2011, 6, 29)), u"今天是 2011年6月29日(三)"_qs);
        QCOMPARE(DateCaption(QDate(2011, 7, 3)), u"今天是 2011年7月3日(日)"_qs);
    }

    void markSelectedDay_data()
    {
        QTest::addColumn<double>("date");
        QTest::addColumn<int>("column"); // -1: hidden
        QTest::addColumn<bool>("topRow");
        QTest::newRow("Monday") << value(2011, 6, 27) << 0 << true;
        QTest::newRow("Wednesday") << value(2011, 6, 29) << 2 << true;
        QTest::newRow("Thursday") << value(2011, 6, 30) << 0 << false;
        QTest::newRow("Saturday") << value(2011, 7, 2) << 2 << false;
        QTest::newRow("Sunday marks 六/日") << value(2011, 7, 3) << 2 << false;
        QTest::newRow("other week") << value(2011, 7, 4) << -1 << false;
    }
    void markSelectedDay()
    {
        QFETCH(double, date);
        QFETCH(int, column);
        QFETCH(bool, topRow);
        MemoryStore store;
        TMainFrm frm(store);
        frm.pnlRight()->resize(594, 445);
        frm.ArrangeBoxes();
        frm.LoadWeekNotes(value(2011, 6, 29));
        frm.MarkSelectedDay(date);
        auto *band = frm.pnlRight()->findChild<QWidget *>("imgSelColor");
        QCOMPARE(band->isVisibleTo(&frm), column >= 0);
        if (column < 0) return;
        const QList<QRect> expected{{3, 0, 193, 26}, {198, 0, 195, 26}, {395, 0, 195, 26}};
        QRect r = expected[column];
        if (!topRow) r.moveTop(215);
        QCOMPARE(band->geometry(), r);
    }

    // Part-way failure: later boxes are emptied, saving stays off until a good load.
    void loadFailurePartWay()
    {
        MemoryStore store;
        store.notes["20110704"] = "old Monday";
        for (int d = 4; d <= 9; ++d)
            store.notes[QStringLiteral("201107%1").arg(d, 2, 10, QChar('0'))] = "old week";
        store.notes["20110627"] = "Monday";
        store.notes["20110628"] = "Tuesday";
        store.failingKeys << "20110629";
        TMainFrm frm(store);
        frm.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frm));
        QVERIFY(frm.shown());
        frm.LoadWeekNotes(value(2011, 7, 5));
        QCOMPARE(frm.redt(3)->toPlainText(), u"old week"_qs);

        frm.LoadWeekNotes(value(2011, 6, 29));
        QVERIFY(frm.loadFailed());
        QCOMPARE(frm.redt(1)->toPlainText(), u"Monday"_qs);
        QCOMPARE(frm.redt(2)->toPlainText(), u"Tuesday"_qs);
        for (int n = 3; n <= 6; ++n)
            QCOMPARE(frm.redt(n)->toPlainText(), QString());
        QCOMPARE(frm.storeNotice(), u"加载失败：disk I/O error"_qs);
        QVERIFY(frm.findChild<QLabel *>("lblStoreNotice")->isVisible());

        // Nothing can be typed that would not be saved, and no trigger saves.
        frm.redt(1)->setFocus();
        QTest::keyClicks(frm.redt(1), "x");
        frm.redt(2)->setFocus();
        QCOMPARE(frm.redt(1)->toPlainText(), u"Monday"_qs);
        QCOMPARE(store.saves, 0);

        store.failingKeys.clear();
        frm.LoadWeekNotes(value(2011, 6, 29));
        QVERIFY(!frm.loadFailed());
        QCOMPARE(frm.storeNotice(), QString());
        QTest::keyClicks(frm.redt(2), "!");
        QCOMPARE(store.saves, 1);
        QCOMPARE(store.plain.value("20110628"), u"!Tuesday"_qs);
    }

    // The calendar already holds now from its construction and may see no change when the
    // creation sets it again; the week is loaded all the same, so that typing is saved.
    void createLoadsTheWeekWhenTheCalendarStaysSilent()
    {
        MemoryStore store;
        TMainFrm frm(store);
        frm.chnRili()->blockSignals(true);
        QVERIFY(frm.FormCreate());
        frm.chnRili()->blockSignals(false);
        QCOMPARE(store.reads, 6);
        QVERIFY(frm.notesReady());
        TWeekList now;
        BuildWeek(now, frm.selectedDateTime());
        QCOMPARE(WeekList[0].DateKey, now[0].DateKey);
    }

    // The change event fires on the box's own loads, the focus-leave event only when the
    // focus goes to another control; both reach redt1Exit, which the guards gate.
    void boxEvents()
    {
        MemoryStore store;
        TMainFrm frm(store);
        QVERIFY(frm.FormCreate());
        QSignalSpy changed(frm.redt(2), &QTextEdit::textChanged);
        QSignalSpy exited(frm.redt(2), &TNoteBox::exited);
        frm.LoadWeekNotes(value(2011, 6, 29));
        QVERIFY(changed.count() >= 1);
        QCOMPARE(store.saves, 0); // loads never save
        QTest::keyClicks(frm.redt(2), "ab");
        QCOMPARE(store.saves, 0); // not before the first show

        frm.show();
        QVERIFY(QTest::qWaitForWindowActive(&frm));
        frm.redt(2)->setFocus();
        const int saves = store.saves;
        QTest::keyClicks(frm.redt(2), "c");
        QCOMPARE(store.saves, saves + 1);
        frm.redt(5)->setFocus(Qt::TabFocusReason);
        QCOMPARE(exited.count(), 1);
        QCOMPARE(store.saves, saves + 2);
        // Leaving the window is no focus-leave of the box.
        frm.redt(2)->setFocus(Qt::MouseFocusReason);
        QVERIFY(frm.redt(2)->hasFocus());
        QWidget other;
        other.show();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        QVERIFY(!frm.redt(2)->hasFocus());
        QCOMPARE(exited.count(), 1);

        // Lines are joined by CR LF in the plain text.
        QTest::keyClick(frm.redt(5), Qt::Key_Return);
        QTest::keyClicks(frm.redt(5), "z");
        QCOMPARE(frm.redt(5)->plainTextCrLf(), u"\r\nz"_qs);
    }

    void selectionHiddenWhenUnfocused()
    {
        MemoryStore store;
        TMainFrm frm(store);
        frm.show();
        QVERIFY(QTest::qWaitForWindowActive(&frm));
        for (int n : {2, 6}) {
            TNoteBox *box = frm.redt(n);
            box->setPlainText("selected text");
            box->setFocus();
            box->selectAll();
            frm.redt(4)->setFocus();
            // redt6 keeps its selection visible; the others show it only while focused.
            QCOMPARE(box->textCursor().hasSelection(), n == 6);
            box->setFocus(Qt::TabFocusReason);
            QCOMPARE(box->textCursor().selectedText(), u"selected text"_qs);
        }
    }

private:
    QTemporaryDir folder;
};

QTEST_MAIN(TstMainFrm)
#include "tst_mainfrm.moc"
