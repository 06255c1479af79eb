#pragma once

#include <QByteArrayView>
#include <optional>

// The shape nearly every cell of a worksheet has, <c r="B2" s="1" t="s">
// <v>7</v></c>, read straight from the sheet's bytes: a sheet of a hundred
// thousand rows holds millions of them, and taking each apart token by
// token costs more than inflating the sheet. Anything else is left to the
// general XML scanner. The same for the items of the shared-string table,
// whose common shape is <si><t>text</t></si>.
namespace members::xlsx {

struct PlainCell {
    // The raw values of the attributes r, t and s; null when absent.
    QByteArrayView reference;
    QByteArrayView type;
    QByteArrayView style;
    // The text of the one <v> element; null for an empty element (<c/>).
    QByteArrayView value;
    // The bytes of the whole element.
    qsizetype length = 0;
};

// The cell element at the start of bytes when it has that shape: no
// attribute but r, t and s (unprefixed, each at most once, their values
// raw), either quote, then nothing but one <v> whose text holds no
// reference or carriage return, or no content at all (<c .../>). nullopt
// for any other markup, a cell cut short by the end of bytes included.
std::optional<PlainCell> plainCellAt(QByteArrayView bytes);

// A shared-string item of the common shape: <si><t>, or <t xml:space=
// "preserve">, then text holding no markup, reference or carriage return,
// then </t></si>.
struct PlainStringItem {
    QByteArrayView text;  // UTF-8, as it is written
    qsizetype length = 0; // the bytes of the whole item
};

// The item at the start of bytes when it has that shape; nullopt for any
// other markup, an item cut short by the end of bytes included.
std::optional<PlainStringItem> plainStringItemAt(QByteArrayView bytes);

} // namespace members::xlsx
