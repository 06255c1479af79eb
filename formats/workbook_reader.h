#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

// Reading the first worksheet of a workbook file row by row, each cell as the
// text the spreadsheet shows for it. Three kinds of file are read: Excel 97
// to 2003 workbooks (.xls), Office Open XML workbooks (.xlsx) and text
// separated by commas (.csv, in UTF-8 or Big5).
namespace members {

// One row of the sheet: its number, counted from 1, and its cells from
// column 1 (A) on; columns after the last one listed are empty. The cells
// are views: of texts the reader keeps (a workbook's shared strings, the
// bytes of the row just read) until it reads the next row, or of texts the
// row keeps itself (numbers as the sheet shows them). A row of many
// thousands is read without making a text of each of its cells.
struct SheetRow {
    int number = 0;
    QList<QStringView> cells;

    // Empties the row for the next one, keeping the room it has.
    void clear() {
        cells.clear();
        m_texts.clear();
    }

    // Sets the cell of column (from 1), widening the row as needed, to a
    // view of a text that outlives the row's next clear().
    void setView(int column, QStringView text) {
        if (cells.size() == column - 1) { // the next column, as most cells come
            cells.append(text);
            return;
        }
        if (cells.size() < column)
            cells.resize(column);
        cells[column - 1] = text;
    }

    // Sets the cell of column (from 1) to a text the row keeps.
    void setText(int column, QString text) {
        m_texts.push_back(std::move(text)); // moving keeps the characters where they are
        setView(column, m_texts.back());
    }

    // The cells as texts of their own, to keep beyond the next row.
    QStringList texts() const {
        QStringList list;
        list.reserve(cells.size());
        for (const QStringView cell : cells)
            list.append(cell.toString());
        return list;
    }

private:
    std::vector<QString> m_texts;
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
    // cells. number must not be below a number asked for before. Valid
    // until a later row is asked for.
    const QList<QStringView>& row(int number);

    // The text of the cell at row and column (both from 1); empty when the
    // cell is.
    QString cell(int row, int column);

private:
    WorkbookReader& m_reader;
    SheetRow m_next;
    bool m_haveNext = false;
    bool m_atEnd = false;
    QList<QStringView> m_empty;
};

} // namespace members
