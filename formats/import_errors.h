#pragma once

#include <QString>

// The texts that say which cell of an import failed and why, in the form
// 第 7 列 I 欄「1976/13/40」不是有效的日期.
namespace members {

// The letters of a column counted from 1: A, B, ..., Z, AA, ...
QString columnLetters(int column);

// "第 row 列 X 欄" and the reason, whose text names the value itself
// (such as 「1976/13/40」不是有效的日期).
QString cellErrorText(int row, int column, const QString& reason);

// Checks that a text read from a file may be stored: no control character
// other than tab and line breaks (a text read in the wrong encoding is full
// of them), no half of a UTF-16 pair, and no replacement character, which
// stands for bytes that had no character. Throws ConversionError with the reason.
void checkStorableText(QStringView text);

// Why the database refused a row: a text longer than its column allows
// (limit), a value the column keeps unique (duplicate), each naming the
// column to be matched to a cell; otherwise no column, and the database's
// own text.
struct Refusal {
    QString column;
    int limit = 0;
    bool duplicate = false;
    QString databaseText;
};
Refusal refusalOf(const QString& databaseText);

// The reason in Chinese for the value of the refusal's column, such as
// "「名字」太長（最多 10 字）"; the database's text as the detail of any
// other refusal.
QString refusalText(const Refusal& refusal, const QString& value);

} // namespace members
