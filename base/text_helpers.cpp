#include "base/text_helpers.h"

QString StrBefore(const QString& text, const QString& separator) {
    const qsizetype at = separator.isEmpty() ? -1 : text.indexOf(separator);
    return at < 0 ? text : text.left(at);
}

QString StrAfter(const QString& text, const QString& separator) {
    const qsizetype at = separator.isEmpty() ? -1 : text.indexOf(separator);
    return at < 0 ? text : text.mid(at + separator.size());
}

namespace {

bool isBlank(QChar c) {
    return c.unicode() <= u' ';
}

} // namespace

QStringView trimBlanks(QStringView text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text.at(begin)))
        ++begin;
    while (end > begin && isBlank(text.at(end - 1)))
        --end;
    return text.sliced(begin, end - begin);
}

QString trimBlanks(const QString& text) {
    const QStringView trimmed = trimBlanks(QStringView(text));
    return trimmed.size() == text.size() ? text : trimmed.toString();
}

QString trimBlanksAtEnd(const QString& text) {
    qsizetype end = text.size();
    while (end > 0 && isBlank(text.at(end - 1)))
        --end;
    return end == text.size() ? text : text.left(end);
}
