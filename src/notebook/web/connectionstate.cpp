#include "connectionstate.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QNetworkInformation>
#include <QTcpSocket>
#include <QThread>
#include <QTimer>

namespace Connection
{

bool loadNetworkInformation()
{
    if (QNetworkInformation::instance()) return true;
    if (QNetworkInformation::availableBackends().contains(QLatin1String("glib")) &&
        QNetworkInformation::loadBackendByName(u"glib"))
        return true;
    return QNetworkInformation::loadDefaultBackend();
}

bool systemReportsConnection()
{
    const QNetworkInformation *info = QNetworkInformation::instance();
    return !info || info->reachability() != QNetworkInformation::Reachability::Disconnected;
}

bool canConnect(const QUrl &address, int timeoutMs)
{
    if (!address.isValid() || address.host().isEmpty()) return false;
    const int port = address.port(address.scheme() == QLatin1String("https") ? 443 : 80);

    // An event loop rather than waitForConnected(): the host lookup then runs asynchronously and
    // the timeout covers it too.
    QEventLoop loop;
    QTcpSocket socket;
    bool connected = false;
    QObject::connect(&socket, &QTcpSocket::connected, &loop, [&] {
        connected = true;
        loop.quit();
    });
    QObject::connect(&socket, &QTcpSocket::errorOccurred, &loop, &QEventLoop::quit);
    QElapsedTimer clock;
    clock.start();
    QTimer tick;
    tick.setInterval(50);
    QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
        if (clock.elapsed() >= timeoutMs || QThread::currentThread()->isInterruptionRequested())
            loop.quit();
    });
    tick.start();
    socket.connectToHost(address.host(), quint16(port));
    if (socket.state() != QAbstractSocket::UnconnectedState) loop.exec();
    socket.abort();
    return connected;
}

State stateFor(bool systemOnline, const QUrl &address, int timeoutMs)
{
    if (!systemOnline) return Offline;
    return canConnect(address, timeoutMs) ? Reachable : Unreachable;
}

State connectionState(const QUrl &address, int timeoutMs)
{
    return stateFor(systemReportsConnection(), address, timeoutMs);
}

} // namespace Connection
