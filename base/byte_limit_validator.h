#pragma once

#include <QValidator>

class QLineEdit;

// Limits typing to a number of code page 950 bytes: a Chinese character
// counts as two, as the system code page stores it.
class ByteLimitValidator : public QValidator {
public:
    ByteLimitValidator(int maxBytes, QObject* parent = nullptr);
    State validate(QString& input, int& pos) const override;
    int maxBytes() const { return m_maxBytes; }

    // Sets a byte limit on an editor.
    static void apply(QLineEdit* editor, int maxBytes);

private:
    int m_maxBytes;
};
