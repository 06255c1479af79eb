#pragma once

#include <QString>

// The part of text before the first occurrence of separator; the whole text
// when the separator is absent or empty.
QString StrBefore(const QString& text, const QString& separator);

// The part of text after the first occurrence of separator; the whole text
// when the separator is absent or empty.
QString StrAfter(const QString& text, const QString& separator);
