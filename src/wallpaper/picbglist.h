#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// One background of the rotating list; entry i is line i of the list file.
struct TPicBGList {
    qint32 PicNo = 0;
    QString PicFile; // plain file name inside the pictures folder
};

// "Data\BGPicList.ini": line 0 is the selected picture, lines 1.. the list in view order.
// Not an INI file despite its name.
namespace PicBGListFile
{

inline constexpr auto kRelativePath = "Data\\BGPicList.ini";
inline constexpr auto kDefaultPicture = "A1.bmp";

QString path();
// The lines of a fresh list: the default picture selected and listed.
QStringList defaultLines();
// nullopt when the file exists but cannot be read; check exists() first.
std::optional<QStringList> read();
bool exists();
bool write(const QStringList &lines);

} // namespace PicBGListFile

// The pictures folder, with its trailing separator.
QString PictureFolder();
