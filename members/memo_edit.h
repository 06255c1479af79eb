#pragma once

#include <QPlainTextEdit>

// The multi-line note box: Ctrl+Enter starts a new line (Enter alone moves
// on, as in every data-entry window), and typing or pasting stops at a
// number of code page 950 bytes. Texts set by the program are not cut.
class MemoEdit : public QPlainTextEdit {
public:
    MemoEdit(int maxBytes, QWidget* parent = nullptr);

    int maxBytes() const { return m_maxBytes; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    // The part of text that fits in place of the selection.
    QString fitting(const QString& text) const;

    int m_maxBytes;
};
