#pragma once

#include <QString>
#include <QThread>
#include <QUrl>
#include <functional>

// The one-shot worker that chooses the web strip's page: the remote page when its server can be
// reached, else the local page when it exists, else nothing. It never touches the strip; its
// single request reaches the UI thread through the queued signal navigateRequested.
class NavigateThr : public QThread
{
    Q_OBJECT

public:
    // Answers the network test for an address (a Connection::State value).
    using StateFunction = std::function<int(const QUrl &)>;

    // An invalid remote address (no host set) goes straight to the local page.
    NavigateThr(QUrl remote, QString localPage, StateFunction state = {},
                QObject *parent = nullptr);

signals:
    void navigateRequested(const QUrl &url);

protected:
    void run() override;

private:
    const QUrl m_remote;
    const QString m_localPage;
    const StateFunction m_state;
};
