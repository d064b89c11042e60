#include "programfixture.h"

#include "dm.h"
#include "infobox.h"
#include "mainfrm.h"
#include "notebookapp.h"
#include "rtfcodec.h"
#include "weeklist.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDialogButtonBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLocale>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

namespace
{

double value(int y, int m, int d)
{
    return ValueOfDate(QDate(y, m, d));
}

// Chinese text arrives from the input method as committed strings.
void typeText(QWidget *box, const QString &text)
{
    for (QChar c : text) {
        if (c.unicode() < 128) {
            QTest::keyClicks(box, QString(c));
        } else {
            QInputMethodEvent event;
            event.setCommitString(QString(c));
            QApplication::sendEvent(box, &event);
        }
    }
}

// The database with its write-ahead log, where a write would land first.
QByteArray fileHash(const QString &path)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const QString &name : {path, path + QStringLiteral("-wal")}) {
        QFile f(name);
        if (f.open(QIODevice::ReadOnly)) hash.addData(f.readAll());
        hash.addData(QByteArrayView("|"));
    }
    return hash.result();
}

QByteArray formattedNote()
{
    QTextDocument doc;
    QTextCursor cursor(&doc);
    QTextCharFormat red;
    red.setForeground(QColor(255, 0, 0));
    red.setFontWeight(QFont::Bold);
    cursor.insertText(u"红色"_qs, red);
    cursor.insertText(u" 普通"_qs, QTextCharFormat());
    return Rtf::write(doc);
}

} // namespace

