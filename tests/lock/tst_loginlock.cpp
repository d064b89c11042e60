#include "lockfixture.h"
#include "loginlock.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <functional>

namespace
{
// Runs CheckLoginPassword while script acts on the prompt from inside its modal loop. A prompt
// the script leaves open is closed afterwards, so a fault shows as a failure, not a hang.
struct PromptRun {
    bool result = false;
    bool promptSeen = false;
    bool leftOpen = false;
};

PromptRun runCheck(const std::function<void(TLockLogin *)> &script)
{
    PromptRun run;
    QTimer::singleShot(0, [&] {
        auto *prompt = qobject_cast<TLockLogin *>(QApplication::activeModalWidget());
        if (!prompt) return;
        run.promptSeen = true;
        script(prompt);
        if (prompt->isVisible()) {
            run.leftOpen = true;
            prompt->reject();
        }
    });
    run.result = CheckLoginPassword(nullptr);
    QCoreApplication::processEvents();
    return run;
}

QLineEdit *passwordBox(TLockLogin *p)
{
    return p->findChild<QLineEdit *>(u"edtPW"_qs);
}
QPushButton *button(TLockLogin *p, const char *name)
{
    return p->findChild<QPushButton *>(QLatin1String(name));
}
} // namespace

class TestLoginLock : public QObject
{
    Q_OBJECT
private slots:
    void noPromptWithoutPassword_data();
    void noPromptWithoutPassword();
    void refusedThenAccepted_data();
    void refusedThenAccepted();
    void endsWithoutAcceptedPassword_data();
    void endsWithoutAcceptedPassword();
    void passwordRemovedWhilePromptOpen();
    void promptWindow();
};

void TestLoginLock::noPromptWithoutPassword_data()
{
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("no file") << false << QByteArray();
    QTest::newRow("empty file") << true << QByteArray();
    QTest::newRow("marker, lines 2 and 3 say on")
        << true << QByteArray("QZLMK7340216\r\nabc\r\n-1\r\n");
}

void TestLoginLock::noPromptWithoutPassword()
{
    QFETCH(bool, exists);
    QFETCH(QByteArray, bytes);
    LockFixture fx;
    if (exists) LockFixture::writeRaw(bytes);
    const PromptRun run = runCheck([](TLockLogin *) {});
    QVERIFY(run.result);
    QVERIFY(!run.promptSeen);
    QVERIFY(fx.messages.isEmpty());
    QCOMPARE(LockFixture::readRaw(), bytes);
}

void TestLoginLock::refusedThenAccepted_data()
{
    QTest::addColumn<QString>("stored"); // empty: written hashed from "right"
    QTest::addColumn<QString>("wrong");
    QTest::addColumn<QString>("right");
    QTest::newRow("lower case typed in upper case") << u"abc"_qs << u"ABC"_qs << u"abc"_qs;
    QTest::newRow("spaces kept") << u" a b "_qs << u"a b"_qs << u" a b "_qs;
    QTest::newRow("hashed") << QString() << u"Secret"_qs << u"secret"_qs;
}

void TestLoginLock::refusedThenAccepted()
{
    QFETCH(QString, stored);
    QFETCH(QString, wrong);
    QFETCH(QString, right);
    LockFixture fx;
    if (stored.isEmpty())
        QVERIFY(LoginFile::write(true, right));
    else
        LockFixture::writeRaw((stored + u"\r\n"_qs + stored + u"\r\n-1\r\n"_qs).toUtf8());

    QWidget *promptSeen = nullptr;
    int messagesAfterClick = -1;
    bool clearedAfterClick = false;
    bool focusAfterClick = false;
    const PromptRun run = runCheck([&](TLockLogin *p) {
        promptSeen = p;
        QLineEdit *edt = passwordBox(p);
        QTest::keyClicks(edt, wrong);
        button(p, "spdOK")->setFocus();
        button(p, "spdOK")->click();
        messagesAfterClick = int(fx.messages.size());
        clearedAfterClick = edt->text().isEmpty();
        focusAfterClick = p->focusWidget() == edt;
        QVERIFY(!LoginPassed);
        // Retries are unlimited; Enter in the box acts as 确定, once.
        QTest::keyClicks(edt, wrong);
        QTest::keyClick(edt, Qt::Key_Return);
        QTest::keyClicks(edt, right);
        QTest::keyClick(edt, Qt::Key_Return);
    });
    QVERIFY(run.promptSeen);
    QVERIFY(!run.leftOpen);
    QVERIFY(run.result);
    QVERIFY(LoginPassed);
    QCOMPARE(messagesAfterClick, 1);
    QVERIFY(clearedAfterClick);
    QVERIFY(focusAfterClick);
    QCOMPARE(fx.messages.size(), 2);
    for (const auto &m : fx.messages) {
        QCOMPARE(m.text, u"密码不正确,请重新输入登录密码!"_qs);
        QCOMPARE(m.caption, u"登陆提示"_qs);
        QCOMPARE(m.owner, promptSeen);
    }
}

