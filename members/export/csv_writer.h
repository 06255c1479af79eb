#pragma once

#include "members/export/export_table.h"

#include <QIODevice>

namespace members::exporting {

// Writes the table as comma-separated text in UTF-8 after a byte-order mark
// (which spreadsheet programs need to read it as UTF-8), rows ended by CR LF;
// a field holding a comma, a quote, a line break or a leading or trailing
// blank is quoted, its quotes doubled. Returns the number of rows written;
// false in ok when the device refused to write.
int writeCsv(QIODevice& device, const QList<Column>& columns, const RowSource& rows, bool& ok);

} // namespace members::exporting
