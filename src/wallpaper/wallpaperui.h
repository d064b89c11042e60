#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QDialog;
class QWidget;

// The modal pieces of the wallpaper windows, behind seams so that tests answer them without a
// modal loop.
namespace WallpaperUi
{

inline constexpr auto kAppTitle = "KQ周记事本";

// Runs a dialog modally and returns its result code. Default: QDialog::exec().
using ModalRunner = std::function<int(QDialog &)>;
void setModalRunner(ModalRunner runner);
int execModal(QDialog &dialog);

// Asks for picture files to add. Default: the picture-open dialog with preview.
using PictureChooser = std::function<QStringList(QWidget *parent)>;
void setPictureChooser(PictureChooser chooser);
QStringList choosePictures(QWidget *parent);

// A plain OK message box. Default: QMessageBox.
using MessageSink =
    std::function<void(QWidget *parent, const QString &caption, const QString &text)>;
void setMessageSink(MessageSink sink);
void showMessage(QWidget *parent, const QString &text,
                 const QString &caption = QString::fromUtf8(kAppTitle));

} // namespace WallpaperUi
