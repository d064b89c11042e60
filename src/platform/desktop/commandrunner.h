#pragma once

#include <QString>
#include <QStringList>

// Runs a desktop's settings tool and waits for it, never longer than the timeout.
struct CommandResult {
    bool started = false;
    bool timedOut = false;
    int exitCode = -1;
    QString out;
    QString err;
    bool ok() const { return started && !timedOut && exitCode == 0; }
};

namespace CommandRunner
{
inline constexpr int kTimeoutMs = 10'000;
CommandResult run(const QString &program, const QStringList &arguments, int timeoutMs = kTimeoutMs);
// A one-line account of a failed run, for the user's message.
QString describe(const QString &program, const CommandResult &result);
} // namespace CommandRunner
