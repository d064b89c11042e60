#include "webstrip.h"

#include "connectionstate.h"
#include "weblinks.h"
#include "weblinkview.h"

#include <QFileInfo>

WebStrip::WebStrip(QWidget *parent) : QFrame(parent), m_view(new WebLinkView(this))
{
    setObjectName(QStringLiteral("pnlWeb"));
    setFrameShape(QFrame::NoFrame);
    setFixedSize(298, 40);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    m_view->setGeometry(-14, -19, 2013, 844);
}

WebStrip::~WebStrip()
{
    if (m_worker && m_worker->isRunning()) {
        m_worker->requestInterruption();
        // The connect attempt checks for interruption every 50 ms; a worker that still runs
        // after the wait is left to end on its own and delete itself.
        if (m_worker->wait(1000)) delete m_worker.data();
    }
}

void WebStrip::start()
{
    Connection::loadNetworkInformation();
    start(WebLinks::remotePageUrl(), WebLinks::localPagePath());
}

void WebStrip::start(const QUrl &remote, const QString &localPage, NavigateThr::StateFunction state)
{
    m_view->navigate(QUrl(QStringLiteral("about:blank")));
    m_view->setFallback(QFileInfo(localPage).isFile() ? QUrl::fromLocalFile(localPage) : QUrl());
    if (m_worker) m_worker->requestInterruption();
    const quint64 generation = ++m_generation;
    auto *worker = new NavigateThr(remote, localPage, std::move(state));
    m_worker = worker;
    // Queued: the view is used on the UI thread only.
    connect(
        worker, &NavigateThr::navigateRequested, this,
        [this, generation](const QUrl &url) {
            if (generation == m_generation) m_view->navigate(url);
        },
        Qt::QueuedConnection);
    connect(worker, &QThread::finished, worker, &QObject::deleteLater);
    worker->start();
}
