#pragma once

#include "members/export/export_table.h"
#include "members/member_search.h"

// The layout the workbook import reads, for writing members that import back
// as they are: columns 1 to 22 under the sample workbook's headings, in one
// heading row (see members/import/workbook_import.h).
namespace members::exporting {

// The 22 columns: 1-19 the imported ones, 20 and 21 empty (the import does
// not read them), 22 the active-member mark.
QList<Column> importLayoutColumns();

// The statement giving those columns, in that order: every member, active
// or not, in number order.
search::Statement importLayoutStatement();
// The same for the members a search clause finds, in its order.
search::Statement importLayoutStatement(const search::Clause& clause, bool activeMembers);

// Writes the statement's rows to path in the import layout; the number of
// members written. Throws as writeTable and db::run do.
int exportImportLayout(const QString& path, const search::Statement& statement);

} // namespace members::exporting
