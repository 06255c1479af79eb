#include "formats/minguo_format.h"

#include "formats/number_format.h"

#include <QList>
#include <QLocale>

namespace members {
namespace {

// The first year of the Minguo calendar, 1912, is its year 1.
constexpr int kMinguoOffset = 1911;

// One piece of a format code: a run of one date or time letter (such as
// "mm"), a text shown as it is, or the morning/afternoon marker.
struct Piece {
    enum Kind { Letters, Text, Meridiem } kind = Text;
    char16_t letter = 0; // lower case, for Letters
    int count = 0;       // the length of the run
    QString text;        // for Text
};

// Whether a locale part (what follows "$" in a bracket, such as "-404" or
// "-zh-TW") is Taiwan's or its calendar the Taiwan calendar.
bool isTaiwanLocale(QStringView part) {
    const qsizetype dash = part.indexOf('-');
    if (dash < 0)
        return false; // a currency symbol alone
    const QStringView locale = part.mid(dash + 1);
    bool hex = false;
    const uint value = locale.toUInt(&hex, 16);
    if (!hex)
        return locale.compare(u"zh-TW", Qt::CaseInsensitive) == 0 ||
               locale.compare(u"zh-Hant-TW", Qt::CaseInsensitive) == 0;
    const uint language = value & 0xFFFF;
    const uint calendar = (value >> 16) & 0xFF;
    constexpr uint kTaiwan = 0x0404;
    constexpr uint kTaiwanCalendar = 4;
    return calendar == kTaiwanCalendar || (language == kTaiwan && calendar == 0);
}

// The pieces of the code's first section, and whether it names a locale
// (or calendar) and whether that is Taiwan's.
struct Parsed {
    QList<Piece> pieces;
    bool namesLocale = false;
    bool taiwan = false;
};

void addText(QList<Piece>& pieces, const QString& text) {
    if (!pieces.isEmpty() && pieces.last().kind == Piece::Text)
        pieces.last().text += text;
    else
        pieces.append({Piece::Text, 0, 0, text});
}

Parsed parse(const QString& code) {
    Parsed parsed;
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar c = code.at(i);
        const char16_t lower = c.toLower().unicode();
        if (c == ';') {
            break; // the sections for negative numbers, zero and texts
        } else if (c == '"') {
            const qsizetype end = code.indexOf('"', i + 1);
            addText(parsed.pieces, code.mid(i + 1, (end < 0 ? code.size() : end) - i - 1));
            i = end < 0 ? code.size() : end;
        } else if (c == '\\' && i + 1 < code.size()) {
            addText(parsed.pieces, code.at(++i));
        } else if (c == '_' && i + 1 < code.size()) {
            addText(parsed.pieces, QStringLiteral(" ")); // room as wide as the next character
            ++i;
        } else if (c == '*' && i + 1 < code.size()) {
            ++i; // fills the cell's width: nothing in a text
        } else if (c == '[') {
            const qsizetype end = code.indexOf(']', i + 1);
            const QStringView part =
                QStringView(code).mid(i + 1, (end < 0 ? code.size() : end) - i - 1);
            if (part.startsWith('$')) {
                parsed.namesLocale = true;
                parsed.taiwan = parsed.taiwan || isTaiwanLocale(part.mid(1));
            }
            i = end < 0 ? code.size() : end;
        } else if (code.mid(i, 5).compare(u"AM/PM", Qt::CaseInsensitive) == 0 ||
                   code.mid(i, 5) == u"上午/下午") {
            parsed.pieces.append({Piece::Meridiem, 0, 0, {}});
            i += 4;
        } else if (isDateLetter(lower) || lower == 'a') { // "aaa": the day of the week
            qsizetype end = i + 1;
            while (end < code.size() && code.at(end).toLower() == QChar(lower))
                ++end;
            parsed.pieces.append({Piece::Letters, lower, int(end - i), {}});
            i = end - 1;
        } else {
            addText(parsed.pieces, c);
        }
    }
    return parsed;
}

bool hasEraYear(const QList<Piece>& pieces) {
    for (const Piece& piece : pieces) {
        if (piece.kind == Piece::Letters && piece.letter == 'e')
            return true;
    }
    return false;
}

bool hasMeridiem(const QList<Piece>& pieces) {
    for (const Piece& piece : pieces) {
        if (piece.kind == Piece::Meridiem)
            return true;
    }
    return false;
}

// Whether the "m" at index stands for minutes: right after hours or right
// before seconds (texts between them aside).
bool isMinutes(const QList<Piece>& pieces, qsizetype index) {
    for (qsizetype i = index - 1; i >= 0; --i) {
        if (pieces.at(i).kind == Piece::Letters) {
            if (pieces.at(i).letter == 'h')
                return true;
            break;
        }
    }
    for (qsizetype i = index + 1; i < pieces.size(); ++i) {
        if (pieces.at(i).kind == Piece::Letters)
            return pieces.at(i).letter == 's';
    }
    return false;
}

QString padded(int value, int count) {
    return QString::number(value).rightJustified(count >= 2 ? 2 : 1, '0');
}

// The text of one run of letters.
QString lettersText(const Piece& piece, bool minutes, bool twelveHours, QDate date, QTime time) {
    static const QLocale taiwan(QLocale::Chinese, QLocale::TraditionalChineseScript,
                                QLocale::Taiwan);
    const int n = piece.count;
    switch (piece.letter) {
    case 'e':
        return padded(date.year() - kMinguoOffset, n);
    case 'g':
        return n >= 3 ? QStringLiteral("中華民國") : QStringLiteral("民國");
    case 'y':
        return n <= 2 ? padded(date.year() % 100, 2) : QString::number(date.year());
    case 'm':
        if (minutes)
            return padded(time.minute(), n);
        if (n <= 2)
            return padded(date.month(), n);
        return taiwan.monthName(date.month(), n == 3 ? QLocale::ShortFormat : QLocale::LongFormat);
    case 'd':
        if (n <= 2)
            return padded(date.day(), n);
        return taiwan.dayName(date.dayOfWeek(),
                              n == 3 ? QLocale::ShortFormat : QLocale::LongFormat);
    case 'a':
        return n >= 3 ? taiwan.dayName(date.dayOfWeek(),
                                       n == 3 ? QLocale::ShortFormat : QLocale::LongFormat)
                      : QString(n, 'a');
    case 'h': {
        int hour = time.hour();
        if (twelveHours) {
            hour %= 12;
            if (hour == 0)
                hour = 12;
        }
        return padded(hour, n);
    }
    case 's':
        return padded(time.second(), n);
    default:
        return QString();
    }
}

} // namespace

