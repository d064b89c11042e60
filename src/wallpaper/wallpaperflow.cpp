#include "wallpaperflow.h"

#include "appmessage.h"
#include "bmpfile.h"
#include "contentpicture.h"
#include "inforfrm.h"
#include "jpegcodec.h"
#include "picconvert.h"
#include "picselfrm.h"
#include "programfolder.h"
#include "settransfrm.h"
#include "textfile.h"
#include "wallpaperui.h"

#include <QFileInfo>
#include <QThread>
#include <QWidget>

namespace
{

template <typename Frm> Frm &ensureWindow(QPointer<Frm> &window, QWidget *parent)
{
    if (!window) {
        window = new Frm(parent);
    } else if (parent && window->parentWidget() != parent) {
        window->setParent(parent, window->windowFlags());
    }
    return *window;
}

constexpr int kTopOffset = 30; // rows between the background's top and the week
constexpr int kBlendPercent = 50;
constexpr int kJpegQuality = 90;

} // namespace

TWallpaperFlow::TWallpaperFlow() = default;

TWallpaperFlow::~TWallpaperFlow()
{
    delete m_picSelFrm.data();
    delete m_inforFrm.data();
    delete m_setTransFrm.data();
}

TPicSelFrm &TWallpaperFlow::PicSelFrm(QWidget *parent)
{
    return ensureWindow(m_picSelFrm, parent);
}
TInforFrm &TWallpaperFlow::InforFrm(QWidget *parent)
{
    return ensureWindow(m_inforFrm, parent);
}
TSetTransFrm &TWallpaperFlow::SetTransFrm(QWidget *parent)
{
    return ensureWindow(m_setTransFrm, parent);
}

bool TWallpaperFlow::LoadConfigSetBg(QString *error)
{
    ShowSetBgInfo = true;
    SetBgConfirmed = false;
    ConfigSetBgFile = ProgramFolder::path(QStringLiteral("data\\configSetBg.ini"));
    if (!QFileInfo::exists(ConfigSetBgFile)) {
        if (TextFile::writeLines(ConfigSetBgFile, {QStringLiteral("1")})) return true;
        if (error) *error = QStringLiteral("无法创建设置文件“configSetBg.ini”。");
        return false;
    }
    const std::optional<QStringList> lines = TextFile::readLines(ConfigSetBgFile);
    bool ok = false;
    const int value = lines && !lines->isEmpty() ? lines->first().trimmed().toInt(&ok) : 0;
    if (!ok) {
        if (error) {
            const QString first = lines && !lines->isEmpty() ? lines->first() : QString();
            *error =
                lines
                    ? QStringLiteral("设置文件“configSetBg.ini”中的“%1”不是有效的整数。").arg(first)
                    : QStringLiteral("无法读取设置文件“configSetBg.ini”。");
        }
        return false;
    }
    ShowSetBgInfo = value > 0;
    return true;
}

bool TWallpaperFlow::LoadPicBGList(bool bySelection, QString *error)
{
    if (!PicBGListFile::exists()) {
        const QStringList lines = PicBGListFile::defaultLines();
        FBgPicName = lines.first();
        PicBGList = {{0, lines[0]}, {1, lines[1]}};
        FBgIndex = 0;
        if (PicBGListFile::write(lines)) return true;
        if (error) *error = QStringLiteral("无法创建背景图片列表“BGPicList.ini”。");
        return false;
    }
    const std::optional<QStringList> lines = PicBGListFile::read();
    if (!lines) {
        if (error) *error = QStringLiteral("无法读取背景图片列表“BGPicList.ini”。");
        return false;
    }
    if (lines->isEmpty()) return true;
    FBgPicName = lines->first();
    const qint32 n = qint32(lines->size());
    PicBGList.resize(n);
    for (qint32 i = 0; i < n; ++i) {
        PicBGList[i] = {i, lines->at(i)};
        if (lines->at(i) == FBgPicName) FBgIndex = bySelection ? i : n - 1;
    }
    return true;
}

void TWallpaperFlow::imgAddToDeskClick(QWidget *parent)
{
    TPicSelFrm &frm = PicSelFrm(parent);
    frm.FSelPicName = FBgPicName;
    WallpaperUi::execModal(frm);
    QString error;
    bool loaded = false;
    if (frm.FSelPicName == FBgPicName) {
        loaded = LoadPicBGList(false, &error);
    } else {
        FBgPicName = frm.FSelPicName;
        loaded = LoadPicBGList(true, &error);
    }
    if (!loaded) AppMessage::show(parent, error);
}

void TWallpaperFlow::imgAppToDeskClick(QWidget *pnlRight, QWidget *parent)
{
    if (ShowSetBgInfo) {
        TInforFrm &frm = InforFrm(parent);
        frm.bind(&ShowSetBgInfo, &SetBgConfirmed, ConfigSetBgFile);
        WallpaperUi::execModal(frm);
        // Let the window under the closed confirmation settle before the panel is copied.
        if (parent) parent->window()->repaint();
        QThread::msleep(100);
        if (!SetBgConfirmed) return;
    }
    const ApplyResult result = applyToDesktop(pnlRight);
    if (!result.ok) AppMessage::show(parent, result.message);
}

