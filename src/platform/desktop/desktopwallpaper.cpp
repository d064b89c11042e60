#include "desktopwallpaper.h"

#include "commandrunner.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QUrl>

namespace DesktopWallpaper
{

namespace
{

Result fail(const QString &why)
{
    return {false, why};
}
Result success()
{
    return {true, QString()};
}

QString fileUri(const QString &path)
{
    return QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded);
}

// --- gsettings family ---------------------------------------------------------------------

struct GSettings {
    QString schema;

    CommandResult run(const QStringList &args) const
    {
        return CommandRunner::run(QStringLiteral("gsettings"), args);
    }
    bool hasSchema(QStringList *keys) const
    {
        const CommandResult r = run({QStringLiteral("list-keys"), schema});
        if (!r.ok()) return false;
        *keys = r.out.split(u'\n', Qt::SkipEmptyParts);
        for (QString &k : *keys)
            k = k.trimmed();
        return true;
    }
    QString set(const QString &key, const QString &value) const
    {
        const CommandResult r = run({QStringLiteral("set"), schema, key, gvariantString(value)});
        return r.ok() ? QString() : CommandRunner::describe(QStringLiteral("gsettings"), r);
    }
    // gsettings exits 0 even when no backend kept the value, so every key is read back.
    bool holds(const QString &key, const QString &value) const
    {
        const CommandResult r = run({QStringLiteral("get"), schema, key});
        bool ok = false;
        return r.ok() && parseGvariantString(r.out.trimmed(), &ok) == value && ok;
    }
};

// Sets each key to a different value first: desktops cache the picture by its name, and the
// name never changes.
Result installGSettings(const QString &schema, const QList<QPair<QString, QString>> &pictureKeys,
                        const QString &optionsKey)
{
    const GSettings gs{schema};
    QStringList keys;
    if (!gs.hasSchema(&keys)) return fail(QStringLiteral("缺少桌面设置 %1").arg(schema));
    QList<QPair<QString, QString>> wanted{{optionsKey, QStringLiteral("stretched")}};
    for (const auto &kv : pictureKeys) {
        if (keys.contains(kv.first)) wanted << kv;
    }
    for (const auto &kv : wanted) {
        if (kv.first != optionsKey) {
            if (QString e = gs.set(kv.first, QString()); !e.isEmpty()) return fail(e);
        }
        if (QString e = gs.set(kv.first, kv.second); !e.isEmpty()) return fail(e);
    }
    for (const auto &kv : wanted) {
        if (!gs.holds(kv.first, kv.second))
            return fail(QStringLiteral("设置 %1 %2 未能保存").arg(schema, kv.first));
    }
    return success();
}

Result installGnome(const QString &path)
{
    const QString uri = fileUri(path);
    return installGSettings(
        QStringLiteral("org.gnome.desktop.background"),
        {{QStringLiteral("picture-uri"), uri}, {QStringLiteral("picture-uri-dark"), uri}},
        QStringLiteral("picture-options"));
}

Result installCinnamon(const QString &path)
{
    return installGSettings(QStringLiteral("org.cinnamon.desktop.background"),
                            {{QStringLiteral("picture-uri"), fileUri(path)}},
                            QStringLiteral("picture-options"));
}

Result installMate(const QString &path)
{
    return installGSettings(QStringLiteral("org.mate.background"),
                            {{QStringLiteral("picture-filename"), path}},
                            QStringLiteral("picture-options"));
}

// --- KDE Plasma -------------------------------------------------------------------------------

Result evaluatePlasma(const QString &script, QString *output)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return fail(QStringLiteral("无法连接会话总线"));
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.kde.plasmashell"), QStringLiteral("/PlasmaShell"),
        QStringLiteral("org.kde.PlasmaShell"), QStringLiteral("evaluateScript"));
    call << script;
    const QDBusMessage reply = bus.call(call, QDBus::Block, CommandRunner::kTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage)
        return fail(QStringLiteral("plasmashell 拒绝了设置：%1").arg(reply.errorMessage()));
    if (output) *output = reply.arguments().value(0).toString();
    return success();
}

