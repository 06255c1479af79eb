#include "members/memo_edit.h"

#include "base/big5.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>

MemoEdit::MemoEdit(int maxBytes, QWidget* parent) : QPlainTextEdit(parent), m_maxBytes(maxBytes) {
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setTabChangesFocus(true);
}

QString MemoEdit::fitting(const QString& text) const {
    const int kept =
        big5::byteLength(toPlainText()) - big5::byteLength(textCursor().selectedText());
    QString result = text;
    while (!result.isEmpty() && kept + big5::byteLength(result) > m_maxBytes)
        result.chop(1);
    return result;
}

void MemoEdit::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && event->modifiers() == Qt::ControlModifier) {
        if (!fitting(QStringLiteral("\n")).isEmpty())
            insertPlainText(QStringLiteral("\n"));
        return;
    }
    const QString text = event->text();
    if (!enter && !text.isEmpty() && text.at(0).isPrint() && fitting(text) != text)
        return;
    QPlainTextEdit::keyPressEvent(event);
}

void MemoEdit::inputMethodEvent(QInputMethodEvent* event) {
    const QString commit = event->commitString();
    if (!commit.isEmpty() && fitting(commit) != commit) {
        QInputMethodEvent cut(event->preeditString(), event->attributes());
        cut.setCommitString(fitting(commit), event->replacementStart(), event->replacementLength());
        QPlainTextEdit::inputMethodEvent(&cut);
        return;
    }
    QPlainTextEdit::inputMethodEvent(event);
}

void MemoEdit::insertFromMimeData(const QMimeData* source) {
    if (source->hasText())
        insertPlainText(fitting(source->text()));
}
