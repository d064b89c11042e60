#include "picselfrm.h"

#include "appmessage.h"
#include "bmpfile.h"
#include "picbglist.h"
#include "picconvert.h"
#include "uistyle.h"
#include "wallpaperui.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QTreeWidget>

TPicSelFrm::TPicSelFrm(QWidget *parent)
    : FramelessDialog(parent, {524, 286}, QStringLiteral("背景图片选择"))
{
    setObjectName(QStringLiteral("PicSelFrm"));
    setStyleSheet(UiStyle::buttonStyle());

    auto *close = new CloseButton(this);
    close->setObjectName(QStringLiteral("imgClose"));
    close->move(width() - close->width(), 0);
    connect(close, &QAbstractButton::clicked, this, &QDialog::reject);

    LVpic = new QTreeWidget(this);
    LVpic->setObjectName(QStringLiteral("LVpic"));
    LVpic->setGeometry(9, 56, 319, 160);
    LVpic->setColumnCount(1);
    LVpic->setHeaderLabels({QStringLiteral("默认图片")});
    LVpic->header()->hide();
    LVpic->setColumnWidth(0, 300);
    LVpic->setRootIsDecorated(false);
    LVpic->setSelectionMode(QAbstractItemView::ExtendedSelection);
    LVpic->setSelectionBehavior(QAbstractItemView::SelectRows);
    LVpic->setEditTriggers(QAbstractItemView::NoEditTriggers);
    LVpic->setFrameShape(QFrame::NoFrame);
    LVpic->setFont(UiStyle::pixelFont(QStringLiteral("宋体"), 12));

    lblTishi = new QLabel(this);
    lblTishi->setObjectName(QStringLiteral("lblTishi"));
    lblTishi->setGeometry(352, 64, 161, 153);
    lblTishi->setTextFormat(Qt::PlainText);
    lblTishi->setWordWrap(true);
    lblTishi->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblTishi->setAttribute(Qt::WA_TranslucentBackground);
    lblTishi->setFont(UiStyle::pixelFont(QStringLiteral("幼圆"), 15));
    lblTishi->setText(
        QStringLiteral("注：可添加多个壁纸大 小1024*768以上                            图像格式："
                       "                            BMP,JPG"));

    struct Spec {
        const char *name;
        const char *text;
        int x;
        void (TPicSelFrm::*slot)();
    };
    for (const Spec &b : {Spec{"btnRemove", "移  除", 12, &TPicSelFrm::btnRemoveClick},
                          Spec{"btnAdd", "添  加", 108, &TPicSelFrm::btnAddClick},
                          Spec{"btnOk", "确  定", 209, &TPicSelFrm::btnOkClick}}) {
        auto *button = new QPushButton(QString::fromUtf8(b.text), this);
        button->setObjectName(QString::fromLatin1(b.name));
        button->setGeometry(b.x, 240, 75, 25);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, b.slot);
    }
}

void TPicSelFrm::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    // Background: white fading into the window family's light blue, a title band on top.
    QLinearGradient bg(0, 0, 0, height());
    bg.setColorAt(0, QColor(255, 255, 255));
    bg.setColorAt(1, QColor(234, 241, 250));
    p.fillRect(rect(), bg);
    QLinearGradient band(0, 0, 0, 44);
    band.setColorAt(0, QColor(216, 227, 243));
    band.setColorAt(1, QColor(240, 245, 252));
    p.fillRect(QRect(0, 0, width(), 44), band);

    // Logo at (5, 1): a small framed landscape and the window's name.
    const QRectF icon(9, 7, 34, 28);
    p.setPen(QPen(QColor(64, 110, 170), 1.5));
    p.setBrush(QColor(250, 252, 255));
    p.drawRoundedRect(icon, 3, 3);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(246, 190, 80));
    p.drawEllipse(QPointF(icon.right() - 9, icon.top() + 8), 3.5, 3.5);
    QPainterPath hills;
    hills.moveTo(icon.left() + 2, icon.bottom() - 2);
    hills.lineTo(icon.left() + 12, icon.top() + 12);
    hills.lineTo(icon.left() + 19, icon.top() + 19);
    hills.lineTo(icon.left() + 24, icon.top() + 15);
    hills.lineTo(icon.right() - 2, icon.bottom() - 2);
    hills.closeSubpath();
    p.setBrush(QColor(90, 150, 200));
    p.drawPath(hills);
    p.setPen(QColor(40, 70, 120));
    p.setFont(UiStyle::pixelFont(QStringLiteral("微软雅黑"), 17, true));
    p.drawText(QRect(52, 1, 260, 40), Qt::AlignVCenter | Qt::AlignLeft, windowTitle());

    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QColor(216, 227, 243));
    p.setBrush(Qt::NoBrush);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    p.setPen(QColor(64, 128, 128));
    p.drawRect(8, 55, 320, 161); // 321 x 162 outline around the list
}

