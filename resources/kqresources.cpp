#include "kqresources.h"

// Q_INIT_RESOURCE declares a function and must stand outside any namespace.
static void initKqNotebookResource()
{
    Q_INIT_RESOURCE(kqnotebook);
}

namespace KqResources
{

void init()
{
    initKqNotebookResource();
}

QIcon appIcon()
{
    init();
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/kqnotebook_%1.png").arg(size), QSize(size, size));
    return icon;
}

} // namespace KqResources
