#include "programfolder.h"

#include <QCoreApplication>
#include <QDir>

namespace
{
QString &overrideRoot()
{
    static QString folder;
    return folder;
}

QString withSlash(QString folder)
{
    if (!folder.endsWith(u'/')) folder += u'/';
    return folder;
}
} // namespace

namespace ProgramFolder
{

QString root()
{
    if (!overrideRoot().isEmpty()) return overrideRoot();
    return withSlash(QCoreApplication::applicationDirPath());
}

void setRoot(const QString &folder)
{
    overrideRoot() = folder.isEmpty() ? QString() : withSlash(QDir(folder).absolutePath());
}

QString path(const QString &relative)
{
    QString rel = QDir::fromNativeSeparators(QString(relative).replace(u'\\', u'/'));
    while (rel.startsWith(u'/'))
        rel.remove(0, 1);
    const qsizetype slash = rel.indexOf(u'/');
    const QString first = slash < 0 ? rel : rel.left(slash);
    if (first.compare(u"data", Qt::CaseInsensitive) == 0)
        rel = QStringLiteral("Data") + rel.mid(first.size());
    return root() + rel;
}

} // namespace ProgramFolder
