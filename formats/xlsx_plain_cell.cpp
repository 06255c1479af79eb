#include "formats/xlsx_plain_cell.h"

#include <cstring>

namespace members::xlsx {
namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Whether bytes hold text (a literal) at from: compared in place, a few
// bytes known at compile time, as it is for every cell of a sheet.
template <qsizetype N> bool textAt(QByteArrayView bytes, qsizetype from, const char (&text)[N]) {
    return bytes.size() - from >= N - 1 && std::memcmp(bytes.data() + from, text, N - 1) == 0;
}

// Where the value of attribute name goes; null for a name not read here.
QByteArrayView* slotOf(char name, PlainCell& cell) {
    switch (name) {
    case 'r':
        return &cell.reference;
    case 't':
        return &cell.type;
    case 's':
        return &cell.style;
    default:
        return nullptr;
    }
}

} // namespace

std::optional<PlainCell> plainCellAt(QByteArrayView bytes) {
    const char* const data = bytes.data();
    const char* const end = data + bytes.size();
    if (bytes.size() < 3 || data[0] != '<' || data[1] != 'c')
        return std::nullopt;
    PlainCell cell;
    const char* p = data + 2;
    // The attributes, up to the end of the start tag. Their values are
    // taken raw, as the scanner takes them for a cell: up to the quote.
    for (;;) {
        // The spelling programs write, a blank and name="value", at once.
        if (end - p >= 4 && p[0] == ' ' && p[2] == '=' && p[3] == '"') {
            QByteArrayView* const value = slotOf(p[1], cell);
            if (value == nullptr || !value->isNull())
                return std::nullopt;
            const char* const start = p + 4;
            p = start;
            while (p < end && *p != '"')
                ++p;
            if (p >= end)
                return std::nullopt;
            *value = QByteArrayView(start, p - start);
            ++p;
            continue;
        }
        if (p >= end)
            return std::nullopt;
        if (*p == '>') {
            ++p;
            break;
        }
        if (*p == '/') {
            if (p + 1 >= end || p[1] != '>')
                return std::nullopt;
            cell.length = p + 2 - data;
            return cell;
        }
        if (!isSpace(*p)) // the name goes on, or a value is followed by more than its quote
            return std::nullopt;
        while (p < end && isSpace(*p))
            ++p;
        if (p >= end)
            return std::nullopt;
        if (*p == '>' || *p == '/')
            continue;
        QByteArrayView* const value = slotOf(*p, cell);
        if (value == nullptr)
            return std::nullopt;
        ++p;
        while (p < end && isSpace(*p))
            ++p;
        if (p >= end || *p != '=' || !value->isNull())
            return std::nullopt; // a longer name, or one given twice
        ++p;
        while (p < end && isSpace(*p))
            ++p;
        if (p >= end || (*p != '"' && *p != '\''))
            return std::nullopt;
        const char quote = *p++;
        const char* const start = p;
        while (p < end && *p != quote)
            ++p;
        if (p >= end)
            return std::nullopt;
        *value = QByteArrayView(start, p - start); // not null, even when empty
        ++p;
    }
    // The one <v> and the end of the cell.
    if (end - p < 3 || p[0] != '<' || p[1] != 'v' || p[2] != '>')
        return std::nullopt;
    p += 3;
    const char* const start = p;
    while (p < end && static_cast<unsigned char>(*p - '0') < 10) // digits, as most values are
        ++p;
    while (p < end && *p != '<' && *p != '&' && *p != '\r')
        ++p;
    if (!textAt(bytes, p - data, "</v></c>"))
        return std::nullopt;
    cell.value = QByteArrayView(start, p - start);
    cell.length = p + 8 - data;
    return cell;
}

std::optional<PlainStringItem> plainStringItemAt(QByteArrayView bytes) {
    qsizetype i = 0;
    if (textAt(bytes, 0, "<si><t>"))
        i = 7;
    else if (textAt(bytes, 0, "<si><t xml:space=\"preserve\">"))
        i = 28;
    else
        return std::nullopt;
    const char* data = bytes.data();
    const qsizetype start = i;
    while (i < bytes.size() && data[i] != '<' && data[i] != '&' && data[i] != '\r')
        ++i;
    if (!textAt(bytes, i, "</t></si>"))
        return std::nullopt;
    return PlainStringItem{bytes.sliced(start, i - start), i + 9};
}

} // namespace members::xlsx
