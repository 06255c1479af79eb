#pragma once

#include "members/export/export_table.h"

namespace members::exporting {

// Writes the table to an .xlsx workbook at path, one sheet, the captions in
// row 1 in bold: text as text cells, dates as date cells shown yyyy/mm/dd,
// yes/no as boolean cells. Rows go to the file as they come, so memory stays
// flat however many there are. Throws FileError with libxlsxwriter's reason.
int writeXlsx(const QString& path, const QList<Column>& columns, const RowSource& rows);

} // namespace members::exporting
