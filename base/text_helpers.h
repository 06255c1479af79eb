#pragma once

#include <QString>

// The part of text before the first occurrence of separator; the whole text
// when the separator is absent or empty.
QString StrBefore(const QString& text, const QString& separator);

// The part of text after the first occurrence of separator; the whole text
// when the separator is absent or empty.
QString StrAfter(const QString& text, const QString& separator);

// Text without the blanks and control characters (code points up to U+0020)
// at either end. An ideographic space is typed text and stays.
QString trimBlanks(const QString& text);
// The same as a view of text, for reading without a copy.
QStringView trimBlanks(QStringView text);

// The same at the end only.
QString trimBlanksAtEnd(const QString& text);
