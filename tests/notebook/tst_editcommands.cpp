#include "editcommands.h"
#include "mainfrm.h"
#include "notebox.h"
#include "notestore.h"
#include "weekexport.h"

#include "appmessage.h"
#include "fontsubstitutions.h"
#include "kqresources.h"
#include "programfolder.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QFocusEvent>
#include <QFontDialog>
#include <QHash>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTimer>
#include <QToolButton>

#include <memory>

namespace
{

// A window with the week panel and one control outside it that can take the focus, as the
// calendar does.
struct Fixture {
    QWidget window;
    QWidget *pnlRight = nullptr;
    QLineEdit *calendar = nullptr;
    std::array<TNoteBox *, 6> boxes{};
    TEditCommands *commands = nullptr;
    int colorDialogs = 0;
    int fontDialogs = 0;

    Fixture()
    {
        window.resize(913, 530);
        calendar = new QLineEdit(&window);
        calendar->setGeometry(2, 80, 300, 24);
        pnlRight = new QWidget(&window);
        pnlRight->setGeometry(317, 80, 594, 445);
        // Not a note box: the target search must pass over it.
        new QLineEdit(pnlRight);
        for (int i = 0; i < 6; ++i) {
            boxes[i] = new TNoteBox(pnlRight);
            boxes[i]->setObjectName(QStringLiteral("redt%1").arg(i + 1));
            boxes[i]->setGeometry(3 + (i % 3) * 196, i < 3 ? 26 : 241, 190, 180);
        }
        commands = new TEditCommands(&window, pnlRight);
        commands->setColorDialog([this](QWidget *, const QColor &) {
            ++colorDialogs;
            return std::optional<QColor>(Qt::green);
        });
        commands->setFontDialog([this](QWidget *, const TFontChoice &initial) {
            ++fontDialogs;
            return std::optional<TFontChoice>(initial);
        });
        commands->setClock([] { return QDateTime(QDate(2011, 6, 29), QTime(9, 5, 41)); });
        window.show();
        window.activateWindow();
    }
    bool ready() { return QTest::qWaitForWindowActive(&window); }

    // Text of the box with the selection [start, end) made from end to start when reversed.
    void focus(TNoteBox *box, const QString &text, int start, int end, bool reversed = false)
    {
        box->setPlainText(text);
        select(box, start, end, reversed);
    }
    void select(TNoteBox *box, int start, int end, bool reversed = false)
    {
        box->setFocus();
        QTextCursor cursor(box->document());
        cursor.setPosition(reversed ? end : start);
        cursor.setPosition(reversed ? start : end, QTextCursor::KeepAnchor);
        box->setTextCursor(cursor);
    }

    void run(const QString &command)
    {
        if (auto *action = commands->pmDeskTopMonCal()->findChild<QAction *>(command)) {
            action->trigger();
            return;
        }
        auto *button = window.findChild<QAbstractButton *>(command);
        QVERIFY2(button, qPrintable(command));
        button->click();
    }
};

// Notes in memory, counting the saves.
class MemoryStore : public TNoteStore
{
public:
    MemoryStore() : TNoteStore(QString()) {}
    ReadResult readNote(const QString &) override { return {true, {}, {}}; }
    std::array<QString, 6> saveWeek(const std::array<Slot, 6> &week) override
    {
        ++saves;
        for (const Slot &slot : week)
            plain[slot.key] = slot.plainText;
        return {};
    }
    QHash<QString, QString> plain;
    int saves = 0;
};

QColor colorAt(TNoteBox *box, int position)
{
    QTextCursor cursor(box->document());
    cursor.setPosition(position + 1);
    return cursor.charFormat().foreground().color();
}

class ProbeBox : public TNoteBox
{
public:
    using TNoteBox::canInsertFromMimeData;
};

QString clipboardText()
{
    return QGuiApplication::clipboard()->text();
}

} // namespace

