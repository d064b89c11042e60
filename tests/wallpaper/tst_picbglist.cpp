#include "jpegcodec.h"
#include "picselfrm.h"
#include "pictureopendialog.h"
#include "wallpaperfixture.h"
#include "wallpaperflow.h"

#include <QFileSystemModel>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

namespace
{

QTreeWidget *view(QDialog &d)
{
    return d.findChild<QTreeWidget *>(QStringLiteral("LVpic"));
}

void click(QDialog &d, const char *button)
{
    QPushButton *b = d.findChild<QPushButton *>(QString::fromLatin1(button));
    QVERIFY(b);
    QTest::mouseClick(b, Qt::LeftButton);
}

void selectRows(QDialog &d, const QList<int> &rows)
{
    QTreeWidget *lv = view(d);
    lv->clearSelection();
    for (int r : rows)
        lv->topLevelItem(r)->setSelected(true);
}

QStringList names(const QList<TPicBGList> &list)
{
    QStringList out;
    for (const TPicBGList &e : list)
        out << e.PicFile;
    return out;
}

} // namespace

class TstPicBGList : public QObject
{
    Q_OBJECT
private slots:
    void missingFileIsCreatedWithDefaults()
    {
        WallpaperFixture fx;
        TWallpaperFlow flow;
        QVERIFY(flow.LoadPicBGList(false));
        QCOMPARE(fx.bytes(fx.data("BGPicList.ini")), QByteArray("A1.bmp\r\nA1.bmp\r\n"));
        QCOMPARE(flow.FBgPicName, QStringLiteral("A1.bmp"));
        QCOMPARE(names(flow.PicBGList), QStringList({"A1.bmp", "A1.bmp"}));
        QCOMPARE(flow.PicBGList[1].PicNo, 1);
        QCOMPARE(flow.FBgIndex, 0);
    }

