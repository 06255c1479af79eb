#include "base/byte_limit_validator.h"

#include "base/big5.h"

#include <QLineEdit>

ByteLimitValidator::ByteLimitValidator(int maxBytes, QObject* parent)
    : QValidator(parent), m_maxBytes(maxBytes) {}

QValidator::State ByteLimitValidator::validate(QString& input, int&) const {
    return big5::byteLength(input) <= m_maxBytes ? Acceptable : Invalid;
}

void ByteLimitValidator::apply(QLineEdit* editor, int maxBytes) {
    editor->setValidator(new ByteLimitValidator(maxBytes, editor));
}
