#pragma once

#include "formats/workbook_reader.h"

#include <QByteArray>
#include <QStringDecoder>
#include <vector>

namespace members {

// The encodings a comma-separated file is read in.
enum class CsvEncoding { Utf8, Big5 };

// The bytes of a comma-separated file as they are read: UTF-8 or Big5,
// without a byte-order mark.
struct CsvBytes {
    QByteArray bytes;
    CsvEncoding encoding = CsvEncoding::Utf8;
};

// Prepares a file's bytes: UTF-16 after a UTF-16 byte-order mark (turned
// into UTF-8 here), UTF-8 (a leading byte-order mark is dropped) when the
// bytes are valid UTF-8, otherwise Big5. Throws ConversionError for bytes
// marked as UTF-16 that are not.
CsvBytes prepareCsv(QByteArray bytes);

// The whole text of a comma-separated file, as its fields read it.
// Throws ConversionError as prepareCsv does.
QString decodeCsv(const QByteArray& bytes);

// The separator of a file's fields: a tab when its first line holds tabs
// and no comma (as spreadsheet programs save "text" and "Unicode text"),
// otherwise a comma.
char separatorOf(QByteArrayView bytes);

// Text decoded from a file's bytes piece by piece into one buffer that keeps
// its room when emptied: the text of one row of many thousand at a time.
class CsvText {
public:
    explicit CsvText(CsvEncoding encoding) : m_encoding(encoding) {}

    // Appends the text of raw, bytes of the encoding.
    void append(QByteArrayView raw);
    void clear() { m_used = 0; }
    qsizetype size() const { return m_used; }
    // Valid until the next append.
    QStringView view(qsizetype start, qsizetype length) const {
        return QStringView(m_text.constData() + start, length);
    }

private:
    // Makes room for count more characters.
    QChar* room(qsizetype count);

    CsvEncoding m_encoding;
    QString m_text;
    qsizetype m_used = 0;
    QStringDecoder m_utf8{QStringDecoder::Utf8, QStringDecoder::Flag::Stateless};
};

// Reads a comma-separated file row by row, straight from its bytes. Fields
// are separated by commas and rows by line breaks (CR LF, LF or CR); a
// field in double quotes may hold commas, line breaks and doubled quotes
// (""), which stand for one. Unquoted fields are kept as they are, spaces
// included.
class CsvParser {
public:
    explicit CsvParser(CsvBytes bytes, char separator = ',');

    // The fields of the next row as row's cells, which view the parser's
    // text of that row until the next call; false after the last row. A
    // line break at the very end does not start another row.
    bool nextRow(SheetRow& row);

    // The number of line breaks in the file, plus one: the number of rows
    // when no field holds a line break.
    int lineCount() const;

private:
    // Reads the row at m_position into m_row and m_fields when it is a
    // plain line of UTF-8 (no quote, no carriage return but the one before
    // its line feed): decoded in one piece, then split at its separators.
    // False, having read nothing, for any other row.
    bool readPlainRow();
    // Reads any row, field by field.
    void readRow();

    CsvBytes m_bytes;
    char m_separator;
    qsizetype m_position = 0;
    // The text of the row being read: its fields one after the other, each
    // where m_fields says (start and length).
    CsvText m_row;
    std::vector<std::pair<qsizetype, qsizetype>> m_fields;
};

// Opens a comma-separated file (or a tab-separated one, see separatorOf)
// as a one-sheet workbook: its n-th record is row n.
// Throws FileError when it cannot be read.
std::unique_ptr<WorkbookReader> openCsvWorkbook(const QString& path);

} // namespace members
