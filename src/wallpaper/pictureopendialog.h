#pragma once

#include <QFileDialog>

class QLabel;

// File-open dialog for background pictures: several files at once, a preview of the picture
// under the cursor, the picture files listed in any letter case.
class PictureOpenDialog : public QFileDialog
{
    Q_OBJECT
public:
    explicit PictureOpenDialog(QWidget *parent = nullptr);

    // The one filter entry the user sees; it has no pattern part of its own.
    static QString filterText();
    static QStringList picturePatterns();

private:
    void applyPatterns();
    void showPreview(const QString &path);

    QLabel *m_preview = nullptr;
};
