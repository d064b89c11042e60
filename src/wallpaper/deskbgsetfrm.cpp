#include "deskbgsetfrm.h"

#include "picbglist.h"

namespace
{
TDeskBGSetFrm::Installer &installer()
{
    static TDeskBGSetFrm::Installer function;
    return function;
}
} // namespace

TDeskBGSetFrm::TDeskBGSetFrm() : PicFolder(PictureFolder()) {}

DesktopWallpaper::Result TDeskBGSetFrm::SetDeskWallpaper(const QString &path)
{
    if (installer()) return installer()(path);
    return DesktopWallpaper::install(path);
}

void TDeskBGSetFrm::setInstaller(Installer function)
{
    installer() = std::move(function);
}
