#include "programfolder.h"
#include "textfile.h"

#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

class TstPlatform : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { ProgramFolder::setRoot({}); }

    void pathsUnderOneDataFolder_data()
    {
        QTest::addColumn<QString>("relative");
        QTest::addColumn<QString>("expected");
        QTest::newRow("Data backslash") << "Data\\UserData.db"
                                        << "Data/UserData.db";
        QTest::newRow("data lower case") << "data\\FormSize.ini"
                                         << "Data/FormSize.ini";
        QTest::newRow("DATA upper case") << "DATA/x.ini"
                                         << "Data/x.ini";
        QTest::newRow("source untouched") << "source\\DeskTopBG\\Mix.bmp"
                                          << "source/DeskTopBG/Mix.bmp";
        QTest::newRow("prefix is not the folder") << "database.txt"
                                                  << "database.txt";
    }
    void pathsUnderOneDataFolder()
    {
        QFETCH(QString, relative);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        ProgramFolder::setRoot(dir.path());
        QCOMPARE(ProgramFolder::path(relative), dir.path() + u'/' + expected);
    }

    void textFileRoundTripCrLf()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath("a.ini");
        QVERIFY(TextFile::writeLines(file, {u"1"_qs, u"中文 路径"_qs, QString()}));
        QFile raw(file);
        QVERIFY(raw.open(QIODevice::ReadOnly));
        QCOMPARE(raw.readAll(),
                 QByteArray("1\r\n\xe4\xb8\xad\xe6\x96\x87 \xe8\xb7\xaf\xe5\xbe\x84\r\n\r\n"));
        QCOMPARE(TextFile::readLines(file).value(),
                 (QStringList{u"1"_qs, u"中文 路径"_qs, QString()}));
    }

    void textFileReadsGbkAndMissing()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath("gbk.ini");
        QFile raw(file);
        QVERIFY(raw.open(QIODevice::WriteOnly));
        QStringEncoder gbk("GB18030");
        raw.write(QByteArray(gbk.encode(u"背景图片.bmp\r\n2\r\n"_qs)));
        raw.close();
        QCOMPARE(TextFile::readLines(file).value(), (QStringList{u"背景图片.bmp"_qs, u"2"_qs}));
        QVERIFY(!TextFile::readLines(dir.filePath("missing.ini")).has_value());
        QVERIFY(!TextFile::writeLines(dir.filePath("no/such/folder/x.ini"), {u"1"_qs}));
    }
};

QTEST_GUILESS_MAIN(TstPlatform)
#include "tst_platform.moc"
