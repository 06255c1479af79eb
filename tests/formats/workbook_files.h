#pragma once

#include "formats/workbook_reader.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <variant>

// Workbook files written by the tests: .xlsx through libxlsxwriter, .csv as
// text. Rows and columns count from 1, as the spreadsheet shows them.
namespace test_files {

// A cell of a written workbook.
struct Date {
    QDate date;
    const char* format = "yyyy/mm/dd";
};
struct DateTime {
    QDate date;
    int hour = 0;
    int minute = 0;
    const char* format = "yyyy/mm/dd hh:mm";
};
struct Number {
    double value;
    const char* format = nullptr; // a number format code, or the default
};
struct BuiltInFormat {
    double value;
    int id; // a built-in number format id such as 14
};
struct Boolean {
    bool value;
};
using Cell = std::variant<QString, Number, Date, DateTime, BuiltInFormat, Boolean>;

class XlsxFile {
public:
    // Starts a workbook at path. With inlineStrings the texts are written
    // into the sheet itself instead of the shared string table.
    explicit XlsxFile(const QString& path, bool inlineStrings = false);
    ~XlsxFile();
    XlsxFile(const XlsxFile&) = delete;
    XlsxFile& operator=(const XlsxFile&) = delete;

    void put(int row, int column, const Cell& cell);

    // Texts from column 1 on; empty texts leave their cells empty.
    void putRow(int row, const QStringList& texts);

    // Writes the file.
    void close();

private:
    struct Parts;
    Parts* m_parts;
};

// The rows as comma-separated text, fields quoted where needed, lines
// ending with CR LF.
QString csvText(const QList<QStringList>& rows);

// A row of a sheet with its cells as texts of their own, kept after the
// reader has gone on.
struct RowTexts {
    int number = 0;
    QStringList cells;
};

// Every row a reader gives, each taken before the next one is read.
QList<RowTexts> readAllRows(members::WorkbookReader& reader);

// Every row of the first sheet of the workbook at path, as
// members::openWorkbook reads it.
QList<RowTexts> readAllRows(const QString& path);

// A member row of 22 cells for a workbook: number id, name, salutation and
// so on, as the import window reads them.
QStringList memberRow(const QString& id, const QString& name);

} // namespace test_files
