#include "notebox.h"

#include "rtfcodec.h"

#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QFont>
#include <QMenu>
#include <QMimeData>
#include <QPalette>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextDocument>
#include <QTextDocumentFragment>

namespace
{

// What the stored form keeps of a character's format: family, size, weight, italic,
// underline, strike-out and a plain text colour. Anything else shown after a paste would be
// gone after the next load.
QTextCharFormat storableFormat(const QTextCharFormat &from)
{
    QTextCharFormat to;
    if (from.hasProperty(QTextFormat::FontFamilies))
        to.setFontFamilies(from.property(QTextFormat::FontFamilies).toStringList());
    if (from.hasProperty(QTextFormat::FontPointSize) && from.fontPointSize() > 0)
        to.setFontPointSize(from.fontPointSize());
    else if (from.hasProperty(QTextFormat::FontPixelSize) &&
             from.intProperty(QTextFormat::FontPixelSize) > 0)
        // 96 dpi, as the stored form converts pixel sizes
        to.setFontPointSize(from.intProperty(QTextFormat::FontPixelSize) * 0.75);
    if (from.hasProperty(QTextFormat::FontWeight)) to.setFontWeight(from.fontWeight());
    if (from.hasProperty(QTextFormat::FontItalic)) to.setFontItalic(from.fontItalic());
    if (from.hasProperty(QTextFormat::TextUnderlineStyle) ||
        from.hasProperty(QTextFormat::FontUnderline))
        to.setFontUnderline(from.fontUnderline());
    if (from.hasProperty(QTextFormat::FontStrikeOut)) to.setFontStrikeOut(from.fontStrikeOut());
    if (from.hasProperty(QTextFormat::ForegroundBrush) && from.foreground().style() != Qt::NoBrush)
        to.setForeground(from.foreground().color());
    return to;
}

QString withoutObjects(QString text)
{
    text.remove(QChar::ObjectReplacementCharacter);
    return text;
}

} // namespace

TNoteBox::TNoteBox(QWidget *parent) : QTextEdit(parent)
{
    setFrameShape(QFrame::NoFrame);
    setAcceptRichText(true);
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(15);
    setFont(font);
    document()->setDefaultFont(font);
    setTabChangesFocus(false);
}

QByteArray TNoteBox::saveDocument() const
{
    return Rtf::write(*document());
}

void TNoteBox::loadDocument(QByteArrayView data)
{
    m_hiddenSelection.reset();
    Rtf::read(data, *document());
    // A load starts a new note: the caret goes to the start and the old week's undo steps go.
    setTextCursor(QTextCursor(document()));
    document()->clearUndoRedoStacks();
}

QString TNoteBox::plainTextCrLf() const
{
    QString text = toPlainText();
    text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return text;
}

void TNoteBox::replaceSelection(const QString &text)
{
    QTextCursor cursor = textCursor();
    if (!cursor.hasSelection()) {
        cursor.insertText(text);
        return;
    }
    // A cursor's own format is that of the character before it, which for a selection made
    // from right to left lies outside the selection.
    QTextCursor first(document());
    first.setPosition(cursor.selectionStart() + 1);
    cursor.insertText(text, first.charFormat());
    setTextCursor(cursor);
}

void TNoteBox::mergeSelectionFormat(const QTextCharFormat &format)
{
    mergeCurrentCharFormat(format);
}

void TNoteBox::setBackgroundColor(const QColor &color)
{
    QPalette pal = palette();
    pal.setColor(QPalette::Base, color);
    setPalette(pal);
}

QColor TNoteBox::backgroundColor() const
{
    return palette().color(QPalette::Base);
}

void TNoteBox::setKeepSelectionVisible(bool keep)
{
    m_keepSelection = keep;
}

void TNoteBox::focusInEvent(QFocusEvent *event)
{
    if (m_hiddenSelection && !m_hiddenSelection->isNull() &&
        m_hiddenSelection->document() == document())
        setTextCursor(*m_hiddenSelection);
    m_hiddenSelection.reset();
    QTextEdit::focusInEvent(event);
}

void TNoteBox::focusOutEvent(QFocusEvent *event)
{
    QTextEdit::focusOutEvent(event);
    const Qt::FocusReason reason = event->reason();
    const bool toOtherControl =
        reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
    if (!m_keepSelection && textCursor().hasSelection() && reason != Qt::PopupFocusReason) {
        m_hiddenSelection = textCursor();
        QTextCursor caret = textCursor();
        caret.clearSelection();
        setTextCursor(caret);
    }
    if (toOtherControl) emit exited();
}

void TNoteBox::contextMenuEvent(QContextMenuEvent *event)
{
    if (!m_popupMenu) {
        QTextEdit::contextMenuEvent(event);
        return;
    }
    m_popupMenu->popup(event->globalPos());
    event->accept();
}

bool TNoteBox::canInsertFromMimeData(const QMimeData *source) const
{
    if (!source) return false;
    return (source->hasHtml() && acceptRichText()) ||
           (source->hasText() && !withoutObjects(source->text()).isEmpty());
}

void TNoteBox::insertFromMimeData(const QMimeData *source)
{
    if (!source || isReadOnly()) return;
    QTextCursor cursor = textCursor();
    if (source->hasHtml() && acceptRichText()) {
        QTextDocument scratch;
        QTextCursor(&scratch).insertFragment(QTextDocumentFragment::fromHtml(source->html()));
        // Pictures are object characters (U+FFFC); tables, lists and frames flatten into
        // their paragraphs.
        bool any = false;
        for (QTextBlock block = scratch.begin(); block.isValid() && !any; block = block.next())
            for (auto it = block.begin(); !it.atEnd() && !any; ++it)
                any = !withoutObjects(it.fragment().text()).isEmpty();
        if (!any && !source->hasText()) return;
        if (any) {
            cursor.beginEditBlock();
            cursor.removeSelectedText();
            for (QTextBlock block = scratch.begin(); block.isValid(); block = block.next()) {
                if (block != scratch.begin()) cursor.insertBlock();
                for (auto it = block.begin(); !it.atEnd(); ++it) {
                    const QTextFragment fragment = it.fragment();
                    const QString text = withoutObjects(fragment.text());
                    if (!text.isEmpty())
                        cursor.insertText(text, storableFormat(fragment.charFormat()));
                }
            }
            cursor.endEditBlock();
            setTextCursor(cursor);
            ensureCursorVisible();
            return;
        }
    }
    QString text = withoutObjects(source->text());
    if (text.isEmpty()) return;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    cursor.insertText(text);
    setTextCursor(cursor);
    ensureCursorVisible();
}
