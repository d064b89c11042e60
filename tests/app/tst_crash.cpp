#include "programfixture.h"

#include <QProcess>
#include <QTest>

#include <csignal>

namespace
{

QStringList readLines(QProcess &process, int wanted, int timeoutMs)
{
    QStringList lines;
    QElapsedTimer timer;
    timer.start();
    while (lines.size() < wanted && timer.elapsed() < timeoutMs) {
        if (!process.canReadLine() && !process.waitForReadyRead(1000)) {
            if (process.state() == QProcess::NotRunning) break;
            continue;
        }
        while (process.canReadLine() && lines.size() < wanted)
            lines << QString::fromLatin1(process.readLine()).trimmed();
    }
    return lines;
}

} // namespace

class TstCrash : public QObject
{
    Q_OBJECT
private slots:
    // Every character whose keystroke returned is in the database after a SIGKILL, and the
    // next start reads it back.
    void everyCharacterSurvivesSigkill()
    {
        ProgramFixture folder;
        const QString driver = folder.dir.filePath(QStringLiteral("kq_crashdriver"));
        QVERIFY(QFile::copy(QStringLiteral(KQ_CRASH_DRIVER), driver));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));

        QProcess typing;
        typing.setProcessEnvironment(env);
        typing.setWorkingDirectory(QDir::tempPath());
        typing.start(driver, {});
        QVERIFY(typing.waitForStarted());
        const QStringList header = readLines(typing, 1, 30000);
        QCOMPARE(header.size(), 1);
        const QStringList keys = header[0].split(u' ').mid(1);
        QCOMPARE(keys.size(), 6);

        // Through all six boxes and into the second round.
        const QStringList lines = readLines(typing, 60, 60000);
        QCOMPARE(lines.size(), 60);
        QCOMPARE(::kill(static_cast<pid_t>(typing.processId()), SIGKILL), 0);
        QVERIFY(typing.waitForFinished(10000));
        QCOMPARE(typing.exitStatus(), QProcess::CrashExit);

        QString typed[6];
        for (const QString &line : lines) {
            const QStringList parts = line.split(u' ');
            QCOMPARE(parts.size(), 3);
            QCOMPARE(parts[0], u"typed"_qs);
            typed[parts[1].toInt() - 1] +=
                QString::fromUtf8(QByteArray::fromHex(parts[2].toLatin1()));
        }
        for (int i = 0; i < 6; ++i) {
            const std::optional<NoteRow> row = folder.row(keys[i]);
            QVERIFY2(row, qPrintable(keys[i]));
            QVERIFY2(row->plain.startsWith(typed[i]),
                     qPrintable(u"%1: %2 / %3"_qs.arg(keys[i], row->plain, typed[i])));
            QVERIFY(!typed[i].isEmpty());
        }

        // The lock of the killed process is stale, and the log is recovered.
        QProcess again;
        again.setProcessEnvironment(env);
        again.start(driver, {QStringLiteral("--print")});
        QVERIFY(again.waitForFinished(30000));
        QCOMPARE(again.exitCode(), 0);
        const QStringList shown =
            QString::fromLatin1(again.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(shown.size(), 6);
        for (int i = 0; i < 6; ++i) {
            const QString text =
                QString::fromUtf8(QByteArray::fromHex(shown[i].split(u' ').value(2).toLatin1()));
            QCOMPARE(text, folder.row(keys[i])->plain);
        }
    }
};

QTEST_GUILESS_MAIN(TstCrash)
#include "tst_crash.moc"
