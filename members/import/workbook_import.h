#pragma once

#include "formats/workbook_reader.h"

#include <QStringList>
#include <functional>

// Storing the members of a workbook's first sheet in Cust, one member a row.
namespace members {

// The two ways members come from a workbook.
enum class WorkbookImportPath {
    // The import window: data from row 2, the active-member column 22 read,
    // and all members may be deleted first.
    Window,
    // The main window's menu entry: data from row 3, column 22 not read,
    // each member's salutation added to the salutation list when absent.
    Menu,
};

// The first data row of the path's sheets.
int firstDataRow(WorkbookImportPath path);

// Imports the members of reader's sheet in one transaction: deletes every
// member first when deleteOld, then stores one member for each row from the
// path's first data row up to the first row whose column 1 is empty. Column
// 1 (the member number) is taken as it is, the others trimmed; column 9 must
// be empty or a date, column 22 empty or yes/no (empty leaves the column to
// its default). After each member progress gets the number of the next row.
// Any error rolls everything back, the delete included, and is thrown on.
// Returns the number of members stored. (importMembers with mode Add.)
int importWorkbookRows(WorkbookReader& reader, WorkbookImportPath path, bool deleteOld,
                       const std::function<void(int nextRow)>& progress = {});

} // namespace members
