#include "members/import/workbook_import_flow.h"

#include "base/data_changes.h"
#include "base/errors.h"
#include "base/message_table.h"
#include "base/program_title.h"
#include "base/prompt.h"
#include "db/backup.h"
#include "members/import/import_hooks.h"
#include "members/import/import_preview_window.h"
#include "members/import/import_progress.h"
#include "members/import/member_import.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QWidget>

namespace members {
namespace {

constexpr int kCaptionMilliseconds = 100;

// Shows the import window's preview of file; the choice it was confirmed
// with, or nullopt when cancelled. preview keeps what it showed.
std::optional<ImportChoice> confirmedChoice(QWidget* owner, const QString& file, bool deleteOld,
                                            ImportPreview& preview) {
    TFrmImportPreview window(
        owner,
        [&](ImportMode mode) {
            const std::unique_ptr<WorkbookReader> reader = openWorkbook(file);
            return previewWorkbook(*reader, WorkbookImportPath::Window, mode, deleteOld);
        },
        deleteOld);
    window.exec();
    if (!window.confirmed())
        return std::nullopt;
    preview = window.preview();
    ImportChoice choice;
    choice.mode = preview.mode;
    choice.deleteOld = deleteOld;
    choice.file = QFileInfo(file).absoluteFilePath();
    return choice;
}

} // namespace

QString workbookFilter(WorkbookImportPath path) {
    if (path == WorkbookImportPath::Window)
        return QStringLiteral("Excel 或 CSV 檔案 (*.xls *.xlsx *.csv);;所有檔案 (*)");
    return QStringLiteral("Excel 或 CSV 檔案 (*.xls *.xlsx *.csv)");
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
    ImportPreview preview;
    ImportChoice choice;
    choice.deleteOld = deleteOld;
    choice.file = QFileInfo(file).absoluteFilePath();
    if (window) {
        const std::optional<ImportChoice> confirmed =
            confirmedChoice(owner, file, deleteOld, preview);
        if (!confirmed)
            return; // cancelled: nothing changed
        choice = *confirmed;
        choice.preview = &preview;
    }
    try {
        if (deleteOld)
            choice.backupPath = db::takeBackup();
    } catch (const DatabaseError& error) {
        Prompt::current().message(Prompt::Icon::Warning, programTitle(),
                                  QStringLiteral("刪除舊資料前無法備份資料庫﹐這次導入已取消﹐"
                                                 "資料保持原狀。\n%1")
                                      .arg(error.text()));
        return;
    }
    QString failure;
    ImportResult result;
    const QString caption = owner->windowTitle();
    {
        ImportProgress progress(owner, firstDataRow(path), reader->lastRowHint());
        // The caption follows the rows a few times a second, as the progress
        // does: a window manager redraws every change of it.
        QElapsedTimer sinceCaption;
        sinceCaption.start();
        int lastRow = 0;
        try {
            result = importMembers(*reader, path, choice, [&](int nextRow) {
                lastRow = nextRow;
                if (window && sinceCaption.elapsed() >= kCaptionMilliseconds) {
                    owner->setWindowTitle(QString::number(nextRow));
                    sinceCaption.restart();
                }
                progress.update(nextRow);
            });
        } catch (const LunmarkError& error) {
            failure = error.text(); // rolled back
        } catch (const std::exception& error) {
            failure = QString::fromLocal8Bit(error.what());
        }
        if (window && lastRow > 0)
            owner->setWindowTitle(QString::number(lastRow));
    }
    if (failure.isNull()) {
        DataChanges::instance().announce();
        Prompt::current().message(Prompt::Icon::Information, programTitle(),
                                  importResultText(result));
    } else {
        Prompt::current().message(Prompt::Icon::Warning, programTitle(),
                                  importFailureText(failure));
    }
    // The caption showed the rows while they were read; the window's own
    // caption comes back once the user has read the outcome.
    owner->setWindowTitle(caption);
}

QString importSuccessText(int imported) {
    return QStringLiteral("導入成功﹕共 %1 筆").arg(imported);
}

QString importFailureText(const QString& reason) {
    return QStringLiteral("導入失敗\n%1").arg(reason);
}

} // namespace members
