#pragma once

#include "bmpfile.h"
#include "programfolder.h"
#include "wallpaperui.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <functional>

// A temporary program folder with the data and pictures folders, and the modal seams answered
// by the test: `answer` runs on each modal window while it is shown, and messages are kept.
struct WallpaperFixture {
    QTemporaryDir dir;
    std::function<void(QDialog &)> answer;
    QStringList messages;
    int modalRuns = 0;

    WallpaperFixture()
    {
        ProgramFolder::setRoot(dir.path());
        QDir(dir.path()).mkpath(QStringLiteral("Data"));
        QDir(dir.path()).mkpath(QStringLiteral("source/DeskTopBG"));
        WallpaperUi::setModalRunner([this](QDialog &dialog) {
            ++modalRuns;
            dialog.setResult(0);
            dialog.show();
            if (answer) answer(dialog);
            if (dialog.isVisible()) dialog.reject();
            return dialog.result();
        });
        WallpaperUi::setMessageSink(
            [this](QWidget *, const QString &, const QString &text) { messages << text; });
    }
    ~WallpaperFixture()
    {
        WallpaperUi::setModalRunner({});
        WallpaperUi::setMessageSink({});
        WallpaperUi::setPictureChooser({});
        ProgramFolder::setRoot({});
    }

    QString pictures() const { return dir.path() + QStringLiteral("/source/DeskTopBG/"); }
    QString data(const QString &name) const { return dir.path() + QStringLiteral("/Data/") + name; }

    static QByteArray bytes(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static bool put(const QString &path, const QByteArray &content)
    {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
    }
    // Lines joined by CR LF, as the program writes them.
    static QByteArray crlf(const QStringList &lines)
    {
        QByteArray out;
        for (const QString &line : lines)
            out += line.toUtf8() + "\r\n";
        return out;
    }
    bool background(const QString &name, QSize size, QRgb colour) const
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(colour);
        return BmpFile::write(image, pictures() + name, 24);
    }
};
