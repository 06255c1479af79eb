#pragma once

#include <QList>
#include <QString>
#include <QVariantList>
#include <functional>

// A table of members as it goes out to a spreadsheet: the columns with
// their captions and kinds, and the rows one after the other.
namespace members::exporting {

enum class CellKind {
    Text,  // written as text, so member numbers and telephones keep leading zeros
    Date,  // a stored date: a date cell in .xlsx, "yyyy/MM/dd" in .csv
    YesNo, // TRUE or FALSE
};

struct Column {
    QString field; // the dataset's or the statement's field
    QString caption;
    CellKind kind = CellKind::Text;
};

// Gives the values of the next row, one for each column in order; false
// after the last row.
using RowSource = std::function<bool(QVariantList& values)>;

// The text of a value as the .csv file writes it; Date values through
// db::storedDateTime, empty when they are empty or unreadable.
QString cellText(const QVariant& value, CellKind kind);

// Writes the heading row of captions, then every row, to path: an .xlsx
// workbook when the name ends in .xlsx (letter case ignored), otherwise a
// .csv file. The file is written whole under a temporary name and then put
// in place, so a failure leaves any file of that name as it was. Throws
// FileError, naming the file, when it cannot be written. Returns the number
// of rows written.
int writeTable(const QString& path, const QList<Column>& columns, const RowSource& rows);

} // namespace members::exporting
