#include "notebox.h"

#include "rtfcodec.h"

#include <QFocusEvent>
#include <QFont>
#include <QPalette>
#include <QTextCharFormat>
#include <QTextDocument>

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
    textCursor().insertText(text);
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
