#include "commandrunner.h"
#include "desktopwallpaper.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

using DesktopWallpaper::Desktop;

namespace
{

// Every stand-in appends its name and arguments, one per line in brackets, then "---".
constexpr auto kLogPrelude = R"(#!/bin/sh
{ basename "$0"; for a in "$@"; do printf '[%s]\n' "$a"; done; echo ---; } >> "$KQ_LOG"
)";

const char *const kStandIns[][2] = {
    {"gsettings", R"(case "$1" in
list-keys) case "$2" in
    org.cinnamon.desktop.background) printf 'picture-uri\npicture-options\n' ;;
    org.mate.background) printf 'picture-filename\npicture-options\n' ;;
    *) echo "No such schema “$2”" >&2; exit 1 ;;
    esac ;;
set) printf '%s' "$4" > "$KQ_STATE/$2.$3" ;;
get) cat "$KQ_STATE/$2.$3"; echo ;;
esac
)"},
    {"xfconf-query", R"(prop=""; val=""; set=0; list=0
while [ $# -gt 0 ]; do
    case "$1" in
    -c|-t) shift ;;
    -p) shift; prop="$1" ;;
    -s) shift; val="$1"; set=1 ;;
    -l) list=1 ;;
    esac
    shift
done
if [ $list = 1 ]; then
    printf '/backdrop/screen0/monitorHDMI-1/workspace0/last-image\n'
    printf '/backdrop/screen0/monitorHDMI-1/workspace0/image-style\n'
    printf '/backdrop/screen0/monitoreDP-1/workspace0/last-image\n'
    exit 0
fi
key=$(echo "$prop" | tr / _)
if [ $set = 1 ]; then printf '%s' "$val" > "$KQ_STATE/$key"; exit 0; fi
cat "$KQ_STATE/$key" && echo
)"},
    {"pcmanfm-qt", R"(for a in "$@"; do
    case "$a" in --set-wallpaper=*) file="${a#--set-wallpaper=}" ;; esac
done
mkdir -p "$XDG_CONFIG_HOME/pcmanfm-qt/lxqt"
printf '[Desktop]\nWallpaper=%s\nWallpaperMode=stretch\n' "$file" > "$XDG_CONFIG_HOME/pcmanfm-qt/lxqt/settings.conf"
)"},
    {"swaymsg", R"(echo '[ { "success": true } ]'
)"},
    {"feh", R"(q=$(printf '%s' "$2" | sed "s/'/'\\\\''/g")
printf "#!/bin/sh\nfeh --no-fehbg --bg-scale '%s'\n" "$q" > "$HOME/.fehbg"
)"},
    {"slowtool", R"(sleep 5
)"},
};

QList<QStringList> invocations(const QString &logPath)
{
    QFile file(logPath);
    if (!file.open(QIODevice::ReadOnly)) return {};
    QList<QStringList> calls;
    QStringList current;
    for (const QString &line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        if (line == u"---") {
            calls << current;
            current.clear();
        } else if (current.isEmpty()) {
            current << line;
        } else if (line.startsWith(u'[')) {
            current << line.mid(1, line.size() - 2);
        } else if (!current.isEmpty() && !line.isEmpty()) {
            current.last() += u'\n' + line; // an argument with a line break
        }
    }
    return calls;
}

} // namespace