class TstNotebookApp : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        TNotebookApp::initApplication();
        InfoBox::setHandler([this](QWidget *, const QString &text) { messages << text; });
    }
    void init() { messages.clear(); }

    // Qt's own dialogs (file, colour, font) show Chinese buttons, whatever the session locale.
    void qtDialogTextsInChinese()
    {
        QDialogButtonBox box(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
        QCOMPARE(box.button(QDialogButtonBox::Cancel)->text(), u"取消"_qs);
    }

    // The tests run with LC_ALL=C.UTF-8: the calendar's weekday names are still Chinese.
    void calendarNamesInChineseOutsideAChineseSession()
    {
        QCOMPARE(QLocale().dayName(7, QLocale::LongFormat), u"星期日"_qs);
        QCOMPARE(QLocale().monthName(12, QLocale::LongFormat), u"十二月"_qs);
    }

    // Six rows on the first keystroke, and none before it: not at start, not during a load,
    // not before the first show.
    void firstKeystrokeCreatesTheWeek()
    {
        ProgramFixture folder;
        TNotebookApp app;
        QCOMPARE(app.start(), TNotebookApp::Outcome::Running);
        TMainFrm *frm = app.MainFrm();
        QVERIFY(frm->notesReady());
        TWeekList today;
        BuildWeek(today, ValueOfDateTime(QDateTime::currentDateTime()));
        QCOMPARE(WeekList[0].DateKey, today[0].DateKey);

        typeText(frm->redt(3), u"早"_qs);
        QCOMPARE(folder.rows().size(), 0);

        frm->show();
        QVERIFY(QTest::qWaitForWindowExposed(frm));
        QVERIFY(frm->shown());
        QCOMPARE(folder.rows().size(), 0);
        // The calendar's first show loads the week again, from the store.
        QCOMPARE(frm->redt(3)->toPlainText(), QString());

        frm->redt(3)->setFocus();
        typeText(frm->redt(3), u"记"_qs);
        QList<NoteRow> rows = folder.rows();
        QCOMPARE(rows.size(), 6);
        for (int i = 0; i < 6; ++i) {
            QCOMPARE(rows[i].key, today[i].DateKey);
            QVERIFY(rows[i].content.startsWith("{\\rtf"));
            QCOMPARE(rows[i].plain, i == 2 ? u"记"_qs : QString(""));
            QVERIFY(!rows[i].plain.isNull());
        }
        typeText(frm->redt(3), u"事 a"_qs);
        rows = folder.rows();
        QCOMPARE(rows.size(), 6);
        QCOMPARE(rows[2].plain, u"记事 a"_qs);
        QCOMPARE(frm->storeNotice(), QString());
    }

    void sundayIsStoredUnderSaturday()
    {
        ProgramFixture folder;
        TNotebookApp app;
        QCOMPARE(app.start(), TNotebookApp::Outcome::Running);
        TMainFrm *frm = app.MainFrm();
        frm->show();
        QVERIFY(QTest::qWaitForWindowExposed(frm));
        frm->LoadWeekNotes(value(2011, 7, 3));
        QTest::keyClicks(frm->redt(6), "weekend");
        QCOMPARE(folder.row("20110702")->plain, u"weekend"_qs);
        QVERIFY(!folder.row("20110703"));
        // Saturday shows the same note.
        frm->LoadWeekNotes(value(2011, 7, 2));
        QCOMPARE(frm->redt(6)->toPlainText(), u"weekend"_qs);
    }

    // What other programs may have left: RTF with formatting, plain text, a repeated key.
    void loadReadsWithoutWriting()
    {
        ProgramFixture folder;
        QVERIFY(folder.exec({"insert into tb_NewKQ(YearMonthStr, Content) values('20110627', x'" +
                                 QString::fromLatin1(formattedNote().toHex()) + "')",
                             "insert into tb_NewKQ(YearMonthStr, Content) values('20110628', "
                             "cast('plain 文本' as blob))",
                             "insert into tb_NewKQ(YearMonthStr, Content) values('20110629', "
                             "'first')",
                             "insert into tb_NewKQ(YearMonthStr, Content) values('20110629', "
                             "'second')",
                             "insert into tb_NewKQ(YearMonthStr, Content) values('20110630', "
                             "null)"}));
        TNotebookApp app;
        QCOMPARE(app.start(), TNotebookApp::Outcome::Running);
        TMainFrm *frm = app.MainFrm();
        frm->show();
        QVERIFY(QTest::qWaitForWindowExposed(frm));
        const QByteArray before = fileHash(folder.database());
        frm->LoadWeekNotes(value(2011, 6, 29));
        QCOMPARE(fileHash(folder.database()), before);
        QCOMPARE(folder.rows().size(), 5);

        QCOMPARE(frm->redt(1)->toPlainText(), u"红色 普通"_qs);
        QTextCursor c(frm->redt(1)->document());
        c.movePosition(QTextCursor::NextCharacter);
        QCOMPARE(c.charFormat().foreground().color(), QColor(255, 0, 0));
        QVERIFY(c.charFormat().fontWeight() >= QFont::Bold);
        QCOMPARE(frm->redt(2)->toPlainText(), u"plain 文本"_qs);
        QCOMPARE(frm->redt(3)->toPlainText(), u"first"_qs);
        QCOMPARE(frm->redt(4)->toPlainText(), QString()); // null Content
        QCOMPARE(frm->redt(5)->toPlainText(), QString()); // no row

        frm->redt(3)->moveCursor(QTextCursor::End);
        QTest::keyClicks(frm->redt(3), "!");
        const QList<NoteRow> rows = folder.rows();
        QCOMPARE(rows[2].plain, u"first!"_qs);
        QCOMPARE(rows[3].content, QByteArray("second")); // the repeated key's second row
        QCOMPARE(rows.size(), 7);                        // Friday and Saturday added
        QCOMPARE(frm->redt(1)->toPlainText(), u"红色 普通"_qs);
    }

    void databaseNotOpenable_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // "missing": no file
        QTest::newRow("missing") << QByteArray("missing");
        QTest::newRow("empty file") << QByteArray();
        QTest::newRow("not SQLite") << QByteArray("Standard Jet DB\0\0\0\0", 19);
        QTest::newRow("corrupted") << QByteArray("corrupt");
        QTest::newRow("table missing") << QByteArray("no table");
    }
    void databaseNotOpenable()
    {
        QFETCH(QByteArray, bytes);
        ProgramFixture folder(bytes != "missing");
        if (bytes == "corrupt") {
            QVERIFY(
                folder.exec({"insert into tb_NewKQ(YearMonthStr, ContentBak) values('1', 'a')"}));
            QFile f(folder.database());
            QVERIFY(f.open(QIODevice::ReadWrite));
            QVERIFY(f.seek(4096)); // page 2: the table's tree
            f.write(QByteArray(4096, '\x5a'));
        } else if (bytes == "no table") {
            QVERIFY(folder.exec({"drop table tb_NewKQ", "create table other(x)"}));
        } else if (bytes != "missing") {
            QFile f(folder.database());
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(bytes);
        }
        const QByteArray before = fileHash(folder.database());
        const QStringList filesBefore = QDir(folder.dir.filePath("Data")).entryList(QDir::Files);
        {
            TNotebookApp app;
            QCOMPARE(app.start(), TNotebookApp::Outcome::DatabaseFailed);
            QVERIFY(!app.MainFrm());
            QVERIFY(!app.DM()->isOpen());
            QVERIFY(!app.DM()->lastError().isEmpty());
        }
        QCOMPARE(messages, QStringList{u"配置文件加载失败，请重试！"_qs});
        QCOMPARE(fileHash(folder.database()), before);
        QCOMPARE(QFileInfo::exists(folder.database()), bytes != "missing");
        QStringList filesAfter = QDir(folder.dir.filePath("Data")).entryList(QDir::Files);
        filesAfter.removeAll(QStringLiteral("kqnotebook.lock"));
        QCOMPARE(filesAfter, filesBefore);
    }

    // A slot that fails is rolled back alone; the notice stays until a save succeeds, and
    // every later trigger retries.
    void saveFailureIsVisibleAndRetried()
    {
        ProgramFixture folder;
        TNotebookApp app;
        QCOMPARE(app.start(), TNotebookApp::Outcome::Running);
        TMainFrm *frm = app.MainFrm();
        frm->show();
        QVERIFY(QTest::qWaitForWindowActive(frm));
        frm->LoadWeekNotes(value(2011, 6, 29));
        QVERIFY(folder.exec({"create trigger full before update on tb_NewKQ "
                             "when new.YearMonthStr = '20110629' "
                             "begin select raise(abort, 'database or disk is full'); end"}));
        QTest::keyClicks(frm->redt(1), "mon");
        QTest::keyClicks(frm->redt(3), "wed");
        QCOMPARE(frm->storeNotice(), u"保存失败：database or disk is full"_qs);
        QVERIFY(frm->findChild<QLabel *>("lblStoreNotice")->isVisible());
        QCOMPARE(frm->redt(3)->toPlainText(), u"wed"_qs);
        QCOMPARE(folder.row("20110627")->plain, u"mon"_qs);
        QVERIFY(!folder.row("20110629")); // its insert went back with the slot
        QCOMPARE(folder.rows().size(), 5);

        QVERIFY(folder.exec({"drop trigger full"}));
        frm->redt(3)->setFocus();
        frm->redt(2)->setFocus(); // the focus-leave trigger retries
        QCOMPARE(frm->storeNotice(), QString());
        QCOMPARE(folder.row("20110629")->plain, u"wed"_qs);
    }

    // Another program holding the write lock fails the whole save, not the window.
    void saveFailsWhileAnotherProgramWrites()
    {
        ProgramFixture folder;
        TNotebookApp app;
        QCOMPARE(app.start(), TNotebookApp::Outcome::Running);
        TMainFrm *frm = app.MainFrm();
        frm->show();
        QVERIFY(QTest::qWaitForWindowExposed(frm));
        {
            QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "other");
            other.setDatabaseName(folder.database());
            QVERIFY(other.open());
            QSqlQuery lock(other);
            QVERIFY(lock.exec("begin immediate"));
            QTest::keyClicks(frm->redt(5), "x");
            QVERIFY(frm->storeNotice().startsWith(u"保存失败：database is locked"_qs));
            QVERIFY(lock.exec("rollback"));
            other.close();
        }
        QSqlDatabase::removeDatabase("other");
        QCOMPARE(folder.rows().size(), 0);
        QTest::keyClicks(frm->redt(5), "y");
        QCOMPARE(frm->storeNotice(), QString());
        QCOMPARE(folder.rows().size(), 6);
        QCOMPARE(folder.rows()[4].plain, u"xy"_qs);
    }

    void secondInstanceEnds()
    {
        ProgramFixture folder;
        auto first = std::make_unique<TNotebookApp>();
        QCOMPARE(first->start(), TNotebookApp::Outcome::Running);
        {
            TNotebookApp second;
            QCOMPARE(second.start(), TNotebookApp::Outcome::AlreadyRunning);
            QVERIFY(!second.DM());
            QVERIFY(!second.MainFrm());
        }
        QCOMPARE(messages, QStringList{u"程序已在运行。"_qs});
        first.reset();
        TNotebookApp third;
        QCOMPARE(third.start(), TNotebookApp::Outcome::Running);
    }

    // The build makes the database only where none is: a build folder may hold real notes.
    void buildToolNeverReplacesADatabase()
    {
        ProgramFixture folder;
        QVERIFY(
            folder.exec({"insert into tb_NewKQ(YearMonthStr, ContentBak) values('1', 'kept')"}));
        const QString made = folder.dir.filePath("made/UserData.db");
        for (const QString &target : {folder.database(), made})
            QCOMPARE(QProcess::execute(KQ_MKUSERDB, {KQ_SCHEMA, target}), 0);
        QCOMPARE(folder.rows().size(), 1);
        QCOMPARE(TDM::checkDatabaseFile(made), std::nullopt);
    }

    void startedFromAnotherWorkingDirectory()
    {
        ProgramFixture folder;
        QTemporaryDir elsewhere;
        const QString old = QDir::currentPath();
        QDir::setCurrent(elsewhere.path());
        TNotebookApp app;
        const TNotebookApp::Outcome outcome = app.start();
        QDir::setCurrent(old);
        QCOMPARE(outcome, TNotebookApp::Outcome::Running);
        QVERIFY(QDir(elsewhere.path()).isEmpty());
    }

private:
    QStringList messages;
};

QTEST_MAIN(TstNotebookApp)
#include "tst_notebookapp.moc"
