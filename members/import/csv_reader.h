#pragma once

#include "members/import/workbook_reader.h"

#include <QByteArray>

namespace members {

// The text of a comma-separated file: UTF-16 after a UTF-16 byte-order
// mark, UTF-8 (a leading byte-order mark is dropped) when the bytes are
// valid UTF-8, otherwise Big5. Throws ConversionError for bytes marked as
// UTF-16 that are not.
QString decodeCsv(const QByteArray& bytes);

// The separator of a text's fields: a tab when its first line holds tabs
// and no comma (as spreadsheet programs save "text" and "Unicode text"),
// otherwise a comma.
QChar separatorOf(const QString& text);

// Reads the text of a comma-separated file row by row. Fields are separated
// by commas and rows by line breaks (CR LF, LF or CR); a field in double
// quotes may hold commas, line breaks and doubled quotes (""), which stand
// for one. Unquoted fields are kept as they are, spaces included.
class CsvParser {
public:
    explicit CsvParser(QString text, QChar separator = ',')
        : m_text(std::move(text)), m_separator(separator) {}

    // The fields of the next row; false after the last one. A line break at
    // the very end of the text does not start another row.
    bool nextRow(QStringList& fields);

    // The number of line breaks in the text, plus one: the number of rows
    // when no field holds a line break.
    int lineCount() const;

private:
    QString m_text;
    QChar m_separator;
    qsizetype m_position = 0;
};

// Opens a comma-separated file (or a tab-separated one, see separatorOf)
// as a one-sheet workbook: its n-th record is row n.
// Throws FileError when it cannot be read.
std::unique_ptr<WorkbookReader> openCsvWorkbook(const QString& path);

} // namespace members