QString jsString(const QString &text)
{
    QString out = QStringLiteral("\"");
    for (const QChar c : text) {
        if (c == u'\\' || c == u'"') out += u'\\';
        if (c == u'\n') {
            out += QStringLiteral("\\n");
            continue;
        }
        out += c;
    }
    return out + u'"';
}

Result installPlasma(const QString &path)
{
    const QString url = fileUri(path);
    if (Result r = evaluatePlasma(plasmaScript(QString()), nullptr); !r.ok) return r;
    if (Result r = evaluatePlasma(plasmaScript(url), nullptr); !r.ok) return r;
    const QString readBack = QStringLiteral(
        "var ds = desktops();\n"
        "for (var i = 0; i < ds.length; i++) {\n"
        "    ds[i].currentConfigGroup = [\"Wallpaper\", \"org.kde.image\", \"General\"];\n"
        "    print(ds[i].wallpaperPlugin + \" \" + ds[i].readConfig(\"FillMode\") + \" \" + "
        "ds[i].readConfig(\"Image\") + \"\\n\");\n"
        "}\n");
    QString printed;
    if (Result r = evaluatePlasma(readBack, &printed); !r.ok) return r;
    const QStringList lines = printed.split(u'\n', Qt::SkipEmptyParts);
    const QString expected = QStringLiteral("org.kde.image 0 ") + url;
    if (lines.isEmpty()) return fail(QStringLiteral("plasmashell 未报告任何桌面"));
    for (const QString &line : lines) {
        if (line.trimmed() != expected) return fail(QStringLiteral("plasmashell 未保存壁纸设置"));
    }
    return success();
}

// --- XFCE -------------------------------------------------------------------------------------

Result installXfce(const QString &path)
{
    const QString tool = QStringLiteral("xfconf-query");
    const QString channel = QStringLiteral("xfce4-desktop");
    const CommandResult list =
        CommandRunner::run(tool, {QStringLiteral("-c"), channel, QStringLiteral("-l")});
    if (!list.ok()) return fail(CommandRunner::describe(tool, list));
    QStringList images;
    for (const QString &line : list.out.split(u'\n', Qt::SkipEmptyParts)) {
        if (line.trimmed().endsWith(QStringLiteral("/last-image"))) images << line.trimmed();
    }
    // A desktop that never had a picture set has no property yet.
    if (images.isEmpty())
        images << QStringLiteral("/backdrop/screen0/monitor0/workspace0/last-image");
    for (const QString &prop : images) {
        const QString base = prop.left(prop.size() - int(qstrlen("/last-image")));
        const QList<QStringList> steps{
            {QStringLiteral("-c"), channel, QStringLiteral("-p"),
             base + QStringLiteral("/image-style"), QStringLiteral("-n"), QStringLiteral("-t"),
             QStringLiteral("int"), QStringLiteral("-s"), QStringLiteral("3")},
            {QStringLiteral("-c"), channel, QStringLiteral("-p"), prop, QStringLiteral("-n"),
             QStringLiteral("-t"), QStringLiteral("string"), QStringLiteral("-s"), QString()},
            {QStringLiteral("-c"), channel, QStringLiteral("-p"), prop, QStringLiteral("-n"),
             QStringLiteral("-t"), QStringLiteral("string"), QStringLiteral("-s"), path}};
        for (const QStringList &args : steps) {
            const CommandResult r = CommandRunner::run(tool, args);
            if (!r.ok()) return fail(CommandRunner::describe(tool, r));
        }
    }
    for (const QString &prop : images) {
        const CommandResult r =
            CommandRunner::run(tool, {QStringLiteral("-c"), channel, QStringLiteral("-p"), prop});
        if (!r.ok() || r.out.trimmed() != path)
            return fail(QStringLiteral("xfconf 未保存 %1").arg(prop));
    }
    return success();
}

// --- LXQt, sway, feh ----------------------------------------------------------------------

QString configHome()
{
    const QString xdg = qEnvironmentVariable("XDG_CONFIG_HOME");
    return xdg.isEmpty() ? QDir::homePath() + QStringLiteral("/.config") : xdg;
}

