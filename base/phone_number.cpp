#include "base/phone_number.h"

namespace phone {
namespace {

bool isSpacing(QChar c) {
    return c.isSpace() || c == QLatin1Char('-') || c == QLatin1Char('.');
}

QString withoutSpacing(const QString& typed) {
    QString bare;
    bare.reserve(typed.size());
    for (const QChar c : typed) {
        if (!isSpacing(c))
            bare += c;
    }
    return bare;
}

constexpr int kShortestNumber = 8;

} // namespace

QString key(const QString& typed) {
    const QString bare = withoutSpacing(typed);
    const QStringView number = QStringView(bare).mid(bare.startsWith(QLatin1Char('+')) ? 1 : 0);
    if (number.startsWith(QLatin1String("8869")))
        return QLatin1Char('0') + number.mid(3).toString();
    return bare;
}

QString searchKey(const QString& typed) {
    QString bare = withoutSpacing(typed);
    bare.remove(QLatin1Char('(')).remove(QLatin1Char(')'));
    return bare;
}

bool isDialable(const QString& typed) {
    const QString bare = withoutSpacing(typed);
    const QStringView digits = QStringView(bare).mid(bare.startsWith(QLatin1Char('+')) ? 1 : 0);
    if (digits.size() < kShortestNumber)
        return false;
    for (const QChar c : digits) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

} // namespace phone
