#include "deskbgsetfrm.h"
#include "inforfrm.h"
#include "settransfrm.h"
#include "wallpaperfixture.h"
#include "wallpaperflow.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QtEndian>

namespace
{

// Stands in for the main window's week panel: white, with one black caption.
class WeekPanel : public QWidget
{
public:
    WeekPanel()
    {
        setAutoFillBackground(true);
        QPalette pal = palette();
        pal.setColor(QPalette::Window, Qt::white);
        setPalette(pal);
        resize(594, 445);
        auto *caption = new QLabel(this);
        caption->setGeometry(10, 4, 60, 20);
        caption->setAutoFillBackground(true);
        QPalette black = caption->palette();
        black.setColor(QPalette::Window, Qt::black);
        caption->setPalette(black);
    }
};

struct Installs {
    QStringList paths;
    bool succeed = true;
    Installs()
    {
        TDeskBGSetFrm::setInstaller([this](const QString &path) {
            paths << path;
            return succeed ? DesktopWallpaper::Result{true, {}}
                           : DesktopWallpaper::Result{false, QStringLiteral("桌面拒绝")};
        });
    }
    ~Installs() { TDeskBGSetFrm::setInstaller({}); }
};

void click(QDialog &d, const char *name)
{
    QAbstractButton *b = d.findChild<QAbstractButton *>(QString::fromLatin1(name));
    QVERIFY2(b, name);
    QTest::mouseClick(b, Qt::LeftButton);
}

int bitsPerPixel(const QByteArray &bmp)
{
    return qFromLittleEndian<quint16>(bmp.constData() + 28);
}

bool near(QRgb a, QRgb b)
{
    return qAbs(qRed(a) - qRed(b)) <= 3 && qAbs(qGreen(a) - qGreen(b)) <= 3 &&
           qAbs(qBlue(a) - qBlue(b)) <= 3;
}

} // namespace