void TPicSelFrm::FormShow()
{
    if (PicBGListFile::exists()) {
        const std::optional<QStringList> lines = PicBGListFile::read();
        if (!lines || lines->isEmpty()) return;
        FSelPicName = lines->first();
        LVpic->clear();
        for (qsizetype i = 1; i < lines->size(); ++i)
            appendItem(lines->at(i));
        return;
    }
    PicBGListFile::write(PicBGListFile::defaultLines());
    FSelPicName = QString::fromLatin1(PicBGListFile::kDefaultPicture);
}

void TPicSelFrm::appendItem(const QString &caption)
{
    new QTreeWidgetItem(LVpic, QStringList{caption});
}

QStringList TPicSelFrm::pictureNames() const
{
    QStringList names;
    for (int i = 0; i < LVpic->topLevelItemCount(); ++i)
        names << LVpic->topLevelItem(i)->text(0);
    return names;
}

QTreeWidgetItem *TPicSelFrm::firstSelected() const
{
    for (int i = 0; i < LVpic->topLevelItemCount(); ++i) {
        if (LVpic->topLevelItem(i)->isSelected()) return LVpic->topLevelItem(i);
    }
    return nullptr;
}

bool TPicSelFrm::writeListFile(bool report)
{
    if (PicBGListFile::write(QStringList{FSelPicName} + pictureNames())) return true;
    if (report)
        AppMessage::show(this, QStringLiteral("背景图片列表无法保存，请检查数据文件夹是否可写。"));
    return false;
}

void TPicSelFrm::btnAddClick()
{
    const QStringList chosen = WallpaperUi::choosePictures(this);
    if (chosen.isEmpty()) return;
    const QString folder = PictureFolder();
    QDir().mkpath(folder);
    // A failed write skips only the file in hand; the list is reported once, and only when the
    // last write left it behind the view.
    bool unsaved = false;
    for (const QString &source : chosen) {
        const QFileInfo info(source);
        if (!info.isFile()) continue;
        const QString target = folder + info.fileName();
        // A picture chosen from the pictures folder itself is already in place; replacing a
        // file by itself would delete it.
        if (QFileInfo(target).canonicalFilePath() != info.canonicalFilePath()) {
            // Copy beside the target first, so a failed copy keeps the old file.
            const QString part = target + QStringLiteral(".part");
            QFile::remove(part);
            if (QFile::copy(source, part)) {
                QFile::remove(target);
                if (!QFile::rename(part, target)) QFile::remove(part);
            }
        }
        const PicResult bmp = PicToBmp(target);
        if (bmp.bmpPath.isEmpty() || !BmpFile::read(bmp.bmpPath)) continue;
        appendItem(QFileInfo(bmp.bmpPath).fileName());
        unsaved = !writeListFile(false);
    }
    if (unsaved) writeListFile();
}

void TPicSelFrm::btnRemoveClick()
{
    const QTreeWidgetItem *first = firstSelected();
    if (!first) return;
    const QString caption = first->text(0);
    const QString defaultName = QString::fromLatin1(PicBGListFile::kDefaultPicture);
    if (caption == FSelPicName) FSelPicName = defaultName;
    if (caption != defaultName) qDeleteAll(LVpic->selectedItems());
    writeListFile();
}

void TPicSelFrm::btnOkClick()
{
    const QTreeWidgetItem *first = firstSelected();
    if (!first || first->text(0) == FSelPicName) {
        accept();
        return;
    }
    FSelPicName = first->text(0);
    writeListFile();
    accept();
}