void TestLoginLock::endsWithoutAcceptedPassword_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("取消") << u"cancel"_qs;
    QTest::newRow("Escape") << u"escape"_qs;
    QTest::newRow("closed by the window system") << u"close"_qs;
    QTest::newRow("file vanished before 确定") << u"vanish"_qs;
}

void TestLoginLock::endsWithoutAcceptedPassword()
{
    QFETCH(QString, how);
    LockFixture fx;
    LockFixture::writeRaw("abc\r\nabc\r\n-1\r\n");
    const PromptRun run = runCheck([&](TLockLogin *p) {
        QTest::keyClicks(passwordBox(p), u"abc"_qs);
        if (how == u"cancel") {
            button(p, "spdCancel")->click();
        } else if (how == u"escape") {
            QTest::keyClick(passwordBox(p), Qt::Key_Escape);
        } else if (how == u"close") {
            p->close();
        } else {
            QFile::remove(LoginFile::path());
            button(p, "spdOK")->click();
        }
    });
    QVERIFY(run.promptSeen);
    QVERIFY(!run.leftOpen);
    QVERIFY(!run.result);
    QVERIFY(!LoginPassed);
    QVERIFY(fx.messages.isEmpty());
}

void TestLoginLock::passwordRemovedWhilePromptOpen()
{
    LockFixture fx;
    LockFixture::writeRaw("abc\r\nabc\r\n-1\r\n");
    const PromptRun run = runCheck([&](TLockLogin *p) {
        LockFixture::writeRaw(MarkerFile);
        button(p, "spdOK")->click();
    });
    QVERIFY(run.promptSeen);
    QVERIFY(!run.leftOpen);
    QVERIFY(run.result);
    QVERIFY(fx.messages.isEmpty());
}

void TestLoginLock::promptWindow()
{
    LockFixture fx;
    LockFixture::writeRaw("abc\r\nabc\r\n-1\r\n");
    QStringList texts;
    QRect geometry;
    Qt::WindowFlags flags;
    bool modal = false;
    QLineEdit::EchoMode echo = QLineEdit::Normal;
    const PromptRun run = runCheck([&](TLockLogin *p) {
        for (const QLabel *l : p->findChildren<QLabel *>())
            texts << l->text();
        texts << button(p, "spdOK")->text() << button(p, "spdCancel")->text();
        geometry = p->geometry();
        flags = p->windowFlags();
        modal = p->isModal();
        echo = passwordBox(p)->echoMode();
        button(p, "spdCancel")->click();
    });
    QVERIFY(run.promptSeen);
    texts.sort();
    QStringList expected{u"用户名：KQ周记事本"_qs, u"密  码："_qs, u"确定"_qs, u"取消"_qs};
    expected.sort();
    QCOMPARE(texts, expected);
    QCOMPARE(geometry.size(), QSize(246, 145));
    QCOMPARE(geometry.center(), QGuiApplication::primaryScreen()->availableGeometry().center());
    QVERIFY(flags & Qt::FramelessWindowHint);
    QVERIFY(modal);
    QCOMPARE(echo, QLineEdit::Password);
}

QTEST_MAIN(TestLoginLock)
#include "tst_loginlock.moc"
