#include "inforfrm.h"

#include "appmessage.h"
#include "textfile.h"
#include "uistyle.h"

#include <QCheckBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

TInforFrm::TInforFrm(QWidget *parent) : FramelessDialog(parent, {344, 156}, AppMessage::appTitle())
{
    setObjectName(QStringLiteral("InforFrm"));
    setStyleSheet(UiStyle::buttonStyle());

    auto *label = new QLabel(QStringLiteral("您确定要更换壁纸？"), this);
    label->setObjectName(QStringLiteral("lblInfo"));
    label->setFont(UiStyle::pixelFont(QStringLiteral("宋体"), 14, true));
    label->move(112, 40);
    label->adjustSize();

    chkSetBgInfo = new QCheckBox(QStringLiteral("下次不再提示"), this);
    chkSetBgInfo->setObjectName(QStringLiteral("chkSetBgInfo"));
    chkSetBgInfo->setGeometry(120, 88, 97, 17);
    chkSetBgInfo->setFont(UiStyle::pixelFont(QStringLiteral("宋体"), 12));

    auto *btnok = new QPushButton(QStringLiteral("确  定"), this);
    btnok->setObjectName(QStringLiteral("btnok"));
    btnok->setGeometry(176, 120, 75, 25);
    connect(btnok, &QPushButton::clicked, this, &TInforFrm::btnokClick);

    auto *btncancel = new QPushButton(QStringLiteral("取  消"), this);
    btncancel->setObjectName(QStringLiteral("btncancel"));
    btncancel->setGeometry(256, 120, 75, 25);
    connect(btncancel, &QPushButton::clicked, this, &TInforFrm::btncancelClick);

    auto *btnClose = new QPushButton(QStringLiteral("X"), this);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    btnClose->setGeometry(321, 1, 20, 18);
    btnClose->setFont(UiStyle::pixelFont(QStringLiteral("Arial"), 12, true));
    btnClose->setStyleSheet(QStringLiteral(
        "QPushButton { padding: 0; border: none; background: transparent; color: #5a6f94; }"
        "QPushButton:hover { color: #e04840; }"
        "QPushButton:pressed { color: #b02824; }"));
    connect(btnClose, &QPushButton::clicked, this, &TInforFrm::btncancelClick);
}

void TInforFrm::bind(bool *showSetBgInfo, bool *setBgConfirmed, const QString &configSetBgFile)
{
    m_showSetBgInfo = showSetBgInfo;
    m_setBgConfirmed = setBgConfirmed;
    m_configFile = configSetBgFile;
}

void TInforFrm::btnokClick()
{
    if (m_setBgConfirmed) *m_setBgConfirmed = true;
    if (chkSetBgInfo->isChecked()) {
        if (m_showSetBgInfo) *m_showSetBgInfo = false;
        if (!m_configFile.isEmpty() && !TextFile::writeLines(m_configFile, {QStringLiteral("0")}))
            AppMessage::show(this,
                             QStringLiteral("无法保存“下次不再提示”的设置，下次启动时仍会提示。"));
    }
    accept();
}

void TInforFrm::btncancelClick()
{
    reject();
}

void TInforFrm::reject()
{
    if (m_setBgConfirmed) *m_setBgConfirmed = false;
    FramelessDialog::reject();
}

void TInforFrm::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.setPen(UiStyle::Blue);
    p.drawRect(rect().adjusted(0, 0, -1, -1));

    // Question mark at (32, 24): a blue disc with a white "?".
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF disc(32, 24, 48, 48);
    QRadialGradient shade(disc.center() - QPointF(8, 10), 40);
    shade.setColorAt(0, QColor(120, 170, 235));
    shade.setColorAt(1, QColor(38, 98, 190));
    p.setPen(QPen(QColor(30, 80, 160), 1));
    p.setBrush(shade);
    p.drawEllipse(disc);
    p.setPen(Qt::white);
    p.setFont(UiStyle::pixelFont(QStringLiteral("Arial Black"), 32, true));
    p.drawText(disc, Qt::AlignCenter, QStringLiteral("?"));
}
