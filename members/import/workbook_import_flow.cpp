#include "members/import/workbook_import_flow.h"

#include "app/application.h"
#include "app/errors.h"
#include "app/message_table.h"
#include "app/prompt.h"
#include "db/backup.h"
#include "members/import/import_hooks.h"
#include "members/import/import_progress.h"

#include <QWidget>

namespace members {

QString workbookFilter(WorkbookImportPath path) {
    if (path == WorkbookImportPath::Window)
        return QStringLiteral("Excel CSV file(*.xls *.xlsx *.csv);;All Files(*.*)");
    return QStringLiteral("*.xls *.xlsx *.csv");
}

void importMembersFromWorkbook(QWidget* owner, WorkbookImportPath path) {
    const QString file = chooseImportFile(owner, workbookFilter(path));
    if (file.isEmpty())
        return;
    const std::unique_ptr<WorkbookReader> reader = openWorkbook(file);
    const bool window = path == WorkbookImportPath::Window;
    const bool deleteOld =
        window && Prompt::current().question(MessageTable::current().CaptionHint,
                                             QStringLiteral("是否刪除舊資料﹖"), Prompt::No);
    try {
        if (deleteOld)
            db::takeBackup();
    } catch (const DatabaseError& error) {
        Prompt::current().message(Prompt::Icon::Warning, Application::title(),
                                  QStringLiteral("刪除舊資料前無法備份資料庫﹐這次導入已取消﹐"
                                                 "資料保持原狀。\n%1")
                                      .arg(error.text()));
        return;
    }
    bool stored = false;
    {
        ImportProgress progress(owner, firstDataRow(path), reader->lastRowHint());
        try {
            importWorkbookRows(*reader, path, deleteOld, [&](int nextRow) {
                if (window)
                    owner->setWindowTitle(QString::number(nextRow));
                progress.update(nextRow);
            });
            stored = true;
        } catch (const std::exception&) {
            // Rolled back; the reason is not shown, only that nothing was stored.
        }
    }
    if (stored)
        Prompt::current().message(Prompt::Icon::Information, Application::title(),
                                  QStringLiteral("導入成功!"));
    else
        Prompt::current().message(Prompt::Icon::Warning, Application::title(),
                                  QStringLiteral("導入失敗"));
}

} // namespace members
