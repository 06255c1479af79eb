#include "db/like_pattern.h"

namespace db {
namespace {

constexpr QChar kEscape = u'\\';

QString escaped(const QString& text, bool wildcards) {
    QString pattern;
    pattern.reserve(text.size() + 2);
    for (const QChar c : text) {
        if (c == kEscape || (wildcards && (c == u'%' || c == u'_')))
            pattern += kEscape;
        pattern += c;
    }
    return pattern;
}

} // namespace

QString likeKeepingWildcards(const QString& text) {
    return escaped(text, false);
}

QString likeLiteral(const QString& text) {
    return escaped(text, true);
}

} // namespace db
