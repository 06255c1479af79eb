#include "base/text_helpers.h"

QString StrBefore(const QString& text, const QString& separator) {
    const qsizetype at = separator.isEmpty() ? -1 : text.indexOf(separator);
    return at < 0 ? text : text.left(at);
}

QString StrAfter(const QString& text, const QString& separator) {
    const qsizetype at = separator.isEmpty() ? -1 : text.indexOf(separator);
    return at < 0 ? text : text.mid(at + separator.size());
}
