#include "settransfrm.h"

#include "appmessage.h"
#include "programfolder.h"
#include "textfile.h"
#include "uistyle.h"

#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QPainter>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>

namespace
{
QString settingsPath()
{
    return ProgramFolder::path(QStringLiteral("Data\\SetTrans.ini"));
}

QFont pixelFont(int px)
{
    return UiStyle::pixelFont(QStringLiteral("微软雅黑"), px);
}

QLabel *addLabel(QWidget *parent, const QString &text, int x, int y, int px, const QColor &colour)
{
    auto *label = new QLabel(text, parent);
    label->setFont(pixelFont(px));
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, colour);
    label->setPalette(pal);
    label->move(x, y);
    label->adjustSize();
    return label;
}
} // namespace

TSetTransFrm::TSetTransFrm(QWidget *parent)
    : FramelessDialog(parent, {376, 170}, QStringLiteral("背景透明度调节"))
{
    setObjectName(QStringLiteral("SetTransFrm"));
    setStyleSheet(UiStyle::buttonStyle());

    addLabel(this, QStringLiteral("背景透明度调节"), 14, 9, 15, QColor(29, 53, 87))
        ->setObjectName(QStringLiteral("lblTitle"));

    auto makeRadio = [this](const char *name, const QString &text, int x, int y) {
        auto *radio = new QRadioButton(text, this);
        radio->setObjectName(QString::fromLatin1(name));
        radio->setFont(pixelFont(16));
        radio->setAutoFillBackground(true);
        QPalette pal = radio->palette();
        pal.setColor(QPalette::Window, Qt::white);
        radio->setPalette(pal);
        radio->move(x, y);
        radio->adjustSize();
        return radio;
    };
    rdiHalfTrans = makeRadio("rdiHalfTrans", QStringLiteral(" 半透明效果  "), 15, 49);
    addLabel(this, QStringLiteral("（适合各种壁纸颜色）"), 134, 49, 15, Qt::blue);
    rdiAllTrans = makeRadio("rdiAllTrans", QStringLiteral(" 全透明效果"), 17, 88);
    addLabel(this, QStringLiteral("（适合较淡壁纸，蓝天白云等）"), 134, 85, 15, Qt::blue);

    auto *btnok = new QPushButton(QStringLiteral("确  定"), this);
    btnok->setObjectName(QStringLiteral("btnok"));
    btnok->setGeometry(219, 144, 75, 23);
    connect(btnok, &QPushButton::clicked, this, &TSetTransFrm::btnokClick);

    auto *btncancel = new QPushButton(QStringLiteral("取  消"), this);
    btncancel->setObjectName(QStringLiteral("btncancel"));
    btncancel->setGeometry(299, 144, 75, 23);
    connect(btncancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *close = new CloseButton(this);
    close->setObjectName(QStringLiteral("imgClose"));
    close->move(335, 2);
    connect(close, &QAbstractButton::clicked, this, &QDialog::reject);
}

void TSetTransFrm::LoadTransMode()
{
    const QString path = settingsPath();
    if (QFileInfo::exists(path)) {
        const std::optional<QStringList> lines = TextFile::readLines(path);
        bool ok = false;
        const int value = lines && !lines->isEmpty() ? lines->first().trimmed().toInt(&ok) : 0;
        TransMode = ok ? value : 1;
        return;
    }
    TextFile::writeLines(path, {QStringLiteral("1")});
    TransMode = 1;
}

bool TSetTransFrm::SaveTransMode(qint32 mode)
{
    TransMode = mode;
    return TextFile::writeLines(settingsPath(), {QString::number(mode)});
}

void TSetTransFrm::FormShow()
{
    (TransMode == 1 ? rdiAllTrans : rdiHalfTrans)->setChecked(true);
}

void TSetTransFrm::btnokClick()
{
    if (!SaveTransMode(rdiHalfTrans->isChecked() ? 0 : 1)) {
        AppMessage::show(this, QStringLiteral("无法保存透明度设置，请检查数据文件夹是否可写。"));
        return;
    }
    accept();
}

QColor TSetTransFrm::boxColor(qint32 transMode)
{
    return transMode == 1 ? QApplication::palette().color(QPalette::Base) : QColor(247, 247, 247);
}

void TSetTransFrm::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    QLinearGradient bg(0, 0, 0, height());
    bg.setColorAt(0, QColor(255, 255, 255));
    bg.setColorAt(1, QColor(238, 244, 251));
    p.fillRect(rect(), bg);
    p.fillRect(QRect(2, 2, width() - 4, 34), QColor(216, 227, 243));
    p.setPen(QPen(QColor(157, 179, 214), 2));
    p.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
}
