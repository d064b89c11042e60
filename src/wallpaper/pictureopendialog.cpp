#include "pictureopendialog.h"

#include <QFileInfo>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QImageReader>
#include <QLabel>

PictureOpenDialog::PictureOpenDialog(QWidget *parent) : QFileDialog(parent)
{
    // The preview needs Qt's own dialog; a platform dialog cannot host it.
    setOption(QFileDialog::DontUseNativeDialog);
    setFileMode(QFileDialog::ExistingFiles);
    setAcceptMode(QFileDialog::AcceptOpen);
    setNameFilter(filterText());

    m_preview = new QLabel(this);
    m_preview->setObjectName(QStringLiteral("imgPreview"));
    m_preview->setFixedSize(200, 200);
    m_preview->setAlignment(Qt::AlignCenter);
    m_preview->setFrameShape(QFrame::StyledPanel);
    if (auto *grid = qobject_cast<QGridLayout *>(layout()))
        grid->addWidget(m_preview, 1, grid->columnCount(), grid->rowCount() - 1, 1);

    applyPatterns();
    connect(this, &QFileDialog::filterSelected, this, [this] { applyPatterns(); });
    connect(this, &QFileDialog::directoryEntered, this, [this] { applyPatterns(); });
    connect(this, &QFileDialog::currentChanged, this, &PictureOpenDialog::showPreview);
    // A file chosen before the folder is listed gets no change signal; show it once listed.
    if (auto *model = findChild<QFileSystemModel *>()) {
        connect(model, &QFileSystemModel::directoryLoaded, this, [this] {
            const QStringList files = selectedFiles();
            if (files.size() == 1) showPreview(files.first());
        });
    }
}

QString PictureOpenDialog::filterText()
{
    return QStringLiteral("All(*.bmp;*.ico,*.Jpg;*.PNG;*.JPEG;*.Gif;)");
}

QStringList PictureOpenDialog::picturePatterns()
{
    return {QStringLiteral("*.bmp"), QStringLiteral("*.ico"),  QStringLiteral("*.jpg"),
            QStringLiteral("*.png"), QStringLiteral("*.jpeg"), QStringLiteral("*.gif")};
}

void PictureOpenDialog::applyPatterns()
{
    // The filter text splits into no usable pattern, so the list's model gets the real
    // ones; without QDir::CaseSensitive they match in any letter case.
    if (auto *model = findChild<QFileSystemModel *>()) {
        model->setFilter(model->filter() & ~QDir::CaseSensitive);
        model->setNameFilters(picturePatterns());
    }
}

void PictureOpenDialog::showPreview(const QString &path)
{
    m_preview->clear();
    if (!QFileInfo(path).isFile()) return;
    QImageReader reader(path);
    const QSize size = reader.size();
    if (size.isValid() && (size.width() > 200 || size.height() > 200))
        reader.setScaledSize(size.scaled(m_preview->size(), Qt::KeepAspectRatio));
    const QImage image = reader.read();
    if (!image.isNull()) m_preview->setPixmap(QPixmap::fromImage(image));
}
