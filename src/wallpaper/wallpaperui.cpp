#include "wallpaperui.h"

#include "pictureopendialog.h"

#include <QDialog>

namespace
{
WallpaperUi::ModalRunner &modalRunner()
{
    static WallpaperUi::ModalRunner runner;
    return runner;
}
WallpaperUi::PictureChooser &pictureChooser()
{
    static WallpaperUi::PictureChooser chooser;
    return chooser;
}
} // namespace

namespace WallpaperUi
{

void setModalRunner(ModalRunner runner)
{
    modalRunner() = std::move(runner);
}

int execModal(QDialog &dialog)
{
    if (modalRunner()) return modalRunner()(dialog);
    return dialog.exec();
}

void setPictureChooser(PictureChooser chooser)
{
    pictureChooser() = std::move(chooser);
}

QStringList choosePictures(QWidget *parent)
{
    if (pictureChooser()) return pictureChooser()(parent);
    PictureOpenDialog dialog(parent);
    if (dialog.exec() != QDialog::Accepted) return {};
    return dialog.selectedFiles();
}

void setMessageSink(MessageSink sink)
{
    AppMessage::Hook hook;
    if (sink) {
        hook = [sink = std::move(sink)](QWidget *parent, const QString &text,
                                        const QString &caption) { sink(parent, caption, text); };
    }
    AppMessage::setHook(std::move(hook), "WallpaperUi");
}

void showMessage(QWidget *parent, const QString &text, const QString &caption)
{
    AppMessage::show(parent, text, caption);
}

} // namespace WallpaperUi
