#pragma once

#include <QColor>
#include <QDateTime>
#include <QFont>
#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class QAbstractButton;
class QAction;
class QMenu;
class QPushButton;
class QTextCharFormat;
class QWidget;
class TNoteBox;

// The font dialog's choice: the dialog carries a text colour beside the font.
struct TFontChoice {
    QFont font;
    QColor color;
};

// The editing commands of the note boxes: the tool row above them, the popup menu
// pmDeskTopMonCal shared by the six boxes, and the colour and font dialogs. Every command acts
// on the note box of pnlRight that has the keyboard focus; with none focused it does nothing
// and opens no dialog. Text commands fire the box's change event, which saves the week.
class TEditCommands : public QObject
{
    Q_OBJECT
public:
    // The dialogs, replaceable so that tests answer them without a modal loop. nullopt: the
    // user cancelled.
    using ColorDialog =
        std::function<std::optional<QColor>(QWidget *parent, const QColor &initial)>;
    using FontDialog =
        std::function<std::optional<TFontChoice>(QWidget *parent, const TFontChoice &initial)>;
    using Clock = std::function<QDateTime()>;

    // Creates the tools on mainWindow and attaches the popup menu to the note boxes that are
    // children of pnlRight; both must outlive this object (it is a child of mainWindow).
    TEditCommands(QWidget *mainWindow, QWidget *pnlRight);

    // The note box that has the keyboard focus, found in pnlRight's child order; or null.
    TNoteBox *targetBox() const;

    QMenu *pmDeskTopMonCal() const { return m_menu; }

    // ColorDialog1 and FontDlg keep the last confirmed choice between uses.
    QColor colorDialogColor() const { return m_color; }
    TFontChoice fontDialogChoice() const { return m_font; }

    void setColorDialog(ColorDialog dialog);
    void setFontDialog(FontDialog dialog);
    void setClock(Clock clock);

    // " HH:MM ", 24-hour, both zero-padded.
    static QString timeMark(const QTime &time);
    // The chosen font as one format: name, colour, size in points, pitch and style, in this
    // order.
    static QTextCharFormat fontFormat(const TFontChoice &choice);

    // The handlers, named after their components.
    void N1Click();
    void N2Click();
    void N9Click();
    void N3Click();
    void V1Click();
    void X1Click();
    void CtrlZ1Click();
    void N11Click();
    void N12Click();
    void N13Click();
    void btnGouClick();
    void btnXClick();
    void imgDateClick();
    void imgRedColorClick();
    void imgFontClick();
    void btnClearRdtClick();

private:
    void createTools();
    void createMenu();
    QAction *addItem(QMenu *menu, const char *name, const QString &caption,
                     void (TEditCommands::*handler)());
    void markBlock(const QColor &color);

    QWidget *m_mainWindow;
    QWidget *m_pnlRight;
    QMenu *m_menu = nullptr;

    QColor m_color = Qt::black;
    TFontChoice m_font;
    ColorDialog m_colorDialog;
    FontDialog m_fontDialog;
    Clock m_clock;
};
