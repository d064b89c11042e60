#include "lockfixture.h"

#include <QStringEncoder>

class TestLoginFile : public QObject
{
    Q_OBJECT
private slots:
    void lockedByLineOne_data();
    void lockedByLineOne();
    void plainTextComparedExactly_data();
    void plainTextComparedExactly();
    void legacyGbkFileReads();
    void passwordStoredAsHashOnly();
    void passwordEqualToMarkerLocks();
    void markerLinesReplaceOldFile();
    void writeFailsWithoutDataFolder();
};

void TestLoginFile::lockedByLineOne_data()
{
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("locked");
    QTest::newRow("no file") << false << QByteArray() << false;
    QTest::newRow("empty file") << true << QByteArray() << false;
    QTest::newRow("marker, other lines ignored")
        << true << QByteArray("QZLMK7340216\r\nx\r\n-1\r\n") << false;
    QTest::newRow("marker alone, no line end") << true << QByteArray("QZLMK7340216") << false;
    QTest::newRow("plain password") << true << QByteArray("abc\r\nabc\r\n-1\r\n") << true;
    QTest::newRow("marker in lower case") << true << QByteArray("qzlmk7340216\r\n") << true;
    QTest::newRow("marker with a trailing space")
        << true << QByteArray("QZLMK7340216 \r\n") << true;
    QTest::newRow("LF line ends") << true << QByteArray("QZLMK7340216\nQZLMK7340216\n0\n") << false;
}

void TestLoginFile::lockedByLineOne()
{
    QFETCH(bool, exists);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, locked);
    LockFixture fx;
    if (exists) LockFixture::writeRaw(bytes);
    const auto line1 = LoginFile::firstLine();
    QCOMPARE(line1.has_value() && LoginFile::isLocked(*line1), locked);
}

void TestLoginFile::plainTextComparedExactly_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("match");
    QTest::newRow("same") << u"abc"_qs << u"abc"_qs << true;
    QTest::newRow("upper case for lower") << u"abc"_qs << u"ABC"_qs << false;
    QTest::newRow("spaces kept") << u" a b "_qs << u" a b "_qs << true;
    QTest::newRow("spaces trimmed") << u" a b "_qs << u"a b"_qs << false;
    QTest::newRow("prefix") << u"abc"_qs << u"ab"_qs << false;
    QTest::newRow("empty typed") << u"abc"_qs << QString() << false;
    QTest::newRow("Chinese") << u"周记本"_qs << u"周记本"_qs << true;
}

void TestLoginFile::plainTextComparedExactly()
{
    QFETCH(QString, stored);
    QFETCH(QString, typed);
    QFETCH(bool, match);
    QVERIFY(!LoginFile::isHash(stored));
    QCOMPARE(LoginFile::matches(stored, typed), match);
}

void TestLoginFile::legacyGbkFileReads()
{
    // Files carried over from a Windows installation are in GBK.
    LockFixture fx;
    QStringEncoder gbk("GB18030");
    LockFixture::writeRaw(gbk.encode(u"密码\r\n密码\r\n-1\r\n"_qs));
    const auto line1 = LoginFile::firstLine();
    QVERIFY(line1);
    QVERIFY(LoginFile::isLocked(*line1));
    QVERIFY(LoginFile::matches(*line1, u"密码"_qs));
}

void TestLoginFile::passwordStoredAsHashOnly()
{
    LockFixture fx;
    const QString password = u" Pass 周 "_qs;
    QVERIFY(LoginFile::write(true, password));

    const QByteArray raw = LockFixture::readRaw();
    QVERIFY(!raw.contains(password.toUtf8()));
    QVERIFY(!raw.contains(password.trimmed().toUtf8()));
    QVERIFY(raw.endsWith("\r\n-1\r\n"));
    QCOMPARE(raw.count('\n'), 3);
    QCOMPARE(raw.count("\r\n"), 3);
    QCOMPARE(QFile::permissions(LoginFile::path()) & 0x7077,
             QFileDevice::ReadOwner | QFileDevice::WriteOwner);

    const QStringList lines = *LoginFile::read();
    QCOMPARE(lines.size(), 3);
    QVERIFY(lines[0].startsWith(u"$argon2id$"_qs));
    QCOMPARE(lines[1], lines[0]);
    QVERIFY(LoginFile::isLocked(lines[0]));
    QVERIFY(LoginFile::matches(lines[0], password));
    QVERIFY(!LoginFile::matches(lines[0], password.trimmed()));
    QVERIFY(!LoginFile::matches(lines[0], password.toLower()));
}

void TestLoginFile::passwordEqualToMarkerLocks()
{
    LockFixture fx;
    QVERIFY(LoginFile::write(true, LoginFile::Marker));
    const auto line1 = LoginFile::firstLine();
    QVERIFY(line1);
    QVERIFY(LoginFile::isLocked(*line1));
}

void TestLoginFile::markerLinesReplaceOldFile()
{
    LockFixture fx;
    LockFixture::writeRaw("old secret\r\nold secret\r\n-1\r\nextra\r\n");
    QFile::setPermissions(LoginFile::path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                 QFileDevice::ReadGroup | QFileDevice::ReadOther);
    QVERIFY(LoginFile::write(false, u"ignored"_qs));
    QCOMPARE(LockFixture::readRaw(), MarkerFile);
    QCOMPARE(QFile::permissions(LoginFile::path()) & 0x7077,
             QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

void TestLoginFile::writeFailsWithoutDataFolder()
{
    LockFixture fx;
    QVERIFY(QDir(fx.dir.path()).rmdir(u"Data"_qs));
    QVERIFY(!LoginFile::write(false));
    QVERIFY(!QFile::exists(LoginFile::path()));
}

QTEST_GUILESS_MAIN(TestLoginFile)
#include "tst_loginfile.moc"