bool TWallpaperFlow::SaveContentPicture(QWidget *pnlRight, QString *error)
{
    DeskBGSetFrm.ContentFile = DeskBGSetFrm.PicFolder + QStringLiteral("Content.bmp");
    return ::SaveContentPicture(pnlRight, DeskBGSetFrm.ContentFile, error);
}

TWallpaperFlow::ApplyResult TWallpaperFlow::applyToDesktop(QWidget *pnlRight)
{
    auto failed = [](const QString &what) {
        return ApplyResult{false, what + QStringLiteral("壁纸未更换。")};
    };
    TDeskBGSetFrm &desk = DeskBGSetFrm;
    QString error;

    if (!SaveContentPicture(pnlRight, &error))
        return failed(QStringLiteral("无法保存周记内容图片（%1）。").arg(error));

    const QString folder = PictureFolder();
    const qint32 n = qint32(PicBGList.size());
    if (FBgIndex < 0 || FBgIndex >= n) return failed(QStringLiteral("背景图片列表为空。"));
    desk.BGFile = folder + PicBGList[FBgIndex].PicFile;
    if (!QFileInfo(desk.BGFile).isFile()) {
        ++FBgIndex;
        if (FBgIndex >= n) FBgIndex = 1;
        if (FBgIndex >= n)
            return failed(QStringLiteral("背景图片“%1”不存在。").arg(PicBGList[0].PicFile));
        desk.BGFile = folder + PicBGList[FBgIndex].PicFile;
    }
    desk.ContentFile = folder + QStringLiteral("Content.bmp");

    std::optional<QImage> content = BmpFile::read(desk.ContentFile, &error);
    if (!content) return failed(QStringLiteral("无法读取周记内容图片。"));
    std::optional<QImage> background = BmpFile::read(desk.BGFile, &error);
    if (!background)
        return failed(
            QStringLiteral("无法读取背景图片“%1”。").arg(QFileInfo(desk.BGFile).fileName()));
    MixPicFrm.img1 = std::move(*content);
    MixPicFrm.img2 = std::move(*background);
    const QSize contentSize = MixPicFrm.img1.size();
    const QSize backgroundSize = MixPicFrm.img2.size();
    const MixResult mixed = MixPicFrm.mix();
    if (!mixed.ok) {
        if (mixed.tooShort)
            return failed(QStringLiteral(
                              "背景图片“%1”（%2×%3）太小，放不下本周内容（高度至少需要 %4 像素）。")
                              .arg(QFileInfo(desk.BGFile).fileName())
                              .arg(backgroundSize.width())
                              .arg(backgroundSize.height())
                              .arg(contentSize.height() + kTopOffset));
        return failed(QStringLiteral("无法合成壁纸图片（%1）。").arg(mixed.error));
    }

    const QString mixBmp = desk.PicFolder + QStringLiteral("Mix.bmp");
    if (!BmpFile::write(MixPicFrm.imgmix, mixBmp, 32, &error))
        return failed(QStringLiteral("无法保存壁纸图片（%1）。").arg(error));

    // The installed Mix.bmp is the picture as decoded back from Mix.Jpg.
    const QString mixJpg = desk.PicFolder + QStringLiteral("Mix.Jpg");
    const QByteArray jpeg = JpegCodec::encode(MixPicFrm.imgmix, kJpegQuality, &error);
    if (jpeg.isEmpty()) return failed(QStringLiteral("无法生成壁纸图片（%1）。").arg(error));
    if (!BmpFile::replaceFile(mixJpg, jpeg))
        return failed(QStringLiteral("无法保存壁纸图片“Mix.Jpg”。"));
    const PicResult finalBmp = JpgToBmp(mixJpg);
    if (!finalBmp.ok())
        return failed(QStringLiteral("无法生成壁纸图片（%1）。").arg(finalBmp.error));

    // The desktop is given the file's real name: on a case-sensitive file system "Mix.Bmp"
    // would name no file.
    const DesktopWallpaper::Result installed = desk.SetDeskWallpaper(mixBmp);
    if (!installed.ok)
        return {false, QStringLiteral("无法设置此桌面的壁纸（%1）。壁纸图片已保存在“%2”。")
                           .arg(installed.error, mixBmp)};
    --FBgIndex;
    if (FBgIndex <= 0) FBgIndex = n - 1;
    return {true, QString()};
}

qint32 TWallpaperFlow::LoadTransMode()
{
    TSetTransFrm &frm = SetTransFrm();
    frm.LoadTransMode();
    return frm.TransMode;
}

qint32 TWallpaperFlow::TransMode()
{
    return SetTransFrm().TransMode;
}

QColor TWallpaperFlow::BoxColor()
{
    return TSetTransFrm::boxColor(TransMode());
}

QColor TWallpaperFlow::N_BgTransparentClick(QWidget *parent)
{
    WallpaperUi::execModal(SetTransFrm(parent));
    return BoxColor();
}
