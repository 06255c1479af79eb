#include "base/password_echo.h"

#include <QLineEdit>

void hidePasswordTyping(QLineEdit* editor) {
    editor->setEchoMode(QLineEdit::Password);
    editor->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
}
