#pragma once

#include <QString>

// The program folder is the folder of the executable, never the working directory. Every
// relative path of the program ("Data\UserData.db", "data\FormSize.ini",
// "source\DeskTopBG\Mix.bmp") goes through ProgramPath, so that "Data" and "data" reach one
// folder on a file system that tells case apart.
namespace ProgramFolder
{

// The folder with a trailing '/'. Defaults to QCoreApplication::applicationDirPath().
QString root();
// Tests point the program at a temporary folder. An empty path restores the default.
void setRoot(const QString &folder);

// Turns a relative path written with '\' or '/' into an absolute path under root(). A first
// component "data" in any letter case becomes "Data".
QString path(const QString &relative);

} // namespace ProgramFolder
