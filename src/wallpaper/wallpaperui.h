#pragma once

#include "appmessage.h"

#include <QString>
#include <QStringList>
#include <functional>

class QDialog;
class QWidget;

// The modal pieces of the wallpaper windows, behind seams so that tests answer them without a
// modal loop.
namespace WallpaperUi
{

// Runs a dialog modally and returns its result code. Default: QDialog::exec().
using ModalRunner = std::function<int(QDialog &)>;
void setModalRunner(ModalRunner runner);
int execModal(QDialog &dialog);

// Asks for picture files to add. Default: the picture-open dialog with preview.
using PictureChooser = std::function<QStringList(QWidget *parent)>;
void setPictureChooser(PictureChooser chooser);
QStringList choosePictures(QWidget *parent);

// The plain OK message boxes, forwarded to AppMessage: a sink installed here receives the
// messages of every window. An empty sink clears this seam's hook.
using MessageSink =
    std::function<void(QWidget *parent, const QString &caption, const QString &text)>;
void setMessageSink(MessageSink sink);
void showMessage(QWidget *parent, const QString &text,
                 const QString &caption = AppMessage::appTitle());

} // namespace WallpaperUi