QString builtInMinguoCode(int id) {
    switch (id) {
    case 27:
    case 36:
    case 50:
    case 57:
        return QStringLiteral("[$-404]e/m/d");
    case 28:
    case 29:
    case 51:
    case 54:
    case 58:
        return QStringLiteral("[$-404]e\"年\"m\"月\"d\"日\"");
    default:
        return QString();
    }
}

bool isMinguoDateCode(const QString& code) {
    const Parsed parsed = parse(code);
    return hasEraYear(parsed.pieces) && (!parsed.namesLocale || parsed.taiwan);
}

QString minguoDateText(QDate date, QTime time, const QString& code) {
    if (!date.isValid() || date.year() <= kMinguoOffset)
        return QString();
    const QList<Piece> pieces = parse(code).pieces;
    const bool twelveHours = hasMeridiem(pieces);
    QString text;
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        const Piece& piece = pieces.at(i);
        if (piece.kind == Piece::Text)
            text += piece.text;
        else if (piece.kind == Piece::Meridiem)
            text += time.hour() < 12 ? QStringLiteral("上午") : QStringLiteral("下午");
        else
            text += lettersText(piece, piece.letter == 'm' && isMinutes(pieces, i), twelveHours,
                                date, time);
    }
    return text;
}

} // namespace members
