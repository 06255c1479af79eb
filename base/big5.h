#pragma once

#include <QByteArray>
#include <QString>

// Conversions between the program's texts and code page 950 (Big5), the code
// page of the typing limits, the text imports and the SMS gateway.
namespace big5 {

// The text in code page 950. Characters that Big5 cannot carry are left out
// and listed in *unmappable (each once, in order) when it is given.
QByteArray encode(const QString& text, QString* unmappable = nullptr);

// The characters of text that Big5 cannot carry, each once, in order.
QString unmappable(const QString& text);

// Decodes code page 950 bytes; a byte sequence that is not Big5 becomes U+FFFD.
QString decode(const QByteArray& bytes);

// The number of code page 950 bytes the text takes (a character Big5 cannot
// carry counts as two, as the system code page would store a substitute pair).
int byteLength(const QString& text);

} // namespace big5
