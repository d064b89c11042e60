#include "commandrunner.h"

#include <QProcess>
#include <QStandardPaths>

namespace CommandRunner
{

CommandResult run(const QString &program, const QStringList &arguments, int timeoutMs)
{
    CommandResult result;
    const QString exe = QStandardPaths::findExecutable(program);
    if (exe.isEmpty()) return result;
    QProcess process;
    process.setProgram(exe);
    process.setArguments(arguments);
    process.setStandardInputFile(QProcess::nullDevice());
    process.start();
    if (!process.waitForStarted(timeoutMs)) return result;
    result.started = true;
    if (!process.waitForFinished(timeoutMs)) {
        result.timedOut = true;
        process.kill();
        process.waitForFinished(1000);
        return result;
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

QString describe(const QString &program, const CommandResult &result)
{
    if (!result.started) return QStringLiteral("未找到或无法启动 %1").arg(program);
    if (result.timedOut) return QStringLiteral("%1 超时未响应").arg(program);
    const QString detail = result.err.trimmed().section(u'\n', 0, 0);
    return detail.isEmpty()
               ? QStringLiteral("%1 失败（退出码 %2）").arg(program).arg(result.exitCode)
               : QStringLiteral("%1 失败：%2").arg(program, detail);
}

} // namespace CommandRunner
