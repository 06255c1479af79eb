#pragma once

#include "members/import/import_log.h"
#include "members/import/import_plan.h"

// An import of a workbook's members that matches them with the register's:
// rows whose number is new are inserted, the others added, updated or left
// out as the mode says; the import is recorded for taking it back.
namespace members {

struct ImportChoice {
    ImportMode mode = ImportMode::Add;
    bool deleteOld = false;
    QString file;       // recorded as the import's file
    QString backupPath; // the copy taken before deleting the old members
    // What the user was shown: on update, a member changed since is not
    // overwritten but named in ImportResult::changedSince.
    const ImportPreview* preview = nullptr;
};

struct ImportResult {
    ImportCounts counts;
    QStringList changedSince; // 第 4 列「A01」王小明, one a member left as it was
};

// Imports the rows of reader's sheet in one transaction, as
// importWorkbookRows() describes, sorted by previewWorkbook()'s verdicts: a
// row in error stops the import (everything rolled back, the reason thrown
// on); a number the file had before is inserted on add and left out
// otherwise; an existing number is added, updated (empty cells keep the
// stored values) or left out.
ImportResult importMembers(WorkbookReader& reader, WorkbookImportPath path,
                           const ImportChoice& choice,
                           const std::function<void(int nextRow)>& progress = {});

// The outcome in words: 導入成功﹕共 N 筆 and, when any, how many were
// updated and left out, and the members changed since the preview.
QString importResultText(const ImportResult& result);

} // namespace members
