#pragma once

#include <QProcessEnvironment>
#include <QString>

// Installs a picture as the desktop wallpaper, stretched over the whole screen, through the
// running desktop's own per-user settings, and reads the setting back: a setting that did not
// stick is a failure.
namespace DesktopWallpaper
{

enum class Desktop {
    Gnome, // also Ubuntu, Budgie, Unity, Pantheon: org.gnome.desktop.background
    Cinnamon,
    Mate,
    Plasma, // KDE Plasma 5 and 6
    Xfce,
    Lxqt,
    Sway,
    OtherX11, // any other X11 window manager: feh
    Unsupported,
};

Desktop detect(const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment());
QString desktopName(Desktop desktop);

struct Result {
    bool ok = false;
    QString error; // in the program's Chinese; empty on success
};

Result install(const QString &picturePath, Desktop desktop);
inline Result install(const QString &picturePath)
{
    return install(picturePath, detect());
}

// GVariant text of a string, as gsettings reads and prints it.
QString gvariantString(const QString &text);
// The string inside a value as gsettings prints it; *ok false when it is not a string.
QString parseGvariantString(const QString &printed, bool *ok = nullptr);
// The script that points every Plasma desktop at a picture URL with the stretch fill mode.
QString plasmaScript(const QString &imageUrl);

} // namespace DesktopWallpaper
