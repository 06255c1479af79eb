#pragma once

#include <QList>
#include <QString>
#include <QStringView>
#include <optional>

// The columns of a workbook's member rows and the checks every row passes
// before it is stored: the preview and the import read rows through these
// alone, so both say the same of a row.
namespace members {

// The number of spreadsheet columns stored as texts (A to S), and the
// active-member column (V).
inline constexpr int kTextColumns = 19;
inline constexpr int kBirthdayColumn = 9;
inline constexpr int kSalutationColumn = 3;
inline constexpr int kEnabledColumn = 22;

// The Cust column of spreadsheet column 1 to kTextColumns.
const char* custColumn(int column);

// The text a column of a row gives, as it is stored (untrimmed for the
// member number, which keeps its spaces); a view of the row's cell.
QStringView columnView(const QList<QStringView>& cells, int column);

// The same as a text of its own, for messages.
QString columnText(const QList<QStringView>& cells, int column);

// What a row stores besides its texts.
struct CheckedRow {
    QString birthday;           // the stored date text; null when the cell is empty
    std::optional<int> enabled; // column V; nullopt when empty or not read
};

// Checks row's cells as they will be stored: texts the database can keep
// and no longer than their columns allow, column I a date, column V (when
// readEnabled) yes or no. Throws ConversionError naming the cell
// (第 7 列 I 欄「1976/13/40」不是有效的日期).
CheckedRow checkRow(int row, const QList<QStringView>& cells, bool readEnabled);

// The key a member number is matched by: the number as stored, spaces
// kept, with ASCII letters folded as the database compares it.
QString memberKey(QStringView id);

} // namespace members
