#pragma once

#include "desktopwallpaper.h"

#include <QString>
#include <functional>

// State of the wallpaper installation: the pictures folder and the files of the current apply.
class TDeskBGSetFrm
{
public:
    TDeskBGSetFrm();

    QString PicFolder;   // program folder + "source/DeskTopBG/", with the trailing separator
    QString BGFile;      // background chosen by the current apply
    QString ContentFile; // the week panel's copy

    // Installs a BMP file as the desktop wallpaper through the running desktop's settings.
    DesktopWallpaper::Result SetDeskWallpaper(const QString &path);

    // Tests and benchmarks replace the desktop; an empty function restores it.
    using Installer = std::function<DesktopWallpaper::Result(const QString &path)>;
    static void setInstaller(Installer installer);
};
