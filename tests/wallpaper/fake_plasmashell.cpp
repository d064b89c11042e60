// Stands in for plasmashell on a private session bus: records every script it is given and
// keeps the one value the wallpaper scripts write, so that a read-back script sees it.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QFile>
#include <QRegularExpression>

class PlasmaShell : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.PlasmaShell")
public:
    QString image;
    QString fillMode = QStringLiteral("2");

public slots:
    Q_SCRIPTABLE QString evaluateScript(const QString &script)
    {
        QFile log(qEnvironmentVariable("KQ_LOG"));
        if (log.open(QIODevice::Append)) log.write(script.toUtf8() + "\n---\n");
        static const QRegularExpression write(
            QStringLiteral("writeConfig\\(\"(\\w+)\", (\"((?:[^\"\\\\]|\\\\.)*)\"|\\d+)\\)"));
        for (auto it = write.globalMatch(script); it.hasNext();) {
            const auto m = it.next();
            const QString value = m.captured(3).isNull() ? m.captured(2) : m.captured(3);
            if (m.captured(1) == u"Image") image = value;
            if (m.captured(1) == u"FillMode") fillMode = value;
        }
        if (!script.contains(QStringLiteral("readConfig"))) return {};
        const QString line = QStringLiteral("org.kde.image %1 %2\n").arg(fillMode, image);
        return line + line; // two desktops
    }
};

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    PlasmaShell shell;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.registerObject(QStringLiteral("/PlasmaShell"), &shell,
                            QDBusConnection::ExportScriptableSlots))
        return 1;
    if (!bus.registerService(QStringLiteral("org.kde.plasmashell"))) return 2;
    return app.exec();
}

#include "fake_plasmashell.moc"
