#include "connectionstate.h"
#include "navigatethr.h"
#include "programfolder.h"
#include "weblinks.h"
#include "weblinkview.h"
#include "webstrip.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QFile>
#include <QMenu>
#include <QSignalSpy>
#include <QStringEncoder>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <atomic>

namespace
{

// Answers every request on 127.0.0.1 with one fixed HTTP response.
class PageServer : public QTcpServer
{
public:
    PageServer(QByteArray status, QByteArray contentType, QByteArray body)
        : m_response("HTTP/1.1 " + status + "\r\nContent-Type: " + contentType +
                     "\r\nContent-Length: " + QByteArray::number(body.size()) +
                     "\r\nConnection: close\r\n\r\n" + body)
    {
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *s = nextPendingConnection()) {
                connect(s, &QTcpSocket::readyRead, s, [this, s] {
                    if (!s->readAll().contains("\r\n\r\n")) return;
                    ++requests;
                    s->write(m_response);
                    s->disconnectFromHost();
                });
                connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
            }
        });
        listen(QHostAddress::LocalHost);
    }
    QUrl url(const QString &path) const
    {
        return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(serverPort()).arg(path));
    }
    int requests = 0;

private:
    QByteArray m_response;
};

quint16 closedPort()
{
    QTcpServer s;
    s.listen(QHostAddress::LocalHost);
    const quint16 port = s.serverPort();
    s.close();
    return port;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

} // namespace

class TestWebStrip : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void links_data();
    void links();
    void configuredHostIsTheBuildSetting();

    void connectionState_data();
    void connectionState();

    void navigation_data();
    void navigation();
    void remoteRequestWaitsAfterTheTest();

    void decodeHtml_data();
    void decodeHtml();

    void linksAreFollowedInTheStrip();
    void remotePageGetsNoLocalFiles();

    void contextMenu_data();
    void contextMenu();

    void shippedPageFillsTheOpening();

private:
    QTemporaryDir m_dir;
    QString m_local;
};

void TestWebStrip::initTestCase()
{
    QVERIFY(m_dir.isValid());
    ProgramFolder::setRoot(m_dir.path());
    m_local = WebLinks::localPagePath();
    QVERIFY(m_local.startsWith(m_dir.path()));
}

void TestWebStrip::cleanupTestCase()
{
    ProgramFolder::setRoot(QString());
}

void TestWebStrip::links_data()
{
    QTest::addColumn<QString>("host");
    QTest::addColumn<QString>("remote"); // empty: no remote page
    QTest::addColumn<QString>("help");   // a path: under the program folder
    QTest::addColumn<QString>("feedback");

    QTest::newRow("no host: shipped pages") << ""
                                            << ""
                                            << "source/help/help.htm"
                                            << "source/help/feedback.htm";
    QTest::newRow("blanks only") << "  "
                                 << ""
                                 << "source/help/help.htm"
                                 << "source/help/feedback.htm";
    QTest::newRow("bare host") << "www.example.org"
                               << "http://www.example.org/rs/KQ3.htm"
                               << "http://www.example.org/help4/kq1.htm"
                               << "http://www.example.org/help4/kq2.htm";
    QTest::newRow("host and port") << " example.org:8080 "
                                   << "http://example.org:8080/rs/KQ3.htm"
                                   << "http://example.org:8080/help4/kq1.htm"
                                   << "http://example.org:8080/help4/kq2.htm";
    QTest::newRow("https with a base path") << "https://example.org/kq/"
                                            << "https://example.org/kq/rs/KQ3.htm"
                                            << "https://example.org/kq/help4/kq1.htm"
                                            << "https://example.org/kq/help4/kq2.htm";
    QTest::newRow("other scheme: unusable") << "ftp://example.org"
                                            << ""
                                            << "source/help/help.htm"
                                            << "source/help/feedback.htm";
}

void TestWebStrip::links()
{
    QFETCH(QString, host);
    QFETCH(QString, remote);
    QFETCH(QString, help);
    QFETCH(QString, feedback);

    QCOMPARE(WebLinks::remotePageUrl(host).toString(), remote);
    const auto expect = [this](const QString &s) {
        return s.startsWith(QLatin1String("http")) ? QUrl(s)
                                                   : QUrl::fromLocalFile(m_dir.filePath(s));
    };
    QCOMPARE(WebLinks::helpUrl(host), expect(help));
    QCOMPARE(WebLinks::feedbackUrl(host), expect(feedback));
}

