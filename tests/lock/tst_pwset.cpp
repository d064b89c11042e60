#include "lockfixture.h"
#include "loginlock.h"
#include "untpwset.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <functional>

namespace
{
// One opening of the setting window through ShowModal, with script acting inside its loop.
int openModal(TpwsetFrm &frm, const std::function<void()> &script)
{
    QTimer::singleShot(0, [&] {
        if (QApplication::activeModalWidget() != &frm) return;
        script();
        if (frm.isVisible()) frm.reject();
    });
    return frm.ShowModal();
}

struct Widgets {
    QCheckBox *check;
    QLineEdit *edit1;
    QLineEdit *edit2;
    QPushButton *apply;
    QToolButton *close;

    explicit Widgets(TpwsetFrm &frm)
        : check(frm.findChild<QCheckBox *>(u"JCheckbox1"_qs)),
          edit1(frm.findChild<QLineEdit *>(u"edit1"_qs)),
          edit2(frm.findChild<QLineEdit *>(u"edit2"_qs)),
          apply(frm.findChild<QPushButton *>(u"JvXPButton1"_qs)),
          close(frm.findChild<QToolButton *>(u"JvXPToolButton1"_qs))
    {
    }
};
} // namespace

class TestPwset : public QObject
{
    Q_OBJECT
private slots:
    void validation_data();
    void validation();
    void untickedApplyWritesMarker();
    void tickedApplyLocksNextStart();
    void stateKeptBetweenOpenings();
    void formShow_data();
    void formShow();
    void unwritableFileKeepsWindowOpen();
};

void TestPwset::validation_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    QTest::newRow("both empty") << QString() << QString() << u"请输入登录密码!"_qs << u"edit1"_qs;
    QTest::newRow("first empty") << QString() << u"abc"_qs << u"请输入登录密码!"_qs << u"edit1"_qs;
    QTest::newRow("second empty") << u"abc"_qs << QString() << u"请再次输入登录密码!"_qs
                                  << u"edit2"_qs;
    QTest::newRow("different") << u"abc"_qs << u"abC"_qs << u"两次输入的密码不一致!"_qs
                               << u"JvXPButton1"_qs;
    QTest::newRow("differ by a space")
        << u"abc "_qs << u"abc"_qs << u"两次输入的密码不一致!"_qs << u"JvXPButton1"_qs;
}

void TestPwset::validation()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    LockFixture fx;
    LockFixture::writeRaw(MarkerFile);
    TpwsetFrm frm;
    Widgets w(frm);
    frm.show();
    w.check->setChecked(true);
    w.edit1->setText(first);
    w.edit2->setText(second);
    w.apply->setFocus();
    w.apply->click();

    QCOMPARE(fx.messages.size(), 1);
    QCOMPARE(fx.messages[0].text, message);
    QCOMPARE(fx.messages[0].caption, u"KQ周记事本"_qs);
    QCOMPARE(frm.focusWidget()->objectName(), focus);
    QVERIFY(frm.isVisible());
    QCOMPARE(w.edit1->text(), first);
    QCOMPARE(w.edit2->text(), second);
    QCOMPARE(LockFixture::readRaw(), MarkerFile);
}

void TestPwset::untickedApplyWritesMarker()
{
    LockFixture fx;
    LockFixture::writeRaw("abc\r\nabc\r\n-1\r\n");
    TpwsetFrm frm;
    Widgets w(frm);
    const int result = openModal(frm, [&] {
        w.check->setChecked(false);
        w.edit1->setText(u"one"_qs);
        w.edit2->setText(u"two"_qs);
        w.apply->click();
    });
    QCOMPARE(result, int(QDialog::Accepted));
    QCOMPARE(LockFixture::readRaw(), MarkerFile);
    QCOMPARE(fx.messages.size(), 1);
    QCOMPARE(fx.messages[0].text, u"取消密码成功!"_qs);
    QCOMPARE(fx.messages[0].caption, u"提示"_qs);
    QCOMPARE(fx.messages[0].owner, &frm);
}

