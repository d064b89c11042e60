#pragma once

#include <QUrl>

// Whether the web strip's server can be reached: the system's network state first, then a TCP
// connect to the server with a short timeout. Blocks for up to the timeout, so it runs on the
// navigation worker, never on the UI thread.
namespace Connection
{

enum State : int {
    Reachable = 0,   // the server accepted a connection
    Unreachable = 1, // a network, but no connection to the server
    Offline = 2,     // the system reports no network connection; the server is not tried
};

inline constexpr int kConnectTimeoutMs = 3000;

// Loads the system's network-state backend ("glib" when present, else the default one). Call on
// the UI thread: the backend is updated through that thread's event loop.
bool loadNetworkInformation();

// False only when a loaded backend reports no connection; with no backend, or an unknown
// state, the connect attempt decides.
bool systemReportsConnection();

// A TCP connect to the address's host and port (80 for http, 443 for https), given up after
// timeoutMs or when the calling thread is asked to stop.
bool canConnect(const QUrl &address, int timeoutMs);

// The state from a given system answer, so that callers and tests can supply it.
State stateFor(bool systemOnline, const QUrl &address, int timeoutMs = kConnectTimeoutMs);

// The state as the system and the server answer now.
State connectionState(const QUrl &address, int timeoutMs = kConnectTimeoutMs);

} // namespace Connection
