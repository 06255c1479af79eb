#pragma once

#include "formats/workbook_reader.h"

namespace members {

// Opens an Excel 97 to 2003 workbook (.xls, BIFF8 in a compound file) and
// selects its first worksheet. Cells read as the sheet shows them: numbers
// in their number format (cell_text.h, number_format.h), dates as dates in
// the workbook's date system, formulas as their stored results, yes/no
// cells as TRUE and FALSE, errors as the error's text ("#DIV/0!"). Throws
// FileError, naming the file, for a file that is not such a workbook, is
// protected with a password, or is damaged.
std::unique_ptr<WorkbookReader> openXlsWorkbook(const QString& path);

// The same for the bytes of such a file; path only names it in errors.
std::unique_ptr<WorkbookReader> readXlsWorkbook(const QByteArray& bytes, const QString& path);

} // namespace members
