#include "app/database_start.h"

#include "app/application.h"
#include "app/restore_window.h"
#include "base/errors.h"
#include "base/prompt.h"
#include "db/backup.h"
#include "db/connection.h"
#include "db/database_target.h"
#include "db/history_retention.h"

#include <QDir>

namespace {

QString damagedText(const QString& problem) {
    return QStringLiteral("資料庫檔案 %1 已損壞﹐不能使用。\n（%2）\n\n")
        .arg(QDir::toNativeSeparators(QFileInfo(db::databasePath()).absoluteFilePath()), problem);
}

bool offerNewestBackup(const QString& problem) {
    const QList<db::BackupInfo> backups = db::listBackups();
    if (backups.isEmpty()) {
        reportError(damagedText(problem) +
                    QStringLiteral("資料夾 %1 裡沒有備份可以還原。程式結束﹐檔案保持原狀。")
                        .arg(QDir::toNativeSeparators(db::backupFolder())));
        return false;
    }
    return confirmAndRestore(
        backups.first().path,
        restoreQuestion(backups.first().path, damagedText(problem),
                        QStringLiteral("損壞的檔案會移到 %1 保存。")
                            .arg(QDir::toNativeSeparators(db::backupFolder()))));
}

} // namespace

// A server database: reachable, and holding the register's tables.
bool checkServerAtStart() {
    try {
        if (db::hasRegisterTables()) {
            // A server has no daily backup: the expired changes go at start.
            db::history::pruneRecords(db::history::keepDays());
            return true;
        }
        reportError(
            QStringLiteral("資料庫 %1 裡還沒有會員資料庫的資料表。\n"
                           "請先在命令列執行 lunmark --create-database 建立資料表"
                           "（或用 lunmark --copy-database 複製現有的資料庫）﹐再啟動程式。")
                .arg(db::describeTarget(db::databaseTarget())));
    } catch (const LunmarkError& error) {
        reportError(error.text());
    }
    return false;
}

bool checkDatabaseAtStart() {
    if (db::engine() != db::Engine::Sqlite)
        return checkServerAtStart();
    const QString problem = db::databaseProblem();
    try {
        if (!problem.isEmpty() && !offerNewestBackup(problem))
            return false;
        db::takeDailyBackup();
    } catch (const LunmarkError& error) {
        reportError(error.text());
        if (!problem.isEmpty())
            return false;
    }
    return true;
}

int restoreFromShell(const QString& backupFile, std::FILE* input, std::FILE* output) {
    try {
        db::checkBackupFile(backupFile);
        std::fprintf(output, "%s (y/N) ",
                     qPrintable(restoreQuestion(QFileInfo(backupFile).absoluteFilePath())));
        std::fflush(output);
        char answer[64] = {};
        if (std::fgets(answer, sizeof answer, input) == nullptr)
            answer[0] = '\0';
        const QString word = QString::fromLocal8Bit(answer).trimmed();
        if (word.compare(QLatin1String("y"), Qt::CaseInsensitive) != 0 &&
            word.compare(QLatin1String("yes"), Qt::CaseInsensitive) != 0 &&
            word != QStringLiteral("是")) {
            std::fprintf(output, "%s\n", qPrintable(QStringLiteral("沒有還原﹐資料庫保持原狀。")));
            return 1;
        }
        const QString former = db::restoreBackup(backupFile);
        std::fprintf(output, "%s\n",
                     qPrintable(QStringLiteral("還原完成。還原前的資料已保存在 %1")
                                    .arg(QDir::toNativeSeparators(former))));
        return 0;
    } catch (const LunmarkError& error) {
        std::fprintf(stderr, "lunmark: %s\n", qPrintable(error.text()));
        return 1;
    }
}
