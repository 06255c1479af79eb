#include "members/import/xlsx_plain_cell.h"

#include <cstring>

namespace members::xlsx {
namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Whether bytes hold text at from.
bool textAt(QByteArrayView bytes, qsizetype from, QByteArrayView text) {
    return bytes.size() - from >= text.size() &&
           std::memcmp(bytes.data() + from, text.data(), size_t(text.size())) == 0;
}

} // namespace

std::optional<PlainCell> plainCellAt(QByteArrayView bytes) {
    const qsizetype size = bytes.size();
    const char* data = bytes.data();
    if (size < 3 || data[0] != '<' || data[1] != 'c' || (!isSpace(data[2]) && data[2] != '>'))
        return std::nullopt;
    PlainCell cell;
    qsizetype i = 2;
    // The attributes, up to the end of the start tag.
    for (;;) {
        while (i < size && isSpace(data[i]))
            ++i;
        if (i >= size)
            return std::nullopt;
        if (data[i] == '>') {
            ++i;
            break;
        }
        if (data[i] == '/') {
            if (i + 1 >= size || data[i + 1] != '>')
                return std::nullopt;
            cell.length = i + 2;
            return cell;
        }
        QByteArrayView* value = nullptr;
        switch (data[i]) {
        case 'r':
            value = &cell.reference;
            break;
        case 't':
            value = &cell.type;
            break;
        case 's':
            value = &cell.style;
            break;
        default:
            return std::nullopt;
        }
        ++i;
        while (i < size && isSpace(data[i]))
            ++i;
        if (i >= size || data[i] != '=' || !value->isNull())
            return std::nullopt; // a longer name, or one given twice
        ++i;
        while (i < size && isSpace(data[i]))
            ++i;
        if (i >= size || (data[i] != '"' && data[i] != '\''))
            return std::nullopt;
        const char quote = data[i++];
        const qsizetype start = i;
        while (i < size && data[i] != quote && data[i] != '&' && data[i] != '<')
            ++i;
        if (i >= size || data[i] != quote)
            return std::nullopt;
        *value = QByteArrayView(data + start, i - start); // not null, even when empty
        ++i;
        if (i < size && !isSpace(data[i]) && data[i] != '>' && data[i] != '/')
            return std::nullopt;
    }
    // The one <v> and the end of the cell.
    if (!textAt(bytes, i, "<v>"))
        return std::nullopt;
    i += 3;
    const qsizetype start = i;
    while (i < size && data[i] != '<' && data[i] != '&' && data[i] != '\r')
        ++i;
    if (!textAt(bytes, i, "</v></c>"))
        return std::nullopt;
    cell.value = QByteArrayView(data + start, i - start);
    cell.length = i + 8;
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