void TestWebStrip::configuredHostIsTheBuildSetting()
{
    QCOMPARE(WebLinks::configuredHost(), QStringLiteral(KQ_TEST_WEB_HOST).trimmed());
    QCOMPARE(WebLinks::remotePageUrl(), WebLinks::remotePageUrl(WebLinks::configuredHost()));
}

void TestWebStrip::connectionState_data()
{
    QTest::addColumn<bool>("systemOnline");
    QTest::addColumn<bool>("serverListens");
    QTest::addColumn<int>("expected");

    QTest::newRow("online, server answers") << true << true << int(Connection::Reachable);
    QTest::newRow("online, connection refused") << true << false << int(Connection::Unreachable);
    QTest::newRow("offline: server not tried") << false << true << int(Connection::Offline);
}

void TestWebStrip::connectionState()
{
    QFETCH(bool, systemOnline);
    QFETCH(bool, serverListens);
    QFETCH(int, expected);

    QTcpServer server;
    QUrl url;
    if (serverListens) {
        QVERIFY(server.listen(QHostAddress::LocalHost));
        url = QUrl(QStringLiteral("http://127.0.0.1:%1/rs/KQ3.htm").arg(server.serverPort()));
    } else {
        url = QUrl(QStringLiteral("http://127.0.0.1:%1/rs/KQ3.htm").arg(closedPort()));
    }
    QCOMPARE(int(Connection::stateFor(systemOnline, url, 2000)), expected);
    QCoreApplication::processEvents();
    if (!systemOnline) QVERIFY(!server.hasPendingConnections());
}

void TestWebStrip::navigation_data()
{
    QTest::addColumn<QString>("host"); // "server", "refused" (page fetch fails) or ""
    QTest::addColumn<int>("state");    // the network test's answer
    QTest::addColumn<bool>("localPresent");
    QTest::addColumn<QString>("shown"); // "remote", "local" or "blank"

    QTest::newRow("offline, local page") << "server" << int(Connection::Offline) << true << "local";
    QTest::newRow("server unreachable, local page")
        << "server" << int(Connection::Unreachable) << true << "local";
    QTest::newRow("offline, no local page: stays blank")
        << "server" << int(Connection::Offline) << false << "blank";
    QTest::newRow("reachable: remote page")
        << "server" << int(Connection::Reachable) << true << "remote";
    QTest::newRow("reachable, page fetch fails: local page")
        << "refused" << int(Connection::Reachable) << true << "local";
    QTest::newRow("no host: local page, no network test") << "" << -1 << true << "local";
}

void TestWebStrip::navigation()
{
    QFETCH(QString, host);
    QFETCH(int, state);
    QFETCH(bool, localPresent);
    QFETCH(QString, shown);

    QDir().mkpath(QFileInfo(m_local).absolutePath());
    QFile::remove(m_local);
    if (localPresent) QVERIFY(writeFile(m_local, QStringLiteral("<p>本地页面</p>").toUtf8()));

    // The remote page in GBK, labelled in the HTTP header, as older servers send it.
    QStringEncoder gbk("GB18030");
    PageServer server(host == "refused" ? "404 Not Found" : "200 OK", "text/html; charset=gbk",
                      gbk.encode(QStringLiteral("<p>远程页面</p>")));
    QVERIFY(server.isListening());
    QUrl remote;
    if (host == "server")
        remote = server.url("/rs/KQ3.htm");
    else if (host == "refused")
        remote = server.url("/rs/KQ3.htm");

    std::atomic<bool> asked{false};
    std::atomic<bool> askedOnUiThread{false};
    QThread *ui = QThread::currentThread();
    WebStrip strip;
    QVector<QUrl> urls;
    bool allOnUiThread = true;
    connect(strip.view(), &WebLinkView::navigated, this, [&](const QUrl &url) {
        urls << url;
        allOnUiThread = allOnUiThread && QThread::currentThread() == ui;
    });
    strip.start(remote, m_local, [&](const QUrl &) {
        askedOnUiThread = QThread::currentThread() == ui;
        asked = true;
        return state;
    });

    if (shown == "blank") {
        QTRY_VERIFY(asked);
        QTest::qWait(300); // a request would be queued right after the answer
        QCOMPARE(urls, QVector<QUrl>{QUrl("about:blank")});
        QVERIFY(strip.view()->toPlainText().isEmpty());
        return;
    }
    QTRY_COMPARE_WITH_TIMEOUT(urls.size(), 2, 10000);
    QCOMPARE(urls.first(), QUrl("about:blank"));
    QVERIFY(allOnUiThread);
    QCOMPARE(asked.load(), state >= 0);
    QVERIFY(!askedOnUiThread);
    if (shown == "remote") {
        QCOMPARE(urls.last(), remote);
        QCOMPARE(strip.view()->toPlainText(), QStringLiteral("远程页面"));
    } else {
        QCOMPARE(urls.last(), QUrl::fromLocalFile(m_local));
        QCOMPARE(strip.view()->toPlainText(), QStringLiteral("本地页面"));
    }
    QCOMPARE(server.requests, host == "" || state != Connection::Reachable ? 0 : 1);
}

