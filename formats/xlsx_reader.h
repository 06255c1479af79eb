#pragma once

#include "formats/workbook_reader.h"

namespace members {

// Opens an Office Open XML workbook (.xlsx) and prepares its first worksheet,
// found through the workbook's relationships. The worksheet is inflated and
// read as it goes, so a large sheet is never held whole; the shared strings
// and the cell formats are read first. Cells read as the spreadsheet shows
// them: text as stored, numbers as numberText shows them, numbers in a date
// or time format as serialDateText shows them, yes/no cells as TRUE or
// FALSE, error cells as their error text (#N/A), formulas as their last
// result. Throws FileError.
std::unique_ptr<WorkbookReader> openXlsxWorkbook(const QString& path);

// The column (from 1) and row (from 1) of a cell reference such as "AB12";
// 0 for a part that is missing or not valid.
std::pair<int, int> cellPosition(QStringView reference);

} // namespace members
