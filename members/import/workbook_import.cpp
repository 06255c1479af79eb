#include "members/import/workbook_import.h"

#include "members/import/member_import.h"

namespace members {

int firstDataRow(WorkbookImportPath path) {
    return path == WorkbookImportPath::Window ? 2 : 3;
}

int importWorkbookRows(WorkbookReader& reader, WorkbookImportPath path, bool deleteOld,
                       const std::function<void(int nextRow)>& progress) {
    ImportChoice choice;
    choice.deleteOld = deleteOld;
    const ImportResult result = importMembers(reader, path, choice, progress);
    return result.counts.added;
}

} // namespace members
