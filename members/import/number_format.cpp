#include "members/import/number_format.h"

namespace members {

bool isBuiltInDateFormat(int id) {
    return (id >= 14 && id <= 22) || (id >= 27 && id <= 36) || (id >= 45 && id <= 47) ||
           (id >= 50 && id <= 58);
}

bool isDateFormatCode(const QString& code) {
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar c = code.at(i);
        if (c == '"') {
            const qsizetype end = code.indexOf('"', i + 1);
            i = end < 0 ? code.size() : end;
        } else if (c == '\\' || c == '_' || c == '*') {
            ++i; // the next character is shown as it is (or is padding)
        } else if (c == '[') {
            const qsizetype end = code.indexOf(']', i + 1);
            const QString part = code.mid(i + 1, (end < 0 ? code.size() : end) - i - 1).toLower();
            if (part == u"h" || part == u"hh" || part == u"m" || part == u"mm" || part == u"s" ||
                part == u"ss")
                return true; // elapsed time
            i = end < 0 ? code.size() : end;
        } else if (code.mid(i, 7).compare(u"General", Qt::CaseInsensitive) == 0) {
            i += 6;
        } else if ((c == 'E' || c == 'e') && i + 1 < code.size() &&
                   (code.at(i + 1) == '+' || code.at(i + 1) == '-')) {
            ++i; // the exponent of a scientific format
        } else {
            switch (c.toLower().unicode()) {
            case 'y':
            case 'm':
            case 'd':
            case 'e':
            case 'g':
            case 'h':
            case 's':
                return true;
            default:
                break;
            }
        }
    }
    return false;
}

} // namespace members
