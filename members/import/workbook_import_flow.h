#pragma once

#include "members/import/workbook_import.h"

class QWidget;

namespace members {

// The file choices of the import window's and the menu entry's dialogs.
QString workbookFilter(WorkbookImportPath path);

// Imports members from a workbook the user picks, as the import window
// (path Window) or the main window's menu entry (path Menu) does: the file
// dialog (cancelling it changes nothing), the question whether to delete the
// old members (window only), the rows in one transaction with owner's
// caption showing the next row number (window only) and a progress dialog
// for large sheets, then importSuccessText (and the open windows told to
// reload) or, after rolling everything back, importFailureText of the
// reason. The caption changes a few times a second at most and shows the
// last row's next number until the outcome has been read; then owner's own
// caption comes back. A file that cannot be read is reported by the general
// error report (FileError thrown) before anything changes.
void importMembersFromWorkbook(QWidget* owner, WorkbookImportPath path);

// "導入成功﹕共 N 筆" for N members imported.
QString importSuccessText(int imported);

// "導入失敗" and, on the next line, what failed (such as
// 第 7 列 I 欄「1976/13/40」不是有效的日期).
QString importFailureText(const QString& reason);

} // namespace members
