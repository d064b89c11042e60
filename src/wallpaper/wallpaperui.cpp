#include "wallpaperui.h"

#include "pictureopendialog.h"

#include <QDialog>
#include <QMessageBox>

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
WallpaperUi::MessageSink &messageSink()
{
    static WallpaperUi::MessageSink sink;
    return sink;
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
    messageSink() = std::move(sink);
}

void showMessage(QWidget *parent, const QString &text, const QString &caption)
{
    if (messageSink()) {
        messageSink()(parent, caption, text);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, parent);
    box.exec();
}

} // namespace WallpaperUi
