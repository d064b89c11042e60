#include "kqresources.h"

#include <QImage>
#include <QTest>

// Every picture the windows load must be in the resource file at the size its component has.
class TestResources : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { KqResources::init(); }

    void pictures_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QSize>("size");

        const auto row = [](const QString &name, int w, int h) {
            QTest::newRow(qPrintable(name)) << ":/images/" + name + ".png" << QSize(w, h);
        };
        row("bg_main", 913, 530);
        row("logo", 210, 56);
        row("caption_band_top", 590, 26);
        row("caption_band_bottom", 590, 25);
        row("sel_day_band", 194, 26);
        for (const char *state : {"normal", "highlight", "down"}) {
            row(QStringLiteral("btn_close_%1").arg(state), 39, 20);
            row(QStringLiteral("btn_mini_%1").arg(state), 28, 20);
            row(QStringLiteral("btn_max_%1").arg(state), 28, 20);
            row(QStringLiteral("btn_apply_%1").arg(state), 84, 29);
            row(QStringLiteral("btn_addbg_%1").arg(state), 176, 50);
        }
        row("tool_font", 22, 20);
        row("tool_date", 22, 22);
        row("tool_color", 22, 18);
    }

    void pictures()
    {
        QFETCH(QString, path);
        QFETCH(QSize, size);
        const QImage img(path);
        QVERIFY2(!img.isNull(), qPrintable(path));
        QCOMPARE(img.size(), size);
    }

    void appIconHasEverySize()
    {
        const QIcon icon = KqResources::appIcon();
        const QList<QSize> sizes = icon.availableSizes();
        for (int s : {16, 22, 24, 32, 48, 64, 128, 256}) {
            QVERIFY2(sizes.contains(QSize(s, s)), qPrintable(QString::number(s)));
            QVERIFY(!icon.pixmap(s, s).isNull());
        }
        QVERIFY(QFile::exists(QStringLiteral(":/icons/kqnotebook.svg")));
    }
};

QTEST_MAIN(TestResources)
#include "tst_resources.moc"