    void loadSetsIndex_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<bool>("bySelection");
        QTest::addColumn<int>("index");
        const QStringList four{"A1.bmp", "A1.bmp", "B.bmp", "C.bmp"};
        QTest::newRow("start-up: last entry") << four << false << 3;
        QTest::newRow("selected name also on line 1") << four << true << 1;
        QTest::newRow("chosen B") << QStringList{"B.bmp", "A1.bmp", "B.bmp", "C.bmp"} << true << 2;
        QTest::newRow("chosen twice: last occurrence")
            << QStringList{"B.bmp", "B.bmp", "A1.bmp", "B.bmp", "C.bmp"} << true << 3;
        QTest::newRow("names compare by case")
            << QStringList{"b.bmp", "A1.bmp", "B.bmp"} << true << 0;
        QTest::newRow("selection line alone") << QStringList{"A1.bmp"} << false << 0;
    }
    void loadSetsIndex()
    {
        QFETCH(QStringList, lines);
        QFETCH(bool, bySelection);
        QFETCH(int, index);
        WallpaperFixture fx;
        QVERIFY(fx.put(fx.data("BGPicList.ini"), fx.crlf(lines)));
        TWallpaperFlow flow;
        QVERIFY(flow.LoadPicBGList(bySelection));
        QCOMPARE(flow.FBgIndex, index);
        QCOMPARE(flow.FBgPicName, lines.first());
        QCOMPARE(names(flow.PicBGList), lines);
        QCOMPARE(flow.PicBGList.last().PicNo, lines.size() - 1);
    }

    void emptyFileKeepsStateUnreadableFileFails()
    {
        WallpaperFixture fx;
        TWallpaperFlow flow;
        QVERIFY(fx.put(fx.data("BGPicList.ini"), fx.crlf({"B.bmp", "A1.bmp", "B.bmp"})));
        QVERIFY(flow.LoadPicBGList(true));
        QVERIFY(fx.put(fx.data("BGPicList.ini"), QByteArray()));
        QVERIFY(flow.LoadPicBGList(false));
        QCOMPARE(flow.FBgIndex, 2);
        QCOMPARE(flow.PicBGList.size(), 3);
        QCOMPARE(fx.bytes(fx.data("BGPicList.ini")), QByteArray()); // not repaired

        QFile::remove(fx.data("BGPicList.ini"));
        QVERIFY(QDir().mkdir(fx.data("BGPicList.ini"))); // exists, cannot be read
        QString error;
        QVERIFY(!flow.LoadPicBGList(false, &error));
        QVERIFY(error.contains(QStringLiteral("BGPicList.ini")));
        QCOMPARE(flow.PicBGList.size(), 3);
    }

    void chooseInWindow_data()
    {
        QTest::addColumn<QList<int>>("selected"); // rows of the view
        QTest::addColumn<QByteArray>("file");     // after the window
        QTest::addColumn<QString>("picName");
        QTest::addColumn<int>("index");
        const QByteArray unchanged("A1.bmp\nA1.bmp\nB.bmp\nC.bmp\n"); // LF: any rewrite shows
        QTest::newRow("OK on B") << QList<int>{1}
                                 << QByteArray("B.bmp\r\nA1.bmp\r\nB.bmp\r\nC.bmp\r\n") << "B.bmp"
                                 << 2;
        QTest::newRow("OK on C then B: first in view order")
            << QList<int>{2, 1} << QByteArray("B.bmp\r\nA1.bmp\r\nB.bmp\r\nC.bmp\r\n") << "B.bmp"
            << 2;
        QTest::newRow("OK with nothing selected") << QList<int>{} << unchanged << "A1.bmp" << 3;
        QTest::newRow("OK on the selected picture") << QList<int>{0} << unchanged << "A1.bmp" << 3;
    }
    void chooseInWindow()
    {
        QFETCH(QList<int>, selected);
        QFETCH(QByteArray, file);
        QFETCH(QString, picName);
        QFETCH(int, index);
        WallpaperFixture fx;
        QVERIFY(fx.put(fx.data("BGPicList.ini"), "A1.bmp\nA1.bmp\nB.bmp\nC.bmp\n"));
        TWallpaperFlow flow;
        QVERIFY(flow.LoadPicBGList(false));
        flow.FBgIndex = 1; // closing reloads the list, so the rotation restarts
        fx.answer = [&](QDialog &d) {
            QCOMPARE(view(d)->topLevelItemCount(), 3);
            selectRows(d, selected);
            click(d, "btnOk");
            QVERIFY(!d.isVisible());
        };
        flow.imgAddToDeskClick(nullptr);
        QCOMPARE(fx.modalRuns, 1);
        QCOMPARE(fx.bytes(fx.data("BGPicList.ini")), file);
        QCOMPARE(flow.FBgPicName, picName);
        QCOMPARE(flow.FBgIndex, index);
    }

    void removeRules_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QList<int>>("selected");
        QTest::addColumn<QStringList>("after");
        QTest::newRow("A1 first selected: nothing removed, file rewritten")
            << QStringList{"B.bmp", "A1.bmp", "B.bmp", "C.bmp"} << QList<int>{0, 2}
            << QStringList{"B.bmp", "A1.bmp", "B.bmp", "C.bmp"};
        QTest::newRow("removing the selected picture selects A1")
            << QStringList{"B.bmp", "A1.bmp", "B.bmp", "C.bmp"} << QList<int>{1}
            << QStringList{"A1.bmp", "A1.bmp", "C.bmp"};
        QTest::newRow("several, with A1 further down")
            << QStringList{"C.bmp", "B.bmp", "A1.bmp", "C.bmp", "D.bmp"} << QList<int>{0, 1, 3}
            << QStringList{"C.bmp", "C.bmp"};
        QTest::newRow("nothing selected: nothing written")
            << QStringList{"B.bmp", "A1.bmp", "B.bmp"} << QList<int>{} << QStringList();
    }
    void removeRules()
    {
        QFETCH(QStringList, lines);
        QFETCH(QList<int>, selected);
        QFETCH(QStringList, after);
        WallpaperFixture fx;
        const QByteArray lf = lines.join(u'\n').toUtf8() + '\n';
        QVERIFY(fx.put(fx.data("BGPicList.ini"), lf));
        for (const QString &name : lines)
            QVERIFY(fx.background(name, {8, 8}, qRgb(1, 2, 3)));
        TWallpaperFlow flow;
        QVERIFY(flow.LoadPicBGList(false));
        fx.answer = [&](QDialog &d) {
            selectRows(d, selected);
            click(d, "btnRemove");
            QVERIFY(d.isVisible()); // remove keeps the window open
        };
        flow.imgAddToDeskClick(nullptr);
        QCOMPARE(fx.bytes(fx.data("BGPicList.ini")), after.isEmpty() ? lf : fx.crlf(after));
        for (const QString &name : lines)
            QVERIFY(QFile::exists(fx.pictures() + name)); // pictures are never deleted
    }

    void addPictures()
    {
        WallpaperFixture fx;
        QTemporaryDir outside;
        const auto at = [&](const char *name) { return outside.filePath(QString::fromUtf8(name)); };
        QImage photo(40, 30, QImage::Format_RGB32);
        photo.fill(qRgb(20, 140, 60));
        QVERIFY(fx.put(at("Photo.JPEG"), JpegCodec::encode(photo, 90)));
        QVERIFY(fx.put(at("icon.png"), "\x89PNG not really"));
        QVERIFY(fx.put(at("broken.jpg"), "\xFF\xD8\xFF\xE0 truncated"));
        QVERIFY(BmpFile::write(photo, at("春天 1.bmp"), 24));
        QVERIFY(fx.background(QStringLiteral("A1.bmp"), {16, 16}, qRgb(9, 9, 9)));
        TWallpaperFlow flow;
        QVERIFY(flow.LoadPicBGList(false));
        WallpaperUi::setPictureChooser([&](QWidget *) {
            return QStringList{at("Photo.JPEG"),
                               at("icon.png"),
                               at("gone.jpg"),
                               at("broken.jpg"),
                               at("春天 1.bmp"),
                               at("春天 1.bmp"),
                               fx.pictures() + QStringLiteral("A1.bmp")};
        });
        fx.answer = [&](QDialog &d) { click(d, "btnAdd"); };
        flow.imgAddToDeskClick(nullptr);

        QCOMPARE(fx.bytes(fx.data("BGPicList.ini")),
                 fx.crlf({"A1.bmp", "A1.bmp", "Photo.bmp", "春天 1.bmp", "春天 1.bmp", "A1.bmp"}));
        QVERIFY(QFile::exists(fx.pictures() + "Photo.JPEG"));
        QVERIFY(BmpFile::read(fx.pictures() + "Photo.bmp"));
        QVERIFY(QFile::exists(fx.pictures() + "icon.png")); // copied, not listed
        QVERIFY(QFile::exists(fx.pictures() + "broken.jpg"));
        QVERIFY(!QFile::exists(fx.pictures() + "broken.bmp"));
        QCOMPARE(BmpFile::read(fx.pictures() + "A1.bmp")->pixel(0, 0), qRgb(9, 9, 9)); // not lost
        QCOMPARE(flow.PicBGList.size(), 6);
        QCOMPARE(flow.FBgIndex, 5);
    }

    void addWithUnsavableListGoesOnAndTellsOnce()
    {
        WallpaperFixture fx;
        QTemporaryDir outside;
        QImage photo(8, 8, QImage::Format_RGB32);
        photo.fill(qRgb(20, 140, 60));
        for (const char *name : {"one.bmp", "two.bmp"})
            QVERIFY(BmpFile::write(photo, outside.filePath(QString::fromLatin1(name)), 24));
        QVERIFY(QDir().mkdir(fx.data("BGPicList.ini"))); // cannot be replaced
        WallpaperUi::setPictureChooser([&](QWidget *) {
            return QStringList{outside.filePath("one.bmp"), outside.filePath("two.bmp")};
        });
        TPicSelFrm frm;
        fx.answer = [&](QDialog &d) {
            click(d, "btnAdd");
            QCOMPARE(static_cast<TPicSelFrm &>(d).pictureNames(),
                     QStringList({"one.bmp", "two.bmp"}));
        };
        WallpaperUi::execModal(frm);
        QVERIFY(QFile::exists(fx.pictures() + "two.bmp")); // the second file is still handled
        QCOMPARE(fx.messages.size(), 1);
    }

    void openDialogListsPicturesInAnyCase()
    {
        QTemporaryDir dir;
        for (const char *name :
             {"a.JPG", "b.gif", "c.Png", "d.txt", "e.jpeg", "f.ICO", "g.bmp.txt"})
            QVERIFY(WallpaperFixture::put(dir.filePath(QString::fromLatin1(name)), "x"));
        PictureOpenDialog dialog;
        QCOMPARE(dialog.nameFilters(), QStringList{PictureOpenDialog::filterText()});
        QCOMPARE(dialog.fileMode(), QFileDialog::ExistingFiles);
        dialog.setDirectory(dir.path());
        auto *model = dialog.findChild<QFileSystemModel *>();
        QVERIFY(model);
        const QModelIndex root = model->index(dir.path());
        QTRY_COMPARE(model->rowCount(root), 5);
        QStringList shown;
        for (int r = 0; r < model->rowCount(root); ++r)
            shown << model->fileName(model->index(r, 0, root));
        shown.sort();
        QCOMPARE(shown, QStringList({"a.JPG", "b.gif", "c.Png", "e.jpeg", "f.ICO"}));
    }
};

QTEST_MAIN(TstPicBGList)
#include "tst_picbglist.moc"