Result installLxqt(const QString &path)
{
    const QString tool = QStringLiteral("pcmanfm-qt");
    const CommandResult r = CommandRunner::run(tool, {QStringLiteral("--set-wallpaper=") + path,
                                                      QStringLiteral("--wallpaper-mode=stretch")});
    if (!r.ok()) return fail(CommandRunner::describe(tool, r));
    QSettings settings(configHome() + QStringLiteral("/pcmanfm-qt/lxqt/settings.conf"),
                       QSettings::IniFormat);
    if (settings.value(QStringLiteral("Desktop/Wallpaper")).toString() != path)
        return fail(QStringLiteral("pcmanfm-qt 未保存壁纸设置"));
    return success();
}

Result installSway(const QString &path)
{
    const QString tool = QStringLiteral("swaymsg");
    QString quoted = path;
    quoted.replace(u'\\', QStringLiteral("\\\\")).replace(u'"', QStringLiteral("\\\""));
    const CommandResult r =
        CommandRunner::run(tool, {QStringLiteral("output * bg \"%1\" stretch").arg(quoted)});
    if (!r.ok()) return fail(CommandRunner::describe(tool, r));
    if (r.out.contains(QStringLiteral("\"success\": false")) ||
        r.out.contains(QStringLiteral("\"success\":false")))
        return fail(QStringLiteral("sway 拒绝了壁纸：%1").arg(r.out.trimmed()));
    return success();
}

Result installFeh(const QString &path)
{
    const QString tool = QStringLiteral("feh");
    const CommandResult r = CommandRunner::run(tool, {QStringLiteral("--bg-scale"), path});
    if (!r.ok()) return fail(CommandRunner::describe(tool, r));
    // feh writes the path in single quotes, a quote inside it as '\''.
    QString quoted = path;
    quoted.replace(u'\'', QStringLiteral("'\\''"));
    QFile fehbg(QDir::homePath() + QStringLiteral("/.fehbg"));
    const QString saved =
        fehbg.open(QIODevice::ReadOnly) ? QString::fromUtf8(fehbg.readAll()) : QString();
    if (!saved.contains(path) && !saved.contains(quoted))
        return fail(QStringLiteral("feh 未保存壁纸设置"));
    return success();
}

} // namespace

Desktop detect(const QProcessEnvironment &env)
{
    auto fromName = [](QString name) -> std::optional<Desktop> {
        name = name.trimmed().toLower();
        if (name.startsWith(QStringLiteral("x-"))) name = name.mid(2);
        static const QList<QPair<QString, Desktop>> names{
            {QStringLiteral("gnome"), Desktop::Gnome},
            {QStringLiteral("gnome-classic"), Desktop::Gnome},
            {QStringLiteral("gnome-flashback"), Desktop::Gnome},
            {QStringLiteral("ubuntu"), Desktop::Gnome},
            {QStringLiteral("budgie"), Desktop::Gnome},
            {QStringLiteral("budgie-desktop"), Desktop::Gnome},
            {QStringLiteral("unity"), Desktop::Gnome},
            {QStringLiteral("pantheon"), Desktop::Gnome},
            {QStringLiteral("cinnamon"), Desktop::Cinnamon},
            {QStringLiteral("mate"), Desktop::Mate},
            {QStringLiteral("kde"), Desktop::Plasma},
            {QStringLiteral("plasma"), Desktop::Plasma},
            {QStringLiteral("plasmawayland"), Desktop::Plasma},
            {QStringLiteral("xfce"), Desktop::Xfce},
            {QStringLiteral("xfce4"), Desktop::Xfce},
            {QStringLiteral("lxqt"), Desktop::Lxqt},
            {QStringLiteral("sway"), Desktop::Sway}};
        for (const auto &entry : names) {
            if (entry.first == name) return entry.second;
        }
        return std::nullopt;
    };
    for (const QString &part :
         env.value(QStringLiteral("XDG_CURRENT_DESKTOP")).split(u':', Qt::SkipEmptyParts)) {
        if (auto d = fromName(part)) return *d;
    }
    if (!env.value(QStringLiteral("KDE_FULL_SESSION")).isEmpty()) return Desktop::Plasma;
    if (!env.value(QStringLiteral("SWAYSOCK")).isEmpty()) return Desktop::Sway;
    if (auto d = fromName(env.value(QStringLiteral("DESKTOP_SESSION")))) return *d;
    if (!env.value(QStringLiteral("GNOME_DESKTOP_SESSION_ID")).isEmpty()) return Desktop::Gnome;
    if (!env.value(QStringLiteral("MATE_DESKTOP_SESSION_ID")).isEmpty()) return Desktop::Mate;
    if (!env.value(QStringLiteral("DISPLAY")).isEmpty()) return Desktop::OtherX11;
    return Desktop::Unsupported;
}

