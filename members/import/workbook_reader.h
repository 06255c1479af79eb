#pragma once

#include <QString>
#include <QStringList>
#include <memory>

// Reading the first worksheet of a workbook file row by row, each cell as the
// text the spreadsheet shows for it. Three kinds of file are read: Excel 97
// to 2003 workbooks (.xls), Office Open XML workbooks (.xlsx) and text
// separated by commas (.csv, in UTF-8 or Big5).
namespace members {

// One row of the sheet: its number, counted from 1, and its cells from
// column 1 (A) on; columns after the last one listed are empty.
struct SheetRow {
    int number = 0;
    QStringList cells;
};

class WorkbookReader {
public:
    virtual ~WorkbookReader() = default;

    // The next row of the sheet that has cells, in ascending order of row
    // number; false at the end of the sheet. Throws FileError when the file
    // turns out to be damaged on the way.
    virtual bool nextRow(SheetRow& row) = 0;

    // The number of the sheet's last row as far as known before reading it
    // (for showing progress); 0 when not known.
    virtual int lastRowHint() const = 0;
};

// Opens the workbook at path and prepares its first worksheet. The kind is
// taken from the file's first bytes (.xls and .xlsx), otherwise from the
// name: a file ending in .csv or .txt is read as comma-separated text.
// Throws FileError, naming the file, when it cannot be opened or is not a
// workbook this program reads.
std::unique_ptr<WorkbookReader> openWorkbook(const QString& path);

// The cells of rows asked for in ascending order, from a reader that skips
// rows without cells.
class SheetCursor {
public:
    explicit SheetCursor(WorkbookReader& reader) : m_reader(reader) {}

    // The cells of row number (from 1); an empty list for a row without
    // cells. number must not be below a number asked for before.
    const QStringList& row(int number);

    // The text of the cell at row and column (both from 1); empty when the
    // cell is.
    QString cell(int row, int column);

private:
    WorkbookReader& m_reader;
    SheetRow m_next;
    bool m_haveNext = false;
    bool m_atEnd = false;
    QStringList m_empty;
};

} // namespace members
