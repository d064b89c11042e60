#include "contentpicture.h"

#include "bmpfile.h"

#include <QPixmap>
#include <QWidget>

bool SaveContentPicture(QWidget *panel, const QString &path, QString *error)
{
    if (!panel || panel->width() <= 0 || panel->height() <= 0) {
        if (error) *error = QStringLiteral("周记面板不可用");
        return false;
    }
    // grab() paints the widget itself, so windows above it (a closing dialog) never show, and
    // on a high-density screen it gives device pixels.
    QImage image = panel->grab().toImage();
    if (image.isNull()) {
        if (error) *error = QStringLiteral("无法复制周记面板");
        return false;
    }
    image.setDevicePixelRatio(1.0);
    return BmpFile::write(image, path, 32, error);
}
