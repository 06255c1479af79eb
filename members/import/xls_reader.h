#pragma once

#include "members/import/workbook_reader.h"

namespace members {

// Opens an Excel 97 to 2003 workbook (.xls) through FreeXL and selects its
// first worksheet. Numbers read as numberText shows them, date and time cells
// as cell_text.h shows them. The format keeps no mark of a yes/no cell, so a
// TRUE cell reads 1 and a FALSE cell 0. Throws FileError.
std::unique_ptr<WorkbookReader> openXlsWorkbook(const QString& path);

} // namespace members
