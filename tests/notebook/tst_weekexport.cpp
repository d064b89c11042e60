#include "weekexport.h"

#include "errorreport.h"
#include "infobox.h"
#include "notebox.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace
{

double value(int y, int m, int d)
{
    return ValueOfDate(QDate(y, m, d));
}

// The six headings and blank lines around each box's lines.
QStringList expectedLines(const QStringList &headings, const std::array<QStringList, 6> &notes)
{
    QStringList lines;
    for (int i = 0; i < 6; ++i)
        lines << headings[i] << "  " << notes[i] << "  ";
    return lines;
}

const QStringList kWeek20110627 = {"星期一 2011.06.27", "星期二 2011.06.28",
                                   "星期三 2011.06.29", "星期四 2011.06.30",
                                   "星期五 2011.07.01", "星期六/日 2011.07.02"};

} // namespace

class TstWeekExport : public QObject
{
    Q_OBJECT
private slots:
    void cleanup()
    {
        WeekExport::setSaveDialog({});
        InfoBox::setHandler({});
        ErrorReport::setHandler({});
    }

    void exportLines_data()
    {
        QTest::addColumn<double>("selected");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QStringList>("expected");
        const std::array<QStringList, 6> empty{QStringList{""}, {""}, {""}, {""}, {""}, {""}};
        // 24 lines: heading, "  ", an empty line, "  " for each slot.
        QTest::newRow("empty week")
            << value(2011, 6, 29) << QStringList(6) << expectedLines(kWeek20110627, empty);
        // Sunday shares Saturday's slot; no heading carries Sunday's date.
        QTest::newRow("Sunday selected")
            << value(2011, 7, 3) << QStringList(6) << expectedLines(kWeek20110627, empty);
        QTest::newRow("filled week")
            << value(2011, 6, 27) + 0.75
            << QStringList{"周一\r\n第二行", "", "  x  ", "√ 完成\r\n\r\n", "×", "█ 09:05 "}
            << expectedLines(kWeek20110627, {QStringList{"周一", "第二行"},
                                             {""},
                                             {"  x  "},
                                             {"√ 完成", "", ""},
                                             {"×"},
                                             {"█ 09:05 "}});
        QTest::newRow("year below 1000")
            << value(999, 1, 1) << QStringList(6)
            << expectedLines({"星期一 0998.12.31", "星期二 0999.01.01", "星期三 0999.01.02",
                              "星期四 0999.01.03", "星期五 0999.01.04", "星期六/日 0999.01.05"},
                             empty);
    }
    void exportLines()
    {
        QFETCH(double, selected);
        QFETCH(QStringList, texts);
        QFETCH(QStringList, expected);
        TWeekList week;
        BuildWeek(week, selected);
        std::array<QString, 6> boxTexts;
        std::copy(texts.begin(), texts.end(), boxTexts.begin());
        const QStringList lines = WeekExport::exportLines(week, boxTexts);
        QCOMPARE(lines, expected);
        if (texts.join(QString()).isEmpty()) QCOMPARE(lines.size(), 24);
    }

    void defaultFileName_data()
    {
        QTest::addColumn<QDateTime>("dateTime");
        QTest::addColumn<QString>("name");
        QTest::newRow("example") << QDateTime(QDate(2011, 6, 29), QTime(10, 30, 15))
                                 << "周 20110629103015";
        QTest::newRow("midnight") << QDateTime(QDate(2011, 1, 2), QTime(0, 0))
                                  << "周 20110102000000";
        QTest::newRow("last second")
            << QDateTime(QDate(2011, 12, 31), QTime(23, 59, 59, 999)) << "周 20111231235959";
    }
    void defaultFileName()
    {
        QFETCH(QDateTime, dateTime);
        QFETCH(QString, name);
        QCOMPARE(WeekExport::defaultFileName(ValueOfDateTime(dateTime)), name);
    }