// The worker waits 100 ms between a test that reached the server and its request for the
// remote page.
void TestWebStrip::remoteRequestWaitsAfterTheTest()
{
    QElapsedTimer clock;
    clock.start();
    std::atomic<qint64> answeredAt{-1};
    std::atomic<qint64> requestedAt{-1};
    NavigateThr worker(QUrl("http://127.0.0.1:1/rs/KQ3.htm"), m_local, [&](const QUrl &) {
        answeredAt = clock.nsecsElapsed();
        return int(Connection::Reachable);
    });
    connect(
        &worker, &NavigateThr::navigateRequested, this,
        [&](const QUrl &) { requestedAt = clock.nsecsElapsed(); }, Qt::DirectConnection);
    worker.start();
    QVERIFY(worker.wait(10000));
    QVERIFY(answeredAt >= 0 && requestedAt >= 0);
    QVERIFY2(requestedAt - answeredAt >= 100'000'000,
             qPrintable(QString::number((requestedAt - answeredAt) / 1'000'000)));
}

void TestWebStrip::decodeHtml_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("contentType");

    QStringEncoder gbk("GB18030");
    const QByteArray gbkBody = gbk.encode(QStringLiteral("<p>农历记事</p>"));
    const QByteArray utf8Body = QStringLiteral("<p>农历记事</p>").toUtf8();
    QTest::newRow("header says gbk") << gbkBody << QByteArray("text/html; charset=GBK");
    QTest::newRow("meta says gb2312")
        << QByteArray("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">") +
               gbkBody
        << QByteArray("text/html");
    QTest::newRow("unlabelled UTF-8") << utf8Body << QByteArray();
    QTest::newRow("unlabelled GBK: GB18030 fallback") << gbkBody << QByteArray();
    QTest::newRow("label wrong, bytes GBK") << gbkBody << QByteArray("text/html; charset=utf-8");
    QTest::newRow("unknown label") << utf8Body << QByteArray("text/html; charset=x-nonsense");
}

void TestWebStrip::decodeHtml()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, contentType);
    QVERIFY(
        WebLinkView::decodeHtml(bytes, contentType).endsWith(QStringLiteral("<p>农历记事</p>")));
}

void TestWebStrip::linksAreFollowedInTheStrip()
{
    QTemporaryDir dir;
    QVERIFY(writeFile(dir.filePath("a.htm"), "<p><a href=\"b.htm\">next</a></p>"));
    QVERIFY(writeFile(dir.filePath("b.htm"), "<p>second</p>"));
    WebLinkView view;
    QSignalSpy spy(&view, &WebLinkView::navigated);
    view.navigate(QUrl::fromLocalFile(dir.filePath("a.htm")));
    emit view.anchorClicked(QUrl("b.htm")); // as a click on the link reports it
    QCOMPARE(spy.size(), 2);
    QCOMPARE(view.currentUrl(), QUrl::fromLocalFile(dir.filePath("b.htm")));
    QCOMPARE(view.toPlainText(), QStringLiteral("second"));

    // a missing file leaves the page as it is
    view.navigate(QUrl::fromLocalFile(dir.filePath("missing.htm")));
    QCOMPARE(spy.size(), 2);
    QCOMPARE(view.toPlainText(), QStringLiteral("second"));
}