class TstEditCommands : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        KqResources::init();
        installFontSubstitutions();
        QVERIFY(folder.isValid());
        QDir(folder.path()).mkpath(QStringLiteral("Data"));
        ProgramFolder::setRoot(folder.path());
    }
    void cleanupTestCase()
    {
        ProgramFolder::setRoot({});
        WeekExport::setSaveDialog({});
    }

    // The commands in the window: the tools on it, the menu on its boxes, each text command
    // saving the week, and the export item writing what the boxes show.
    void inMainWindow()
    {
        MemoryStore store;
        TMainFrm frm(store);
        QVERIFY(frm.FormCreate());
        frm.show();
        QVERIFY(QTest::qWaitForWindowActive(&frm));
        QVERIFY(frm.shown());
        auto *commands = frm.findChild<TEditCommands *>();
        QVERIFY(commands);
        for (const char *name : {"imgFont", "btnGou", "btnX", "imgDate", "imgRedColor"})
            QVERIFY(frm.findChild<QAbstractButton *>(QLatin1String(name))->isVisible());
        for (int n = 1; n <= 6; ++n)
            QCOMPARE(frm.redt(n)->popupMenu(), commands->pmDeskTopMonCal());

        frm.redt(2)->setFocus();
        QVERIFY(frm.redt(2)->hasFocus());
        const int before = store.saves;
        QTest::mouseClick(frm.findChild<QAbstractButton *>(QStringLiteral("btnGou")),
                          Qt::LeftButton);
        QCOMPARE(frm.redt(2)->toPlainText(), QStringLiteral("√"));
        QVERIFY(store.saves > before);
        QCOMPARE(store.plain.value(WeekList[1].DateKey), QStringLiteral("√"));
        QVERIFY(frm.redt(2)->hasFocus());

        QTemporaryDir out;
        QVERIFY(out.isValid());
        WeekExport::setSaveDialog([&](QWidget *, const QString &, const QString &) {
            return std::optional<QString>(out.filePath(QStringLiteral("week")));
        });
        auto *item = frm.findChild<QAction *>(QStringLiteral("N_DataOut"));
        QVERIFY(item);
        item->trigger();
        QFile file(out.filePath(QStringLiteral("week.txt")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().contains(QStringLiteral("  \r\n√\r\n  \r\n").toUtf8()));

        const int beforeClear = store.saves;
        frm.findChild<QAbstractButton *>(QStringLiteral("btnClearRdt"))->click();
        QVERIFY(store.saves >= beforeClear + 6);
        QCOMPARE(store.plain.value(WeekList[1].DateKey), QString());
    }

    void tools_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QPoint>("pos");
        QTest::addColumn<QSize>("size"); // empty: the picture's size
        QTest::addColumn<QString>("hint");
        QTest::addColumn<bool>("hand");
        QTest::addColumn<bool>("visible");
        QTest::newRow("imgFont") << "imgFont" << QPoint(317, 58) << QSize(22, 20) << "字体大小设置"
                                 << true << true;
        QTest::newRow("btnGou") << "btnGou" << QPoint(341, 55) << QSize(23, 22) << "" << false
                                << true;
        QTest::newRow("btnX") << "btnX" << QPoint(365, 55) << QSize(23, 22) << "" << false << true;
        QTest::newRow("imgDate") << "imgDate" << QPoint(395, 54) << QSize(22, 22) << "插入时间"
                                 << true << true;
        QTest::newRow("imgRedColor")
            << "imgRedColor" << QPoint(441, 61) << QSize(22, 18) << "字体颜色" << true << true;
        QTest::newRow("btnClearRdt") << "btnClearRdt" << QPoint(698, 55) << QSize()
                                     << "《清除以下表格内容》" << false << false;
    }
    // Where the tools sit, and that a click on one leaves the focus in the box being edited.
    void tools()
    {
        QFETCH(QString, name);
        QFETCH(QPoint, pos);
        QFETCH(QSize, size);
        QFETCH(QString, hint);
        QFETCH(bool, hand);
        QFETCH(bool, visible);
        Fixture f;
        QVERIFY(f.ready());
        auto *tool = f.window.findChild<QAbstractButton *>(name);
        QVERIFY(tool);
        QCOMPARE(tool->parentWidget(), &f.window);
        QCOMPARE(tool->pos(), pos);
        if (!size.isEmpty()) QCOMPARE(tool->size(), size);
        QCOMPARE(tool->toolTip(), hint);
        QCOMPARE(tool->cursor().shape() == Qt::PointingHandCursor, hand);
        QCOMPARE(tool->isVisible(), visible);
        QCOMPARE(tool->focusPolicy(), Qt::NoFocus);
        if (qobject_cast<QToolButton *>(tool)) QVERIFY(!tool->icon().isNull());
        if (!visible) return;
        f.focus(f.boxes[1], QStringLiteral("abc"), 3, 3);
        QTest::mouseClick(tool, Qt::LeftButton);
        QVERIFY(f.boxes[1]->hasFocus());
    }

    void buttonCaptions()
    {
        Fixture f;
        auto *gou = f.window.findChild<QPushButton *>(QStringLiteral("btnGou"));
        auto *x = f.window.findChild<QPushButton *>(QStringLiteral("btnX"));
        QCOMPARE(gou->text(), QStringLiteral("√"));
        QCOMPARE(gou->font().pixelSize(), 14);
        QCOMPARE(gou->font().family(), QStringLiteral("Arial Black"));
        QCOMPARE(x->text(), QStringLiteral("X"));
        QCOMPARE(x->font().pixelSize(), 12);
        QVERIFY(gou->isFlat() && x->isFlat());
    }

    void menu()
    {
        Fixture f;
        QVERIFY(f.ready());
        QMenu *menu = f.commands->pmDeskTopMonCal();
        QCOMPARE(menu->objectName(), QStringLiteral("pmDeskTopMonCal"));
        QStringList items;
        for (QAction *action : menu->actions())
            items << action->objectName() + QLatin1Char('=') +
                         (action->isSeparator() ? QStringLiteral("-") : action->text());
        QCOMPARE(items, QStringList({"N1=复制", "N2=粘贴", "N9=删除", "N3=剪切", "N6=-", "V1=打V",
                                     "X1=打X", "N5=-", "CtrlZ1=撤销(Ctrl+Z)", "N10=添加标注"}));
        QMenu *marks = menu->actions().last()->menu();
        QVERIFY(marks);
        items.clear();
        for (QAction *action : marks->actions())
            items << action->objectName() + QLatin1Char('=') + action->text();
        QCOMPARE(items, QStringList({"N11=蓝", "N12=红", "N13=粉色"}));

        // Every box shows this menu in place of the standard one.
        for (TNoteBox *box : f.boxes)
            QCOMPARE(box->popupMenu(), menu);
        f.boxes[4]->setFocus();
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(10, 10),
                                f.boxes[4]->mapToGlobal(QPoint(10, 10)));
        QApplication::sendEvent(f.boxes[4]->viewport(), &event);
        QTRY_VERIFY(menu->isVisible());
        menu->hide();
        QTRY_VERIFY(f.boxes[4]->hasFocus());
    }

    void noFocusedBox_data()
    {
        QTest::addColumn<QString>("command");
        for (const char *name : {"N1", "N2", "N9", "N3", "V1", "X1", "CtrlZ1", "N11", "N12", "N13",
                                 "btnGou", "btnX", "imgDate", "imgRedColor", "imgFont"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    // With the focus outside the boxes nothing changes, nothing is copied, no dialog opens.
    void noFocusedBox()
    {
        QFETCH(QString, command);
        Fixture f;
        QVERIFY(f.ready());
        for (TNoteBox *box : f.boxes) {
            box->setPlainText(QStringLiteral("note"));
            box->selectAll();
        }
        QGuiApplication::clipboard()->setText(QStringLiteral("clip"));
        f.calendar->setFocus();
        QVERIFY(f.calendar->hasFocus());
        QVERIFY(!f.commands->targetBox());
        std::vector<std::unique_ptr<QSignalSpy>> spies;
        for (TNoteBox *box : f.boxes)
            spies.push_back(std::make_unique<QSignalSpy>(box, &QTextEdit::textChanged));
        f.run(command);
        for (int i = 0; i < 6; ++i) {
            QCOMPARE(f.boxes[i]->toPlainText(), QStringLiteral("note"));
            QCOMPARE(spies[i]->count(), 0);
        }
        QCOMPARE(clipboardText(), QStringLiteral("clip"));
        QCOMPARE(f.colorDialogs, 0);
        QCOMPARE(f.fontDialogs, 0);
        QVERIFY(f.calendar->hasFocus());
    }

    void textCommands_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("end");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("clipboard"); // after the command
        QTest::addColumn<bool>("changed");
        QTest::newRow("tick replaces a selection") << "btnGou"
                                                   << "abcdef" << 1 << 4 << "a√ef"
                                                   << "clip" << true;
        QTest::newRow("tick at the caret") << "V1"
                                           << "ab" << 1 << 1 << "a√b"
                                           << "clip" << true;
        QTest::newRow("cross") << "X1"
                               << "abc" << 0 << 3 << "×"
                               << "clip" << true;
        QTest::newRow("cross button") << "btnX"
                                      << "ab" << 2 << 2 << "ab×"
                                      << "clip" << true;
        QTest::newRow("time mark 09:05") << "imgDate"
                                         << "ab" << 1 << 1 << "a 09:05 b"
                                         << "clip" << true;
        QTest::newRow("time mark replaces") << "imgDate"
                                            << "abc" << 0 << 3 << " 09:05 "
                                            << "clip" << true;
        QTest::newRow("copy") << "N1"
                              << "abcd" << 1 << 3 << "abcd"
                              << "bc" << false;
        QTest::newRow("copy without selection") << "N1"
                                                << "ab" << 1 << 1 << "ab"
                                                << "clip" << false;
        QTest::newRow("cut") << "N3"
                             << "abcd" << 1 << 3 << "ad"
                             << "bc" << true;
        QTest::newRow("paste") << "N2"
                               << "abcd" << 1 << 3 << "aclipd"
                               << "clip" << true;
        QTest::newRow("delete") << "N9"
                                << "abcd" << 0 << 2 << "cd"
                                << "clip" << true;
        QTest::newRow("delete without selection") << "N9"
                                                  << "abcd" << 2 << 2 << "abcd"
                                                  << "clip" << false;
        QTest::newRow("block") << "N11"
                               << "ab" << 1 << 1 << "a█b"
                               << "clip" << true;
    }
    // On the focused box only, with the change event that saves the week.
    void textCommands()
    {
        QFETCH(QString, command);
        QFETCH(QString, text);
        QFETCH(int, start);
        QFETCH(int, end);
        QFETCH(QString, expected);
        QFETCH(QString, clipboard);
        QFETCH(bool, changed);
        Fixture f;
        QVERIFY(f.ready());
        for (TNoteBox *box : f.boxes)
            box->setPlainText(QStringLiteral("other"));
        QGuiApplication::clipboard()->setText(QStringLiteral("clip"));
        TNoteBox *target = f.boxes[3];
        f.focus(target, text, start, end);
        QCOMPARE(f.commands->targetBox(), target);
        QSignalSpy spy(target, &QTextEdit::textChanged);
        f.run(command);
        QCOMPARE(target->toPlainText(), expected);
        QCOMPARE(clipboardText(), clipboard);
        QCOMPARE(spy.count() > 0, changed);
        for (TNoteBox *box : f.boxes)
            if (box != target) QCOMPARE(box->toPlainText(), QStringLiteral("other"));
        QVERIFY(target->hasFocus());
    }

    void timeMark_data()
    {
        QTest::addColumn<QTime>("time");
        QTest::addColumn<QString>("mark");
        QTest::newRow("09:05") << QTime(9, 5, 59) << " 09:05 ";
        QTest::newRow("midnight") << QTime(0, 0) << " 00:00 ";
        QTest::newRow("23:59") << QTime(23, 59, 59) << " 23:59 ";
    }
    void timeMark()
    {
        QFETCH(QTime, time);
        QFETCH(QString, mark);
        QCOMPARE(TEditCommands::timeMark(time), mark);
        QCOMPARE(TEditCommands::timeMark(time).size(), 7);
    }

    void undo()
    {
        Fixture f;
        QVERIFY(f.ready());
        f.focus(f.boxes[2], QStringLiteral("abc"), 1, 3);
        f.run(QStringLiteral("btnGou"));
        QCOMPARE(f.boxes[2]->toPlainText(), QStringLiteral("a√"));
        QSignalSpy spy(f.boxes[2], &QTextEdit::textChanged);
        f.run(QStringLiteral("CtrlZ1"));
        QCOMPARE(f.boxes[2]->toPlainText(), QStringLiteral("abc"));
        QVERIFY(spy.count() > 0);
    }

    void blocks_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QColor>("color");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("end");
        QTest::addColumn<bool>("reversed");
        QTest::newRow("blue at the caret") << "N11" << QColor(0, 0, 255) << 2 << 2 << false;
        QTest::newRow("red at the caret") << "N12" << QColor(255, 0, 0) << 2 << 2 << false;
        QTest::newRow("magenta at the caret") << "N13" << QColor(255, 0, 255) << 2 << 2 << false;
        QTest::newRow("red over a selection") << "N12" << QColor(255, 0, 0) << 1 << 3 << false;
        QTest::newRow("red over a selection made leftwards")
            << "N12" << QColor(255, 0, 0) << 1 << 3 << true;
    }
    // The block is shown in its colour and typing goes on in it; the text around keeps its own.
    void blocks()
    {
        QFETCH(QString, command);
        QFETCH(QColor, color);
        QFETCH(int, start);
        QFETCH(int, end);
        QFETCH(bool, reversed);
        Fixture f;
        QVERIFY(f.ready());
        TNoteBox *box = f.boxes[0];
        f.focus(box, QStringLiteral("abcd"), start, end, reversed);
        const QColor before = colorAt(box, 0);
        f.run(command);
        QTest::keyClicks(box, QStringLiteral("xy"));
        const QString text = box->toPlainText();
        const int block = text.indexOf(QChar(0x2588));
        QCOMPARE(text.mid(block, 3), QStringLiteral("█xy"));
        QCOMPARE(text.count(QChar(0x2588)), 1);
        for (int i = block; i < block + 3; ++i)
            QCOMPARE(colorAt(box, i), color);
        QCOMPARE(colorAt(box, 0), before);
        QCOMPARE(colorAt(box, text.size() - 1), before);
    }

    // The tick in place of a coloured selection made leftwards takes the selection's colour.
    void tickKeepsSelectionFormat()
    {
        Fixture f;
        QVERIFY(f.ready());
        TNoteBox *box = f.boxes[1];
        f.focus(box, QStringLiteral("abcd"), 1, 3, true);
        QTextCharFormat red;
        red.setForeground(Qt::red);
        box->mergeSelectionFormat(red);
        f.run(QStringLiteral("V1"));
        QCOMPARE(box->toPlainText(), QStringLiteral("a√d"));
        QCOMPARE(colorAt(box, 1), QColor(Qt::red));
        QCOMPARE(colorAt(box, 0), QColor(Qt::black));
    }

    void colorDialog()
    {
        Fixture f;
        QVERIFY(f.ready());
        QList<QColor> initials;
        std::optional<QColor> answer = QColor(Qt::red);
        TNoteBox *box = f.boxes[2];
        QWidget *dialogParent = nullptr;
        f.commands->setColorDialog([&](QWidget *parent, const QColor &initial) {
            initials << initial;
            dialogParent = parent;
            // A real dialog takes the focus, and the box drops its selection meanwhile.
            QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
            QApplication::sendEvent(box, &out);
            return answer;
        });
        f.focus(box, QStringLiteral("abcd"), 1, 3);
        f.run(QStringLiteral("imgRedColor"));
        QCOMPARE(dialogParent, &f.window);
        QCOMPARE(colorAt(box, 1), QColor(Qt::red));
        QCOMPARE(colorAt(box, 2), QColor(Qt::red));
        QCOMPARE(colorAt(box, 3), QColor(Qt::black));
        // Cancelled: nothing changes, and the kept colour stays.
        answer = std::nullopt;
        f.select(box, 2, 4);
        f.run(QStringLiteral("imgRedColor"));
        QCOMPARE(colorAt(box, 2), QColor(Qt::red));
        QCOMPARE(colorAt(box, 3), QColor(Qt::black));
        // At the caret the colour applies to what is typed next.
        answer = QColor(Qt::blue);
        f.focus(box, QStringLiteral("ab"), 2, 2);
        f.run(QStringLiteral("imgRedColor"));
        QTest::keyClicks(box, QStringLiteral("c"));
        QCOMPARE(colorAt(box, 2), QColor(Qt::blue));
        QCOMPARE(initials, QList<QColor>({Qt::black, Qt::red, Qt::red}));
        QCOMPARE(f.commands->colorDialogColor(), QColor(Qt::blue));
    }

    void fontDialog()
    {
        Fixture f;
        QVERIFY(f.ready());
        TNoteBox *box = f.boxes[5];
        QList<TFontChoice> initials;
        std::optional<TFontChoice> answer;
        f.commands->setFontDialog([&](QWidget *, const TFontChoice &initial) {
            initials << initial;
            QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
            QApplication::sendEvent(box, &out);
            return answer;
        });

        // Cancelled: the selection keeps text and format.
        f.focus(box, QStringLiteral("abcd"), 1, 3);
        const QString before = QString::fromLatin1(box->saveDocument());
        f.run(QStringLiteral("imgFont"));
        QCOMPARE(QString::fromLatin1(box->saveDocument()), before);

        QFont font(QStringLiteral("Verdana"));
        font.setPointSize(20);
        font.setBold(true);
        font.setItalic(true);
        font.setUnderline(true);
        answer = TFontChoice{font, QColor(128, 0, 0)};
        f.focus(box, QStringLiteral("abcd"), 1, 3);
        f.run(QStringLiteral("imgFont"));
        QTextCursor at(box->document());
        at.setPosition(2);
        const QTextCharFormat format = at.charFormat();
        QCOMPARE(format.fontFamilies().toStringList().value(0), QStringLiteral("Verdana"));
        QCOMPARE(format.fontPointSize(), 20.0);
        QCOMPARE(format.fontWeight(), int(QFont::Bold));
        QVERIFY(format.fontItalic());
        QVERIFY(format.fontUnderline());
        QVERIFY(!format.fontStrikeOut());
        QCOMPARE(format.foreground().color(), QColor(128, 0, 0));
        at.setPosition(4);
        QCOMPARE(at.charFormat().fontWeight(), int(QFont::Normal));

        f.focus(box, QStringLiteral("x"), 1, 1);
        answer = std::nullopt;
        f.run(QStringLiteral("imgFont"));
        QCOMPARE(initials.size(), 3);
        // FontDlg at first: 宋体, 16 px = 12 points, black; later the last confirmed font.
        QCOMPARE(initials[0].font.family(), QStringLiteral("宋体"));
        QCOMPARE(initials[0].font.pointSizeF(), 12.0);
        QCOMPARE(initials[0].color, QColor(Qt::black));
        QCOMPARE(initials[1].font, initials[0].font);
        QCOMPARE(initials[2].font, font);
        QCOMPARE(initials[2].color, QColor(128, 0, 0));
    }

    // The system's dialogs behind the seams: the font dialog carries a colour list, and the
    // answers reach the selection.
    void systemDialogs()
    {
        Fixture f;
        QVERIFY(f.ready());
        f.commands->setColorDialog({});
        f.commands->setFontDialog({});
        TNoteBox *box = f.boxes[0];
        f.focus(box, QStringLiteral("abcd"), 0, 2);

        int colorItems = 0;
        QTimer::singleShot(0, &f.window, [&] {
            auto *dialog = qobject_cast<QFontDialog *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            auto *colors = dialog->findChild<QComboBox *>(QStringLiteral("fontColor"));
            QVERIFY(colors);
            colorItems = colors->count();
            colors->setCurrentIndex(colors->findText(QStringLiteral("红色")));
            QFont font(QStringLiteral("Verdana"));
            font.setPointSize(18);
            dialog->setCurrentFont(font);
            dialog->accept();
        });
        f.run(QStringLiteral("imgFont"));
        QCOMPARE(colorItems, 16);
        QCOMPARE(colorAt(box, 0), QColor(Qt::red));
        QTextCursor at(box->document());
        at.setPosition(1);
        QCOMPARE(at.charFormat().fontPointSize(), 18.0);
        QCOMPARE(f.commands->fontDialogChoice().color, QColor(Qt::red));

        // The window is active again once the dialog has gone.
        f.window.activateWindow();
        QVERIFY(f.ready());
        f.select(box, 2, 4);
        QTRY_VERIFY(box->hasFocus());
        QTimer::singleShot(0, &f.window, [&] {
            auto *dialog = qobject_cast<QColorDialog *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            dialog->setCurrentColor(QColor(0, 128, 0));
            dialog->accept();
        });
        f.run(QStringLiteral("imgRedColor"));
        QCOMPARE(colorAt(box, 2), QColor(0, 128, 0));
        QCOMPARE(colorAt(box, 1), QColor(Qt::red));
        QCOMPARE(f.commands->colorDialogColor(), QColor(0, 128, 0));

        f.window.activateWindow();
        QVERIFY(f.ready());
        f.select(box, 2, 4);
        QTRY_VERIFY(box->hasFocus());
        bool cancelled = false;
        QTimer::singleShot(0, &f.window, [&] {
            if (auto *dialog = qobject_cast<QColorDialog *>(QApplication::activeModalWidget())) {
                dialog->setCurrentColor(Qt::blue);
                dialog->reject();
                cancelled = true;
            }
        });
        f.run(QStringLiteral("imgRedColor"));
        QVERIFY(cancelled);
        QCOMPARE(colorAt(box, 2), QColor(0, 128, 0));
        QCOMPARE(f.commands->colorDialogColor(), QColor(0, 128, 0));
    }

    // Six boxes emptied one after another, each with its change event, focus or not.
    void clearButton()
    {
        Fixture f;
        QVERIFY(f.ready());
        QStringList order;
        for (TNoteBox *box : f.boxes) {
            box->setPlainText(QStringLiteral("note"));
            connect(box, &QTextEdit::textChanged, &f.window,
                    [&order, box] { order << box->objectName(); });
        }
        f.boxes[1]->setPlainText(QString());
        order.clear();
        f.calendar->setFocus();
        f.run(QStringLiteral("btnClearRdt"));
        order.removeDuplicates();
        QCOMPARE(order, QStringList({"redt1", "redt2", "redt3", "redt4", "redt5", "redt6"}));
        for (TNoteBox *box : f.boxes)
            QVERIFY(box->toPlainText().isEmpty());
    }

    // A box that cannot save (its week failed to load) takes no edits.
    void readOnlyBox()
    {
        Fixture f;
        QVERIFY(f.ready());
        f.focus(f.boxes[0], QStringLiteral("ab"), 0, 2);
        f.boxes[0]->setReadOnly(true);
        for (const char *command : {"V1", "N12", "imgDate", "N9", "N3", "N2", "imgRedColor"})
            f.run(QString::fromLatin1(command));
        QCOMPARE(f.boxes[0]->toPlainText(), QStringLiteral("ab"));
        QCOMPARE(f.colorDialogs, 0);
    }

    // Pasted pictures are refused: the stored form has no place for them. Text keeps the
    // formatting that is stored, and loses what would vanish at the next load.
    void pasteDropsPictures()
    {
        Fixture f;
        QVERIFY(f.ready());
        TNoteBox *box = f.boxes[0];
        f.focus(box, QStringLiteral("ab"), 1, 1);

        QMimeData picture;
        QImage image(4, 4, QImage::Format_RGB32);
        image.fill(Qt::red);
        picture.setImageData(image);
        QVERIFY(!ProbeBox().canInsertFromMimeData(&picture));
        auto *clipboard = QGuiApplication::clipboard();
        clipboard->setImage(image);
        f.run(QStringLiteral("N2"));
        QCOMPARE(box->toPlainText(), QStringLiteral("ab"));

        auto *html = new QMimeData;
        html->setHtml(QStringLiteral(
            "<p>x<img src=\"data:image/png;base64,iVBORw0KGgo=\"><b style=\"color:#ff0000;"
            "background:#00ff00\">y</b></p><p>z</p>"));
        html->setText(QStringLiteral("xy\nz"));
        clipboard->setMimeData(html);
        f.run(QStringLiteral("N2"));
        QCOMPARE(box->toPlainText(), QStringLiteral("axy\nzb"));
        QVERIFY(!box->toPlainText().contains(QChar::ObjectReplacementCharacter));
        QTextCursor at(box->document());
        at.setPosition(3);
        QCOMPARE(at.charFormat().fontWeight(), int(QFont::Bold));
        QCOMPARE(at.charFormat().foreground().color(), QColor(Qt::red));
        QVERIFY(!at.charFormat().hasProperty(QTextFormat::BackgroundBrush));
        QVERIFY(!at.charFormat().isImageFormat());
    }

private:
    QTemporaryDir folder;
};

QTEST_MAIN(TstEditCommands)
#include "tst_editcommands.moc"