    void command_data()
    {
        QTest::addColumn<std::optional<QString>>("answer"); // relative to the folder
        QTest::addColumn<QString>("written");               // empty: nothing
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("outcome");
        using O = WeekExport::Outcome;
        QTest::newRow("name typed with .txt")
            << std::optional<QString>("notes.txt") << "notes.txt.txt"
            << "" << int(O::Written);
        QTest::newRow("name without suffix") << std::optional<QString>("week") << "week.txt"
                                             << "" << int(O::Written);
        QTest::newRow("default name")
            << std::optional<QString>("周 20110629103015") << "周 20110629103015.txt"
            << "" << int(O::Written);
        QTest::newRow("cancelled") << std::optional<QString>() << ""
                                   << "" << int(O::Cancelled);
        QTest::newRow("empty name") << std::optional<QString>("") << ""
                                    << "文件名不能为空！" << int(O::EmptyName);
    }
    // The dialog's preset and filter, the ".txt" rule, and CR LF bytes in UTF-8.
    void command()
    {
        QFETCH(std::optional<QString>, answer);
        QFETCH(QString, written);
        QFETCH(QString, message);
        QFETCH(int, outcome);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QString preset, filter;
        WeekExport::setSaveDialog([&](QWidget *, const QString &name, const QString &f) {
            preset = name;
            filter = f;
            if (answer && !answer->isEmpty()) return std::optional<QString>(dir.filePath(*answer));
            return answer;
        });
        QStringList messages;
        InfoBox::setHandler([&](QWidget *, const QString &text) { messages << text; });
        ErrorReport::setHandler([&](QWidget *, const QString &text) { messages << text; });

        std::array<std::unique_ptr<TNoteBox>, 6> owned;
        std::array<TNoteBox *, 6> boxes{};
        for (int i = 0; i < 6; ++i) {
            owned[i] = std::make_unique<TNoteBox>();
            boxes[i] = owned[i].get();
        }
        boxes[0]->setPlainText(QStringLiteral("买菜\n开会"));
        boxes[5]->setPlainText(QStringLiteral("√"));
        TWeekList week;
        const double selected = ValueOfDateTime(QDateTime(QDate(2011, 6, 29), QTime(10, 30, 15)));
        BuildWeek(week, selected);

        QCOMPARE(int(WeekExport::N_DataOutClick(nullptr, week, boxes, selected)), outcome);
        QCOMPARE(preset, QStringLiteral("周 20110629103015"));
        QCOMPARE(filter, QStringLiteral("*.Txt (*.Txt)"));
        QCOMPARE(messages, message.isEmpty() ? QStringList() : QStringList{message});
        const QStringList files = QDir(dir.path()).entryList(QDir::Files);
        QCOMPARE(files, written.isEmpty() ? QStringList() : QStringList{written});
        if (written.isEmpty()) return;
        QFile file(dir.filePath(written));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QStringLiteral("星期一 2011.06.27\r\n  \r\n买菜\r\n开会\r\n  \r\n"
                                                "星期二 2011.06.28\r\n  \r\n\r\n  \r\n"
                                                "星期三 2011.06.29\r\n  \r\n\r\n  \r\n"
                                                "星期四 2011.06.30\r\n  \r\n\r\n  \r\n"
                                                "星期五 2011.07.01\r\n  \r\n\r\n  \r\n"
                                                "星期六/日 2011.07.02\r\n  \r\n√\r\n  \r\n")
                                     .toUtf8());
    }

    // An existing file is replaced without a question; a file that cannot be written goes to
    // the error report and leaves everything as it was.
    void replaceAndFailure()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QString target = dir.filePath(QStringLiteral("old"));
        WeekExport::setSaveDialog(
            [&](QWidget *, const QString &, const QString &) { return std::optional(target); });
        QStringList errors;
        ErrorReport::setHandler([&](QWidget *, const QString &text) { errors << text; });
        InfoBox::setHandler([&](QWidget *, const QString &text) { errors << text; });
        {
            QFile old(target + QStringLiteral(".txt"));
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write(QByteArray(5000, 'x'));
        }
        TNoteBox box;
        box.setPlainText(QStringLiteral("新"));
        const std::array<TNoteBox *, 6> boxes{&box, &box, &box, &box, &box, &box};
        TWeekList week;
        BuildWeek(week, value(2011, 6, 29));
        QCOMPARE(WeekExport::N_DataOutClick(nullptr, week, boxes, value(2011, 6, 29)),
                 WeekExport::Outcome::Written);
        QFile replaced(target + QStringLiteral(".txt"));
        QVERIFY(replaced.open(QIODevice::ReadOnly));
        const QByteArray bytes = replaced.readAll();
        QVERIFY(bytes.startsWith(QStringLiteral("星期一 2011.06.27\r\n").toUtf8()));
        QVERIFY(!bytes.contains('x'));
        QVERIFY(errors.isEmpty());

        target = dir.filePath(QStringLiteral("missing/folder/notes"));
        QCOMPARE(WeekExport::N_DataOutClick(nullptr, week, boxes, value(2011, 6, 29)),
                 WeekExport::Outcome::WriteFailed);
        QCOMPARE(errors.size(), 1);
        QVERIFY(errors[0].contains(QStringLiteral("notes.txt")));
        QVERIFY(!QFile::exists(target + QStringLiteral(".txt")));
    }
};

QTEST_MAIN(TstWeekExport)
#include "tst_weekexport.moc"