QString desktopName(Desktop desktop)
{
    switch (desktop) {
    case Desktop::Gnome:
        return QStringLiteral("GNOME");
    case Desktop::Cinnamon:
        return QStringLiteral("Cinnamon");
    case Desktop::Mate:
        return QStringLiteral("MATE");
    case Desktop::Plasma:
        return QStringLiteral("KDE Plasma");
    case Desktop::Xfce:
        return QStringLiteral("XFCE");
    case Desktop::Lxqt:
        return QStringLiteral("LXQt");
    case Desktop::Sway:
        return QStringLiteral("sway");
    case Desktop::OtherX11:
        return QStringLiteral("X11");
    case Desktop::Unsupported:
        break;
    }
    return QStringLiteral("未知桌面");
}

Result install(const QString &picturePath, Desktop desktop)
{
    const QString path = QFileInfo(picturePath).absoluteFilePath();
    if (!QFileInfo(path).isFile()) return fail(QStringLiteral("壁纸图片不存在"));
    switch (desktop) {
    case Desktop::Gnome:
        return installGnome(path);
    case Desktop::Cinnamon:
        return installCinnamon(path);
    case Desktop::Mate:
        return installMate(path);
    case Desktop::Plasma:
        return installPlasma(path);
    case Desktop::Xfce:
        return installXfce(path);
    case Desktop::Lxqt:
        return installLxqt(path);
    case Desktop::Sway:
        return installSway(path);
    case Desktop::OtherX11:
        return installFeh(path);
    case Desktop::Unsupported:
        break;
    }
    return fail(QStringLiteral("不支持当前桌面环境"));
}

QString gvariantString(const QString &text)
{
    QString out = QStringLiteral("'");
    for (const QChar c : text) {
        if (c == u'\\' || c == u'\'') out += u'\\';
        out += c;
    }
    return out + u'\'';
}

QString parseGvariantString(const QString &printed, bool *ok)
{
    if (ok) *ok = false;
    QString s = printed.trimmed();
    if (s.size() < 2) return {};
    const QChar quote = s.front();
    if ((quote != u'\'' && quote != u'"') || s.back() != quote) return {};
    QString out;
    for (qsizetype i = 1; i < s.size() - 1; ++i) {
        QChar c = s[i];
        if (c != u'\\' || i + 1 >= s.size() - 1) {
            out += c;
            continue;
        }
        c = s[++i];
        switch (c.unicode()) {
        case 'n':
            out += u'\n';
            break;
        case 't':
            out += u'\t';
            break;
        case 'r':
            out += u'\r';
            break;
        case 'u':
        case 'U': {
            const int digits = c == u'u' ? 4 : 8;
            bool hexOk = false;
            const uint code = s.mid(i + 1, digits).toUInt(&hexOk, 16);
            if (!hexOk) return {};
            const char32_t ch = char32_t(code);
            out += QString::fromUcs4(&ch, 1);
            i += digits;
            break;
        }
        default:
            out += c;
            break;
        }
    }
    if (ok) *ok = true;
    return out;
}

QString plasmaScript(const QString &imageUrl)
{
    // FillMode 0 is the image plugin's "stretch".
    return QStringLiteral(
               "var ds = desktops();\n"
               "for (var i = 0; i < ds.length; i++) {\n"
               "    var d = ds[i];\n"
               "    d.wallpaperPlugin = \"org.kde.image\";\n"
               "    d.currentConfigGroup = [\"Wallpaper\", \"org.kde.image\", \"General\"];\n"
               "    d.writeConfig(\"FillMode\", 0);\n"
               "    d.writeConfig(\"Image\", %1);\n"
               "}\n")
        .arg(jsString(imageUrl));
}

} // namespace DesktopWallpaper