void TestPwset::tickedApplyLocksNextStart()
{
    // A plain-text password of an earlier version is replaced by a hash.
    LockFixture fx;
    LockFixture::writeRaw("old\r\nold\r\n-1\r\n");
    const QString password = u" new 密码 "_qs;
    TpwsetFrm frm;
    Widgets w(frm);
    const int result = openModal(frm, [&] {
        QVERIFY(w.check->isChecked());
        w.edit1->setText(password);
        w.edit2->setText(password);
        w.apply->click();
    });
    QCOMPARE(result, int(QDialog::Accepted));
    QCOMPARE(fx.messages.size(), 1);
    QCOMPARE(fx.messages[0].text, u"设置登录密码成功!"_qs);
    QCOMPARE(fx.messages[0].caption, u"提示"_qs);

    const QByteArray raw = LockFixture::readRaw();
    QVERIFY(!raw.contains(password.toUtf8()));
    QVERIFY(!raw.contains(password.trimmed().toUtf8()));
    QVERIFY(!raw.contains("old"));
    const QStringList lines = *LoginFile::read();
    QCOMPARE(lines.size(), 3);
    QVERIFY(LoginFile::isHash(lines[0]));
    QCOMPARE(lines[2], u"-1"_qs);

    // The next start asks for exactly that password.
    bool promptSeen = false;
    QTimer::singleShot(0, [&] {
        auto *prompt = qobject_cast<TLockLogin *>(QApplication::activeModalWidget());
        if (!prompt) return;
        promptSeen = true;
        auto *edt = prompt->findChild<QLineEdit *>(u"edtPW"_qs);
        edt->setText(password); // keyClicks types Latin-1 only
        QTest::keyClick(edt, Qt::Key_Return);
        if (prompt->isVisible()) prompt->reject();
    });
    QVERIFY(CheckLoginPassword(nullptr));
    QVERIFY(promptSeen);
    QCOMPARE(fx.messages.size(), 1);
}

void TestPwset::stateKeptBetweenOpenings()
{
    LockFixture fx;
    LockFixture::writeRaw(MarkerFile);
    QWidget owner;
    owner.setGeometry(200, 150, 800, 600);
    owner.show();
    TpwsetFrm frm(&owner);
    Widgets w(frm);

    QPoint centre;
    int first = openModal(frm, [&] {
        centre = frm.frameGeometry().center();
        QVERIFY(!w.check->isChecked());
        w.check->setChecked(true);
        w.edit1->setText(u"abc"_qs);
        w.close->click();
    });
    QCOMPARE(first, int(QDialog::Rejected));
    QCOMPARE(centre, owner.frameGeometry().center());
    QCOMPARE(LockFixture::readRaw(), MarkerFile);

    bool ticked = false;
    QString kept;
    openModal(frm, [&] {
        ticked = w.check->isChecked();
        kept = w.edit1->text();
        w.close->click();
    });
    QVERIFY(ticked);
    QCOMPARE(kept, u"abc"_qs);
    QCOMPARE(LockFixture::readRaw(), MarkerFile);
    QVERIFY(fx.messages.isEmpty());
    QCOMPARE(w.close->toolTip(), u"关闭"_qs);
}

void TestPwset::formShow_data()
{
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("ticked");
    QTest::addColumn<bool>("reported");
    QTest::newRow("line 3 says on") << true << QByteArray("x\r\nx\r\n-1\r\n") << true << false;
    QTest::newRow("line 3 says off") << true << MarkerFile << false << false;
    QTest::newRow("no file yet") << false << QByteArray() << false << false;
    QTest::newRow("two lines") << true << QByteArray("x\r\nx\r\n") << false << true;
    QTest::newRow("empty file") << true << QByteArray() << false << true;
}

void TestPwset::formShow()
{
    QFETCH(bool, exists);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, ticked);
    QFETCH(bool, reported);
    LockFixture fx;
    if (exists) LockFixture::writeRaw(bytes);
    TpwsetFrm frm;
    frm.FormShow();
    QCOMPARE(Widgets(frm).check->isChecked(), ticked);
    QCOMPARE(fx.messages.size(), reported ? 1 : 0);
    if (reported) {
        QCOMPARE(fx.messages[0].caption, u"KQ周记事本"_qs);
        QVERIFY(fx.messages[0].text.contains(LoginFile::path()));
    }
}

void TestPwset::unwritableFileKeepsWindowOpen()
{
    LockFixture fx;
    QVERIFY(QDir(fx.dir.path()).rmdir(u"Data"_qs));
    TpwsetFrm frm;
    Widgets w(frm);
    frm.show();
    w.apply->click();
    QVERIFY(frm.isVisible());
    QCOMPARE(fx.messages.size(), 1);
    QCOMPARE(fx.messages[0].caption, u"KQ周记事本"_qs);
    QVERIFY(fx.messages[0].text.contains(LoginFile::path()));
    QVERIFY(!QFile::exists(LoginFile::path()));
}

QTEST_MAIN(TestPwset)
#include "tst_pwset.moc"