class TstDesktopWallpaper : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_picture;
    QByteArray m_path;

    QString log() const { return m_dir.filePath(QStringLiteral("log")); }
    void useStandIns()
    {
        qputenv("PATH", m_dir.filePath(QStringLiteral("bin")).toLocal8Bit() + ':' + m_path);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        const QString bin = m_dir.filePath(QStringLiteral("bin"));
        QVERIFY(QDir().mkpath(bin));
        for (const auto &standIn : kStandIns) {
            QFile file(bin + u'/' + QString::fromLatin1(standIn[0]));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray(kLogPrelude) + standIn[1]);
            file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        QVERIFY(QDir().mkpath(m_dir.filePath(QStringLiteral("周 记 本"))));
        m_picture = m_dir.filePath(QStringLiteral("周 记 本/Mix.bmp"));
        QFile picture(m_picture);
        QVERIFY(picture.open(QIODevice::WriteOnly));
        picture.write("BM");
        QVERIFY(QDir().mkpath(m_dir.filePath(QStringLiteral("state"))));
        QVERIFY(QDir().mkpath(m_dir.filePath(QStringLiteral("config"))));
        m_path = qgetenv("PATH");
        qputenv("KQ_LOG", log().toLocal8Bit());
        qputenv("KQ_STATE", m_dir.filePath(QStringLiteral("state")).toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", m_dir.filePath(QStringLiteral("config")).toLocal8Bit());
        qputenv("HOME", m_dir.path().toLocal8Bit());
    }
    void init()
    {
        QFile::remove(log());
        qputenv("PATH", m_path);
    }
    void detect_data()
    {
        QTest::addColumn<QStringList>("environment");
        QTest::addColumn<Desktop>("desktop");
        QTest::newRow("GNOME") << QStringList{"XDG_CURRENT_DESKTOP=GNOME"} << Desktop::Gnome;
        QTest::newRow("Ubuntu") << QStringList{"XDG_CURRENT_DESKTOP=ubuntu:GNOME"}
                                << Desktop::Gnome;
        QTest::newRow("Budgie") << QStringList{"XDG_CURRENT_DESKTOP=Budgie:GNOME"}
                                << Desktop::Gnome;
        QTest::newRow("Unity") << QStringList{"XDG_CURRENT_DESKTOP=Unity"} << Desktop::Gnome;
        QTest::newRow("Pantheon") << QStringList{"XDG_CURRENT_DESKTOP=Pantheon"} << Desktop::Gnome;
        QTest::newRow("Cinnamon") << QStringList{"XDG_CURRENT_DESKTOP=X-Cinnamon"}
                                  << Desktop::Cinnamon;
        QTest::newRow("MATE") << QStringList{"XDG_CURRENT_DESKTOP=MATE"} << Desktop::Mate;
        QTest::newRow("KDE") << QStringList{"XDG_CURRENT_DESKTOP=KDE"} << Desktop::Plasma;
        QTest::newRow("KDE_FULL_SESSION")
            << QStringList{"KDE_FULL_SESSION=true", "DISPLAY=:0"} << Desktop::Plasma;
        QTest::newRow("XFCE") << QStringList{"XDG_CURRENT_DESKTOP=XFCE"} << Desktop::Xfce;
        QTest::newRow("LXQt") << QStringList{"XDG_CURRENT_DESKTOP=LXQt"} << Desktop::Lxqt;
        QTest::newRow("SWAYSOCK") << QStringList{"SWAYSOCK=/run/sway.sock",
                                                 "WAYLAND_DISPLAY=wayland-1"}
                                  << Desktop::Sway;
        QTest::newRow("DESKTOP_SESSION")
            << QStringList{"DESKTOP_SESSION=plasma"} << Desktop::Plasma;
        QTest::newRow("unknown name, X11")
            << QStringList{"XDG_CURRENT_DESKTOP=i3", "DISPLAY=:0"} << Desktop::OtherX11;
        QTest::newRow("unknown Wayland")
            << QStringList{"WAYLAND_DISPLAY=wayland-0"} << Desktop::Unsupported;
    }
    void detect()
    {
        QFETCH(QStringList, environment);
        QFETCH(Desktop, desktop);
        QProcessEnvironment env;
        for (const QString &kv : environment)
            env.insert(kv.section(u'=', 0, 0), kv.section(u'=', 1));
        QCOMPARE(DesktopWallpaper::detect(env), desktop);
    }

    void gnomeThroughRealGsettings()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("gsettings")).isEmpty())
            QSKIP("gsettings not installed");
        qputenv("GSETTINGS_BACKEND", "keyfile");
        const DesktopWallpaper::Result r = DesktopWallpaper::install(m_picture, Desktop::Gnome);
        QVERIFY2(r.ok, qPrintable(r.error));
        const QString uri = QUrl::fromLocalFile(m_picture).toString(QUrl::FullyEncoded);
        QVERIFY(uri.contains(QStringLiteral("%E5%91%A8%20%E8%AE%B0%20%E6%9C%AC")));
        const auto get = [](const char *key) {
            QProcess p;
            p.start(QStringLiteral("gsettings"),
                    {QStringLiteral("get"), QStringLiteral("org.gnome.desktop.background"),
                     QString::fromLatin1(key)});
            p.waitForFinished();
            return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
        };
        QCOMPARE(get("picture-uri"), u'\'' + uri + u'\'');
        QCOMPARE(get("picture-uri-dark"), u'\'' + uri + u'\'');
        QCOMPARE(get("picture-options"), QStringLiteral("'stretched'"));
        QVERIFY(QFile::exists(m_dir.filePath(QStringLiteral("config/glib-2.0/settings/keyfile"))));
        qunsetenv("GSETTINGS_BACKEND");
    }

    void gsettingsThatKeepsNothingIsAFailure()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("gsettings")).isEmpty())
            QSKIP("gsettings not installed");
        qputenv("GSETTINGS_BACKEND", "memory"); // exits 0, saves nothing
        const DesktopWallpaper::Result r = DesktopWallpaper::install(m_picture, Desktop::Gnome);
        qunsetenv("GSETTINGS_BACKEND");
        QVERIFY(!r.ok);
        QVERIFY(!r.error.isEmpty());
    }

    void commandLines_data()
    {
        QTest::addColumn<Desktop>("desktop");
        QTest::addColumn<QList<QStringList>>("calls"); // "@" stands for the picture, "@uri" its URI
        const QString cin = QStringLiteral("org.cinnamon.desktop.background");
        const QString mate = QStringLiteral("org.mate.background");
        QTest::newRow("Cinnamon")
            << Desktop::Cinnamon
            << QList<QStringList>{{"gsettings", "list-keys", cin},
                                  {"gsettings", "set", cin, "picture-options", "'stretched'"},
                                  {"gsettings", "set", cin, "picture-uri", "''"},
                                  {"gsettings", "set", cin, "picture-uri", "'@uri'"},
                                  {"gsettings", "get", cin, "picture-options"},
                                  {"gsettings", "get", cin, "picture-uri"}};
        QTest::newRow("MATE") << Desktop::Mate
                              << QList<QStringList>{
                                     {"gsettings", "list-keys", mate},
                                     {"gsettings", "set", mate, "picture-options", "'stretched'"},
                                     {"gsettings", "set", mate, "picture-filename", "''"},
                                     {"gsettings", "set", mate, "picture-filename", "'@'"},
                                     {"gsettings", "get", mate, "picture-options"},
                                     {"gsettings", "get", mate, "picture-filename"}};
        const QString hdmi = QStringLiteral("/backdrop/screen0/monitorHDMI-1/workspace0");
        const QString edp = QStringLiteral("/backdrop/screen0/monitoreDP-1/workspace0");
        QList<QStringList> xfce{{"xfconf-query", "-c", "xfce4-desktop", "-l"}};
        for (const QString &m : {hdmi, edp}) {
            xfce << QStringList{"xfconf-query", "-c", "xfce4-desktop", "-p", m + "/image-style",
                                "-n",           "-t", "int",           "-s", "3"}
                 << QStringList{"xfconf-query", "-c", "xfce4-desktop", "-p", m + "/last-image",
                                "-n",           "-t", "string",        "-s", ""}
                 << QStringList{"xfconf-query", "-c", "xfce4-desktop", "-p", m + "/last-image",
                                "-n",           "-t", "string",        "-s", "@"};
        }
        for (const QString &m : {hdmi, edp})
            xfce << QStringList{"xfconf-query", "-c", "xfce4-desktop", "-p", m + "/last-image"};
        QTest::newRow("XFCE, every monitor") << Desktop::Xfce << xfce;
        QTest::newRow("LXQt") << Desktop::Lxqt
                              << QList<QStringList>{{"pcmanfm-qt", "--set-wallpaper=@",
                                                     "--wallpaper-mode=stretch"}};
        QTest::newRow("sway") << Desktop::Sway
                              << QList<QStringList>{{"swaymsg", "output * bg \"@\" stretch"}};
        QTest::newRow("other X11: feh")
            << Desktop::OtherX11 << QList<QStringList>{{"feh", "--bg-scale", "@"}};
    }
    void commandLines()
    {
        QFETCH(Desktop, desktop);
        QFETCH(QList<QStringList>, calls);
        useStandIns();
        const DesktopWallpaper::Result r = DesktopWallpaper::install(m_picture, desktop);
        QVERIFY2(r.ok, qPrintable(r.error));
        const QString uri = QUrl::fromLocalFile(m_picture).toString(QUrl::FullyEncoded);
        for (QStringList &call : calls)
            for (QString &arg : call)
                arg.replace(QStringLiteral("@uri"), uri).replace(u'@', m_picture);
        QCOMPARE(invocations(log()), calls);
    }

    void fehReadsBackAPathWithAQuote()
    {
        useStandIns();
        QVERIFY(QDir().mkpath(m_dir.filePath(QStringLiteral("it's"))));
        const QString picture = m_dir.filePath(QStringLiteral("it's/Mix.bmp"));
        QFile file(picture);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("BM");
        file.close();
        const DesktopWallpaper::Result r = DesktopWallpaper::install(picture, Desktop::OtherX11);
        QVERIFY2(r.ok, qPrintable(r.error));
    }

    void missingToolIsAFailure_data()
    {
        QTest::addColumn<Desktop>("desktop");
        QTest::newRow("XFCE") << Desktop::Xfce;
        QTest::newRow("LXQt") << Desktop::Lxqt;
        QTest::newRow("feh") << Desktop::OtherX11;
        QTest::newRow("unsupported") << Desktop::Unsupported;
    }
    void missingToolIsAFailure()
    {
        QFETCH(Desktop, desktop);
        qputenv("PATH", m_dir.filePath(QStringLiteral("state")).toLocal8Bit()); // no tools at all
        const DesktopWallpaper::Result r = DesktopWallpaper::install(m_picture, desktop);
        QVERIFY(!r.ok);
        QVERIFY(!r.error.isEmpty());
    }

    void commandTimesOut()
    {
        useStandIns();
        const CommandResult r = CommandRunner::run(QStringLiteral("slowtool"), {}, 300);
        QVERIFY(r.started);
        QVERIFY(r.timedOut);
        QVERIFY(!r.ok());
    }

    void gvariantStrings_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("plain") << "file:///a/b.bmp";
        QTest::newRow("quote and backslash") << "/it's a \\ path";
        QTest::newRow("Chinese and spaces") << "/home/用户/周 记/Mix.bmp";
        QTest::newRow("empty") << "";
    }
    void gvariantStrings()
    {
        QFETCH(QString, text);
        bool ok = false;
        QCOMPARE(DesktopWallpaper::parseGvariantString(DesktopWallpaper::gvariantString(text), &ok),
                 text);
        QVERIFY(ok);
    }

    void plasmaOverDBus()
    {
        const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
        const QString fake =
            QCoreApplication::applicationDirPath() + QStringLiteral("/fake_plasmashell");
        if (daemon.isEmpty()) QSKIP("dbus-daemon not installed");
        QProcess bus;
        bus.start(daemon, {QStringLiteral("--session"), QStringLiteral("--nofork"),
                           QStringLiteral("--print-address=1")});
        QVERIFY(bus.waitForStarted());
        QTRY_VERIFY(bus.canReadLine());
        const QByteArray address = bus.readLine().trimmed();
        qputenv("DBUS_SESSION_BUS_ADDRESS", address);
        QProcess shell;
        shell.start(fake, {});
        QVERIFY(shell.waitForStarted());
        QDBusConnection connection = QDBusConnection::sessionBus();
        QVERIFY(connection.isConnected());
        QTRY_VERIFY(
            connection.interface()->isServiceRegistered(QStringLiteral("org.kde.plasmashell")));

        const DesktopWallpaper::Result r = DesktopWallpaper::install(m_picture, Desktop::Plasma);
        QVERIFY2(r.ok, qPrintable(r.error));
        QFile file(log());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QStringList scripts =
            QString::fromUtf8(file.readAll()).split(QStringLiteral("\n---\n"), Qt::SkipEmptyParts);
        QCOMPARE(scripts.size(), 3); // another value, the picture, the read-back
        const QString uri = QUrl::fromLocalFile(m_picture).toString(QUrl::FullyEncoded);
        QVERIFY(scripts[0].contains(QStringLiteral("writeConfig(\"Image\", \"\")")));
        QVERIFY(scripts[1].contains(QStringLiteral("writeConfig(\"Image\", \"%1\")").arg(uri)));
        QVERIFY(scripts[1].contains(QStringLiteral("d.wallpaperPlugin = \"org.kde.image\"")));
        QVERIFY(scripts[1].contains(QStringLiteral("writeConfig(\"FillMode\", 0)")));
        QVERIFY(scripts[2].contains(QStringLiteral("readConfig(\"Image\")")));

        shell.kill();
        shell.waitForFinished();
        // Without plasmashell the same call is a failure, not a silent success.
        QTRY_VERIFY(
            !connection.interface()->isServiceRegistered(QStringLiteral("org.kde.plasmashell")));
        QVERIFY(!DesktopWallpaper::install(m_picture, Desktop::Plasma).ok);
        bus.kill();
        bus.waitForFinished();
    }
};

QTEST_GUILESS_MAIN(TstDesktopWallpaper)
#include "tst_desktopwallpaper.moc"
