#include "picbglist.h"

#include "programfolder.h"
#include "textfile.h"

#include <QFileInfo>

namespace PicBGListFile
{

QString path()
{
    return ProgramFolder::path(QString::fromLatin1(kRelativePath));
}

QStringList defaultLines()
{
    const QString name = QString::fromLatin1(kDefaultPicture);
    return {name, name};
}

bool exists()
{
    return QFileInfo::exists(path());
}

std::optional<QStringList> read()
{
    return TextFile::readLines(path());
}

bool write(const QStringList &lines)
{
    return TextFile::writeLines(path(), lines);
}

} // namespace PicBGListFile

QString PictureFolder()
{
    return ProgramFolder::path(QStringLiteral("source\\DeskTopBG\\"));
}
