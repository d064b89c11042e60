#include "navigatethr.h"

#include "connectionstate.h"

#include <QFileInfo>
#include <utility>

NavigateThr::NavigateThr(QUrl remote, QString localPage, StateFunction state, QObject *parent)
    : QThread(parent), m_remote(std::move(remote)), m_localPage(std::move(localPage)),
      m_state(state ? std::move(state) : StateFunction([](const QUrl &url) {
          return Connection::connectionState(url);
      }))
{
}

void NavigateThr::run()
{
    const int state = m_remote.isValid() ? m_state(m_remote) : Connection::Offline;
    if (isInterruptionRequested()) return;
    if (state == Connection::Reachable) {
        msleep(100);
        emit navigateRequested(m_remote);
        return;
    }
    if (!m_localPage.isEmpty() && QFileInfo(m_localPage).isFile())
        emit navigateRequested(QUrl::fromLocalFile(m_localPage));
}