void TestWebStrip::remotePageGetsNoLocalFiles()
{
    // loadResource is what the page's <img> and <link> elements call.
    class View : public WebLinkView
    {
    public:
        using WebLinkView::loadResource;
    } view;
    QTemporaryDir dir;
    const QString picture = dir.filePath("p.png");
    QImage(4, 4, QImage::Format_RGB32).save(picture);
    const QUrl local = QUrl::fromLocalFile(picture);

    QVERIFY(writeFile(m_dir.filePath("page.htm"), "<p>local</p>"));
    view.navigate(QUrl::fromLocalFile(m_dir.filePath("page.htm")));
    QVERIFY(!view.loadResource(QTextDocument::ImageResource, local).isNull());

    PageServer server("200 OK", "text/html; charset=utf-8", "<p>remote</p>");
    QSignalSpy spy(&view, &WebLinkView::navigated);
    view.navigate(server.url("/rs/KQ3.htm"));
    QTRY_COMPARE(spy.size(), 1);
    QVERIFY(view.loadResource(QTextDocument::ImageResource, local).isNull());
}

void TestWebStrip::contextMenu_data()
{
    QTest::addColumn<bool>("plainBrowser"); // the control: a plain view does show a menu
    QTest::addColumn<bool>("byKeyboard");

    QTest::newRow("plain view, mouse") << true << false;
    QTest::newRow("strip, mouse") << false << false;
    QTest::newRow("strip, menu key") << false << true;
}

void TestWebStrip::contextMenu()
{
    QFETCH(bool, plainBrowser);
    QFETCH(bool, byKeyboard);

    QWidget window;
    window.resize(400, 200);
    int parentMenus = 0;
    class Counter : public QObject
    {
    public:
        explicit Counter(int &n) : m_n(n) {}
        bool eventFilter(QObject *, QEvent *e) override
        {
            if (e->type() == QEvent::ContextMenu) ++m_n;
            return false;
        }
        int &m_n;
    } counter(parentMenus);
    window.installEventFilter(&counter);

    QTextBrowser *view;
    if (plainBrowser) {
        view = new QTextBrowser(&window);
        view->setGeometry(0, 0, 300, 100);
        view->setHtml(QStringLiteral("<p>text</p>"));
    } else {
        auto *strip = new WebStrip(&window);
        view = strip->view();
        view->setHtml(QStringLiteral("<p>text</p>"));
    }
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // as after a left click into the page: a text view offers its menu only while focused
    view->setFocus();
    QTRY_VERIFY(view->hasFocus());

    bool menuShown = false;
    QTimer closer;
    connect(&closer, &QTimer::timeout, this, [&] {
        if (QWidget *popup = QApplication::activePopupWidget()) {
            menuShown = true;
            popup->close();
        }
    });
    closer.start(20);

    QWidget *target = byKeyboard ? static_cast<QWidget *>(view) : view->viewport();
    const QPoint pos(30, 30);
    QTest::mousePress(view->viewport(), Qt::RightButton, {}, pos);
    QContextMenuEvent event(byKeyboard ? QContextMenuEvent::Keyboard : QContextMenuEvent::Mouse,
                            pos, target->mapToGlobal(pos));
    QApplication::sendEvent(target, &event);
    QTest::mouseRelease(view->viewport(), Qt::RightButton, {}, pos);
    QTest::qWait(100);

    QCOMPARE(menuShown, plainBrowser);
    if (!plainBrowser) QCOMPARE(parentMenus, 0); // not handed on to the window's own menu either
}

void TestWebStrip::shippedPageFillsTheOpening()
{
    QWidget window;
    auto *strip = new WebStrip(&window);
    strip->move(2, 2);
    window.resize(320, 60);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QSignalSpy spy(strip->view(), &WebLinkView::navigated);
    strip->view()->navigate(QUrl::fromLocalFile(QStringLiteral(KQ_TEST_SHIPPED_PAGE)));
    QCOMPARE(spy.size(), 1);
    QVERIFY(!strip->view()->toPlainText().trimmed().isEmpty());

    // The page is laid out for the opening at (14, 19) of the view: its accent bar runs down the
    // strip's left edge from top to bottom, and its tint reaches the right-hand corners.
    const QImage shot = strip->grab().toImage();
    QCOMPARE(shot.size(), QSize(298, 40));
    for (const QPoint &p : {QPoint(2, 1), QPoint(2, 38)}) {
        const QColor c = shot.pixelColor(p);
        QVERIFY2(c.blue() > 150 && c.red() < 120,
                 qPrintable(QStringLiteral("no accent at %1,%2").arg(p.x()).arg(p.y())));
    }
    for (const QPoint &p : {QPoint(296, 1), QPoint(296, 38)})
        QVERIFY2(shot.pixelColor(p) != QColor(Qt::white),
                 qPrintable(QStringLiteral("white at %1,%2").arg(p.x()).arg(p.y())));
}

QTEST_MAIN(TestWebStrip)
#include "tst_webstrip.moc"
