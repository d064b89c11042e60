// Pictures of the wallpaper windows and of a finished wallpaper, for looking at:
//   wallpaper_screens OUTPUT_FOLDER DEFAULT_BACKGROUND.bmp
// Writes wallpaper-picsel.png, wallpaper-add.png, wallpaper-confirm.png,
// wallpaper-transparency.png and, for a
// week with notes in full and in half transparency, the whole Mix.bmp scaled down and the
// week's corner at full size.
#include "bmpfile.h"
#include "deskbgsetfrm.h"
#include "fontsubstitutions.h"
#include "inforfrm.h"
#include "picselfrm.h"
#include "pictureopendialog.h"
#include "programfolder.h"
#include "settransfrm.h"
#include "textfile.h"
#include "wallpaperflow.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPainter>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTreeWidget>

namespace
{

// The week panel laid out as the main window lays out its designed 594 x 445 panel.
class WeekPanel : public QWidget
{
public:
    explicit WeekPanel(const QColor &boxColour)
    {
        setAutoFillBackground(true);
        QPalette pal = palette();
        pal.setColor(QPalette::Window, Qt::white);
        setPalette(pal);
        resize(594, 445);
        const QStringList days{"周 一", "周 二", "周 三", "周 四", "周 五", "周 六/日"};
        const QStringList notes{"9:00 项目周会\n整理上周的问题清单\n下午 给王经理回电话",
                                "交季度报告初稿\n18:30 羽毛球",
                                "牙医复诊（上午十点）\n买菜：青菜、豆腐、鸡蛋",
                                "客户来访，准备演示\n晚上 读书一小时",
                                "周报\n提交报销单\n妈妈生日，订蛋糕！",
                                "周六 带孩子去科技馆\n周日 大扫除，给花浇水"};
        const int cols[3] = {3, 198, 395};
        for (int i = 0; i < 6; ++i) {
            const int top = i < 3 ? 26 : 241;
            auto *caption = new QLabel(days[i], this);
            QFont f(QStringLiteral("宋体"));
            f.setPixelSize(12);
            caption->setFont(f);
            caption->move(cols[i % 3] + 9, i < 3 ? 7 : 223);
            auto *box = new QTextEdit(this);
            box->setFrameShape(QFrame::NoFrame);
            QFont boxFont(QStringLiteral("宋体"));
            boxFont.setPixelSize(15);
            box->setFont(boxFont);
            box->setPlainText(notes[i]);
            QPalette bp = box->palette();
            bp.setColor(QPalette::Base, boxColour);
            box->setPalette(bp);
            box->setGeometry(cols[i % 3], top, i % 3 == 2 ? 192 : 196, i < 3 ? 189 : 199);
            box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        }
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        for (int top : {0, 215}) {
            QLinearGradient band(0, top, 0, top + 26);
            band.setColorAt(0, QColor(232, 239, 250));
            band.setColorAt(1, QColor(208, 221, 242));
            p.fillRect(QRect(4, top, width() - 8, 26), band);
        }
        p.fillRect(QRect(198, 0, 196, 26), QColor(250, 214, 140)); // selected day: Tuesday
        p.setPen(QColor(220, 227, 255));
        for (int x : {2, 197, 394, width() - 3})
            p.drawLine(x, 0, x, height() - 5);
        p.drawLine(2, height() - 5, width() - 3, height() - 5);
    }
};

bool savePng(const QImage &image, const QString &path)
{
    const bool ok = image.save(path, "PNG");
    if (!ok) qWarning("cannot write %s", qPrintable(path));
    return ok;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    installFontSubstitutions();
    if (argc < 3) {
        qWarning("usage: wallpaper_screens OUTPUT_FOLDER DEFAULT_BACKGROUND.bmp");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]) + u'/';
    QDir().mkpath(out);
    QTemporaryDir dir;
    ProgramFolder::setRoot(dir.path());
    QDir(dir.path()).mkpath(QStringLiteral("Data"));
    QDir(dir.path()).mkpath(QStringLiteral("source/DeskTopBG"));
    const QString pictures = dir.path() + QStringLiteral("/source/DeskTopBG/");
    QFile::copy(QString::fromLocal8Bit(argv[2]), pictures + QStringLiteral("A1.bmp"));
    TextFile::writeLines(ProgramFolder::path(QStringLiteral("Data\\BGPicList.ini")),
                         {"A1.bmp", "A1.bmp", "春天的湖.bmp", "海边日出.bmp", "雪山 2.bmp"});

    TWallpaperFlow flow;
    flow.LoadPicBGList(false);

    TPicSelFrm &sel = flow.PicSelFrm();
    sel.show();
    sel.findChild<QTreeWidget *>(QStringLiteral("LVpic"))->topLevelItem(2)->setSelected(true);
    bool ok = savePng(sel.grab().toImage(), out + QStringLiteral("wallpaper-picsel.png"));
    sel.hide();

    TInforFrm &info = flow.InforFrm();
    info.show();
    ok &= savePng(info.grab().toImage(), out + QStringLiteral("wallpaper-confirm.png"));
    info.hide();

    TSetTransFrm &trans = flow.SetTransFrm();
    trans.show();
    ok &= savePng(trans.grab().toImage(), out + QStringLiteral("wallpaper-transparency.png"));
    trans.hide();

    PictureOpenDialog chooser;
    chooser.setDirectory(pictures);
    chooser.selectFile(pictures + QStringLiteral("A1.bmp"));
    chooser.resize(820, 440);
    chooser.show();
    for (int i = 0; i < 50; ++i) // the folder is listed in the background
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    ok &= savePng(chooser.grab().toImage(), out + QStringLiteral("wallpaper-add.png"));
    chooser.hide();

    TDeskBGSetFrm::setInstaller([](const QString &) { return DesktopWallpaper::Result{true, {}}; });
    flow.ShowSetBgInfo = false;
    for (const auto &[mode, name] : {std::pair{1, "full"}, std::pair{0, "half"}}) {
        WeekPanel panel(TSetTransFrm::boxColor(mode));
        panel.show();
        flow.FBgIndex = 1;
        const TWallpaperFlow::ApplyResult r = flow.applyToDesktop(&panel);
        if (!r.ok) {
            qWarning("%s", qPrintable(r.message));
            return 1;
        }
        const QImage mix = *BmpFile::read(pictures + QStringLiteral("Mix.bmp"));
        const QString stem =
            out + QStringLiteral("wallpaper-mix-%1").arg(QString::fromLatin1(name));
        ok &= savePng(mix.scaledToWidth(960, Qt::SmoothTransformation),
                      stem + QStringLiteral(".png"));
        ok &= savePng(mix.copy(mix.width() - 700, 0, 700, 520), stem + QStringLiteral("-week.png"));
    }
    return ok ? 0 : 1;
}
