#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QColor>
#include <QMenu>
#include <QString>
#include <QTextCursor>
#include <QTextEdit>

#include <QPointer>

#include <optional>

class QMimeData;
class QTextCharFormat;

// One of the six note boxes redt1 ... redt6. The stored form of a box is its document as RTF.
// textChanged() is the change event: it fires after every change of the text, the box's own
// loads included.
class TNoteBox : public QTextEdit
{
    Q_OBJECT
public:
    explicit TNoteBox(QWidget *parent = nullptr);

    // The whole document, text and character formatting, as RTF.
    QByteArray saveDocument() const;
    // Replaces the document; data that is not RTF loads as plain text, empty data empties the
    // box.
    void loadDocument(QByteArrayView data);

    // The text without formatting, lines joined by CR LF.
    QString plainTextCrLf() const;

    // Puts text in place of the selection, or at the caret. At the caret the text takes the
    // insertion attributes; in place of a selection it takes the format of the selection's first
    // character, whichever end the caret is at.
    void replaceSelection(const QString &text);
    // Merges a format into the selection, or into the insertion attributes when nothing is
    // selected.
    void mergeSelectionFormat(const QTextCharFormat &format);

    void setBackgroundColor(const QColor &color);
    QColor backgroundColor() const;

    // Off by default: the selection is drawn only while the box has the focus.
    void setKeepSelectionVisible(bool keep);
    bool keepSelectionVisible() const { return m_keepSelection; }

    // Shown in place of the standard context menu; not owned. Null restores the standard menu.
    void setPopupMenu(QMenu *menu) { m_popupMenu = menu; }
    QMenu *popupMenu() const { return m_popupMenu; }

signals:
    // The focus-leave event: the focus went to another control of the window (not to another
    // application or to a popup menu).
    void exited();

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    // Pasted and dropped data arrive as text with the character formatting the stored form
    // keeps; pictures are refused, because the stored form cannot hold them and they would
    // vanish at the next load.
    bool canInsertFromMimeData(const QMimeData *source) const override;
    void insertFromMimeData(const QMimeData *source) override;

private:
    bool m_keepSelection = false;
    QPointer<QMenu> m_popupMenu;
    // The selection hidden while the box is not focused, given back when the focus returns.
    std::optional<QTextCursor> m_hiddenSelection;
};