class TstWallpaperFlow : public QObject
{
    Q_OBJECT
private slots:
    void confirmationSetting_data()
    {
        QTest::addColumn<QByteArray>("content"); // "-" : no file
        QTest::addColumn<bool>("loads");
        QTest::addColumn<bool>("ask");
        QTest::newRow("missing: created with 1") << QByteArray("-") << true << true;
        QTest::newRow("1") << QByteArray("1\r\n") << true << true;
        QTest::newRow("5") << QByteArray("5\r\n") << true << true;
        QTest::newRow("0") << QByteArray("0\r\n") << true << false;
        QTest::newRow("-3") << QByteArray("-3\r\n") << true << false;
        QTest::newRow("not a number") << QByteArray("yes\r\n") << false << true;
        QTest::newRow("empty file") << QByteArray() << false << true;
    }
    void confirmationSetting()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, loads);
        QFETCH(bool, ask);
        WallpaperFixture fx;
        if (content != "-") QVERIFY(fx.put(fx.data("configSetBg.ini"), content));
        TWallpaperFlow flow;
        QString error;
        QCOMPARE(flow.LoadConfigSetBg(&error), loads);
        QCOMPARE(error.isEmpty(), loads);
        QCOMPARE(flow.ShowSetBgInfo, ask);
        QCOMPARE(flow.SetBgConfirmed, false);
        QCOMPARE(flow.ConfigSetBgFile, fx.data("configSetBg.ini"));
        QCOMPARE(fx.bytes(fx.data("configSetBg.ini")),
                 content == "-" ? QByteArray("1\r\n") : content);
    }

    void confirmationWindow_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("tick");
        QTest::addColumn<bool>("applied");
        QTest::addColumn<bool>("askAfter");
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("cancel") << "btncancel" << false << false << true << QByteArray("1\r\n");
        QTest::newRow("X") << "btnClose" << true << false << true << QByteArray("1\r\n");
        QTest::newRow("Escape") << "Escape" << true << false << true << QByteArray("1\r\n");
        QTest::newRow("closed by the window system")
            << "close" << true << false << true << QByteArray("1\r\n");
        QTest::newRow("OK") << "btnok" << false << true << true << QByteArray("1\r\n");
        QTest::newRow("OK, do not ask again")
            << "btnok" << true << true << false << QByteArray("0\r\n");
    }
    void confirmationWindow()
    {
        QFETCH(QString, button);
        QFETCH(bool, tick);
        QFETCH(bool, applied);
        QFETCH(bool, askAfter);
        QFETCH(QByteArray, file);
        WallpaperFixture fx;
        Installs installs;
        QVERIFY(fx.background("A1.bmp", {1024, 768}, qRgb(90, 140, 200)));
        TWallpaperFlow flow;
        QVERIFY(flow.LoadConfigSetBg());
        QVERIFY(flow.LoadPicBGList(false));
        WeekPanel panel;
        fx.answer = [&](QDialog &d) {
            QCOMPARE(d.size(), QSize(344, 156));
            d.findChild<QCheckBox *>(QStringLiteral("chkSetBgInfo"))->setChecked(tick);
            if (button == u"Escape")
                QTest::keyClick(&d, Qt::Key_Escape);
            else if (button == u"close")
                d.close();
            else
                click(d, button.toLatin1().constData());
        };
        flow.SetBgConfirmed = true; // an earlier answer must not carry over
        flow.imgAppToDeskClick(&panel, nullptr);
        QCOMPARE(fx.modalRuns, 1);
        QCOMPARE(installs.paths.size(), applied ? 1 : 0);
        QCOMPARE(QFile::exists(fx.pictures() + "Content.bmp"), applied);
        QCOMPARE(flow.SetBgConfirmed, applied);
        QCOMPARE(flow.ShowSetBgInfo, askAfter);
        QCOMPARE(fx.bytes(fx.data("configSetBg.ini")), file);
        QVERIFY(fx.messages.isEmpty());

        flow.imgAppToDeskClick(&panel, nullptr); // asks again only when still configured so
        QCOMPARE(fx.modalRuns, askAfter ? 2 : 1);
        // The tick is kept from one showing to the next.
        QCOMPARE(
            flow.InforFrm().findChild<QCheckBox *>(QStringLiteral("chkSetBgInfo"))->isChecked(),
            tick);
    }

    void applyWritesThePictures()
    {
        WallpaperFixture fx;
        Installs installs;
        QVERIFY(fx.background("A1.bmp", {1024, 768}, qRgb(90, 140, 200)));
        TWallpaperFlow flow;
        QVERIFY(flow.LoadPicBGList(false));
        flow.ShowSetBgInfo = false;
        WeekPanel panel;
        flow.imgAppToDeskClick(&panel, nullptr);
        QVERIFY2(fx.messages.isEmpty(), qPrintable(fx.messages.value(0)));
        QCOMPARE(installs.paths, QStringList{fx.pictures() + "Mix.bmp"});

        const QByteArray content = fx.bytes(fx.pictures() + "Content.bmp");
        QCOMPARE(bitsPerPixel(content), 32);
        const std::optional<QImage> contentImage = BmpFile::read(fx.pictures() + "Content.bmp");
        QCOMPARE(contentImage->size(), QSize(594, 445));
        QCOMPARE(contentImage->pixel(20, 10), qRgb(0, 0, 0));
        QCOMPARE(contentImage->pixel(300, 300), qRgb(255, 255, 255));

        const QByteArray jpeg = fx.bytes(fx.pictures() + "Mix.Jpg");
        QVERIFY(jpeg.startsWith("\xFF\xD8"));
        QVERIFY(jpeg.contains("\xFF\xC0"));
        QVERIFY(!jpeg.contains("\xFF\xC2"));

        const QByteArray mix = fx.bytes(fx.pictures() + "Mix.bmp");
        QCOMPARE(bitsPerPixel(mix), 24);
        const std::optional<QImage> mixImage = BmpFile::read(fx.pictures() + "Mix.bmp");
        QCOMPARE(mixImage->size(), QSize(1024, 768));
        // The caption lands at (380 + 20, 30 + 10), half over the background; white is left out.
        QVERIFY(near(mixImage->pixel(400, 40), qRgb(45, 70, 100)));
        QVERIFY(near(mixImage->pixel(700, 300), qRgb(90, 140, 200)));
        QVERIFY(near(mixImage->pixel(5, 5), qRgb(90, 140, 200)));
    }

    void captureTakesDevicePixels()
    {
        WallpaperFixture fx;
        WeekPanel panel;
        panel.resize(120, 80);
        panel.show();
        const qreal ratio = panel.devicePixelRatioF();
        if (qEnvironmentVariable("QT_SCALE_FACTOR") == u"2") QCOMPARE(ratio, 2.0);
        TWallpaperFlow flow;
        QVERIFY(flow.SaveContentPicture(&panel));
        const std::optional<QImage> content = BmpFile::read(fx.pictures() + "Content.bmp");
        QVERIFY(content);
        QCOMPARE(content->size(), QSize(qRound(120 * ratio), qRound(80 * ratio)));
        QCOMPARE(content->pixel(qRound(20 * ratio), qRound(10 * ratio)), qRgb(0, 0, 0));
    }

    void rotation()
    {
        WallpaperFixture fx;
        Installs installs;
        for (const char *name : {"A1.bmp", "B.bmp", "C.bmp"})
            QVERIFY(fx.background(QString::fromLatin1(name), {800, 600}, qRgb(100, 100, 100)));
        QVERIFY(fx.put(fx.data("BGPicList.ini"), fx.crlf({"A1.bmp", "A1.bmp", "B.bmp", "C.bmp"})));
        TWallpaperFlow flow;
        QVERIFY(flow.LoadPicBGList(false));
        flow.ShowSetBgInfo = false;
        WeekPanel panel;
        QStringList used;
        QList<int> indices;
        for (int i = 0; i < 5; ++i) {
            flow.imgAppToDeskClick(&panel, nullptr);
            used << QFileInfo(flow.DeskBGSetFrm.BGFile).fileName();
            indices << flow.FBgIndex;
        }
        QCOMPARE(used, QStringList({"C.bmp", "B.bmp", "A1.bmp", "C.bmp", "B.bmp"}));
        QCOMPARE(indices, QList<int>({2, 1, 3, 2, 1}));
        QCOMPARE(installs.paths.size(), 5);
    }

    void missingBackgroundFallsBackToEntryOne()
    {
        WallpaperFixture fx;
        Installs installs;
        QVERIFY(fx.background("A1.bmp", {800, 600}, qRgb(100, 100, 100)));
        QVERIFY(fx.put(fx.data("BGPicList.ini"), fx.crlf({"A1.bmp", "A1.bmp", "B.bmp", "C.bmp"})));
        TWallpaperFlow flow;
        QVERIFY(flow.LoadPicBGList(false)); // index 3: C.bmp, which is missing
        flow.ShowSetBgInfo = false;
        WeekPanel panel;
        flow.imgAppToDeskClick(&panel, nullptr);
        QCOMPARE(QFileInfo(flow.DeskBGSetFrm.BGFile).fileName(), QStringLiteral("A1.bmp"));
        QCOMPARE(flow.FBgIndex, 3); // 1, then the rotation wraps
        QCOMPARE(installs.paths.size(), 1);

        // The second choice is not tested: B.bmp missing after falling back from index 2.
        flow.FBgIndex = 2;
        QFile::remove(fx.pictures() + "A1.bmp");
        flow.imgAppToDeskClick(&panel, nullptr);
        QCOMPARE(installs.paths.size(), 1);
        QCOMPARE(flow.FBgIndex, 3);
        QCOMPARE(fx.messages.size(), 1);
        QVERIFY2(fx.messages[0].contains(QStringLiteral("C.bmp")), qPrintable(fx.messages[0]));
    }

    void failedApplyTellsWhyAndKeepsTheIndex_data()
    {
        QTest::addColumn<QSize>("backgroundSize"); // empty: the list is empty
        QTest::addColumn<bool>("installs");
        QTest::addColumn<QString>("says");
        QTest::addColumn<bool>("mixWritten");
        QTest::newRow("background too short")
            << QSize(1024, 460) << true << QStringLiteral("太小") << false;
        QTest::newRow("desktop refuses")
            << QSize(1024, 768) << false << QStringLiteral("无法设置此桌面的壁纸") << true;
        QTest::newRow("empty list") << QSize() << true << QStringLiteral("列表为空") << false;
    }
    void failedApplyTellsWhyAndKeepsTheIndex()
    {
        QFETCH(QSize, backgroundSize);
        QFETCH(bool, installs);
        QFETCH(QString, says);
        QFETCH(bool, mixWritten);
        WallpaperFixture fx;
        Installs desk;
        desk.succeed = installs;
        TWallpaperFlow flow;
        if (backgroundSize.isValid()) {
            QVERIFY(fx.background("A1.bmp", backgroundSize, qRgb(100, 100, 100)));
            QVERIFY(flow.LoadPicBGList(false));
        }
        flow.ShowSetBgInfo = false;
        const int index = flow.FBgIndex;
        WeekPanel panel;
        flow.imgAppToDeskClick(&panel, nullptr);
        QCOMPARE(fx.messages.size(), 1);
        QVERIFY2(fx.messages[0].contains(says), qPrintable(fx.messages[0]));
        QCOMPARE(flow.FBgIndex, index);
        QCOMPARE(QFile::exists(fx.pictures() + "Mix.bmp"), mixWritten);
        QVERIFY(QFile::exists(fx.pictures() + "Content.bmp")); // what was written stays
    }

    void transparencySetting_data()
    {
        QTest::addColumn<QByteArray>("content"); // "-" : no file
        QTest::addColumn<int>("mode");
        QTest::addColumn<QByteArray>("fileAfter");
        QTest::newRow("missing") << QByteArray("-") << 1 << QByteArray("1\r\n");
        QTest::newRow("1") << QByteArray("1\r\n") << 1 << QByteArray("1\r\n");
        QTest::newRow("0") << QByteArray("0\r\n") << 0 << QByteArray("0\r\n");
        QTest::newRow("2") << QByteArray("2\r\n") << 2 << QByteArray("2\r\n");
        QTest::newRow("-1") << QByteArray("-1\r\n") << -1 << QByteArray("-1\r\n");
        QTest::newRow("not a number: full, file kept")
            << QByteArray("half\r\n") << 1 << QByteArray("half\r\n");
        QTest::newRow("empty") << QByteArray() << 1 << QByteArray();
    }
    void transparencySetting()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, mode);
        QFETCH(QByteArray, fileAfter);
        WallpaperFixture fx;
        if (content != "-") QVERIFY(fx.put(fx.data("SetTrans.ini"), content));
        TWallpaperFlow flow;
        QCOMPARE(flow.TransMode(), 1);
        QCOMPARE(flow.LoadTransMode(), mode);
        QCOMPARE(flow.BoxColor(),
                 mode == 1 ? qApp->palette().color(QPalette::Base) : QColor(247, 247, 247));
        QCOMPARE(fx.bytes(fx.data("SetTrans.ini")), fileAfter);
        fx.answer = [&](QDialog &d) {
            const bool half =
                d.findChild<QRadioButton *>(QStringLiteral("rdiHalfTrans"))->isChecked();
            QCOMPARE(half, mode != 1);
        };
        flow.N_BgTransparentClick(nullptr);
        QCOMPARE(fx.modalRuns, 1);
    }

    void transparencyWindow_data()
    {
        QTest::addColumn<QString>("radio");
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("half, OK") << "rdiHalfTrans"
                                  << "btnok" << 0 << QByteArray("0\r\n");
        QTest::newRow("full, OK") << "rdiAllTrans"
                                  << "btnok" << 1 << QByteArray("1\r\n");
        QTest::newRow("half, cancel") << "rdiHalfTrans"
                                      << "btncancel" << 1 << QByteArray("1\r\n");
        QTest::newRow("half, close") << "rdiHalfTrans"
                                     << "imgClose" << 1 << QByteArray("1\r\n");
    }
    void transparencyWindow()
    {
        QFETCH(QString, radio);
        QFETCH(QString, button);
        QFETCH(int, mode);
        QFETCH(QByteArray, file);
        WallpaperFixture fx;
        TWallpaperFlow flow;
        flow.LoadTransMode();
        fx.answer = [&](QDialog &d) {
            QCOMPARE(d.size(), QSize(376, 170));
            d.findChild<QRadioButton *>(radio)->setChecked(true);
            click(d, button.toLatin1().constData());
            QVERIFY(!d.isVisible());
        };
        const QColor colour = flow.N_BgTransparentClick(nullptr);
        QCOMPARE(flow.TransMode(), mode);
        QCOMPARE(colour, TSetTransFrm::boxColor(mode));
        QCOMPARE(fx.bytes(fx.data("SetTrans.ini")), file);
    }

    void unwritableTransparencyKeepsTheWindowOpen()
    {
        WallpaperFixture fx;
        TWallpaperFlow flow;
        flow.LoadTransMode();
        QFile::remove(fx.data("SetTrans.ini"));
        QVERIFY(QDir().mkdir(fx.data("SetTrans.ini")));
        fx.answer = [&](QDialog &d) {
            d.findChild<QRadioButton *>(QStringLiteral("rdiHalfTrans"))->setChecked(true);
            click(d, "btnok");
            QVERIFY(d.isVisible());
        };
        flow.N_BgTransparentClick(nullptr);
        QCOMPARE(flow.TransMode(), 0);
        QCOMPARE(fx.messages.size(), 1);
    }
};

QTEST_MAIN(TstWallpaperFlow)
#include "tst_wallpaperflow.moc"
