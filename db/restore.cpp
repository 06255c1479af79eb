// Checking copies of the database and putting one back in its place.
#include "base/errors.h"
#include "db/backup.h"
#include "db/connection.h"
#include "db/database_files.h"
#include "db/database_target.h"
#include "db/sqlite_file.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <optional>
#include <sqlite3.h>

namespace db {
namespace {

QString shown(const QString& path) {
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

// What a check found, in plain words: code is SQLite's result when the check
// could not run, problems the number of lines it reported otherwise.
QString plainProblem(int code, qsizetype problems) {
    switch (code & 0xff) {
    case SQLITE_OK:
        return QStringLiteral("檢查發現 %1 處資料損壞").arg(problems);
    case SQLITE_NOTADB:
        return QStringLiteral("這不是資料庫檔案﹐或檔案的開頭已被破壞");
    case SQLITE_CORRUPT:
        return QStringLiteral("檔案的內容已被破壞");
    default:
        return QStringLiteral("檔案無法讀取");
    }
}

// Runs PRAGMA integrity_check or quick_check on a file; empty when sound.
QString checkFile(const QString& path, SqliteFile::Mode mode, const QString& pragma) {
    std::optional<SqliteFile> file;
    try {
        file.emplace(path, mode);
        const QStringList lines = file->column(pragma);
        if (lines.value(0) == QLatin1String("ok"))
            return {};
        return plainProblem(SQLITE_OK, lines.size());
    } catch (const DatabaseError& error) {
        if (error.text() == busyText())
            return {}; // held by another program, which is not damage
        return plainProblem(file ? sqlite3_errcode(file->handle()) : SQLITE_CANTOPEN, 0);
    }
}

QSet<QString> columnsOf(SqliteFile& file, const QString& table) {
    QSet<QString> columns;
    const QStringList names =
        file.column(QStringLiteral("SELECT lower(name) FROM pragma_table_info('%1')").arg(table));
    for (const QString& name : names)
        columns.insert(name);
    return columns;
}

// The first table or column of a new database that file lacks; empty when
// it has them all.
QString missingFromSchema(SqliteFile& file) {
    SqliteFile reference(QStringLiteral(":memory:"), SqliteFile::Mode::Create);
    reference.exec(schemaSql());
    const QStringList tables = reference.column(QStringLiteral(
        "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite_%'"));
    for (const QString& table : tables) {
        const QSet<QString> present = columnsOf(file, table);
        if (present.isEmpty())
            return QStringLiteral("資料表 %1").arg(table);
        for (const QString& column : columnsOf(reference, table)) {
            if (!present.contains(column))
                return QStringLiteral("資料表 %1 的欄位 %2").arg(table, column);
        }
    }
    return {};
}

[[noreturn]] void refuseInUse(const QString& who) {
    throw DatabaseError(QStringLiteral("另一個程式%1正在使用資料庫﹐不能還原。\n"
                                       "請先關閉其他使用這個資料庫的程式﹐再還原備份。")
                            .arg(who));
}

void refuseWhileOthersUseIt() {
    const QList<qint64> others = otherProgramsUsing(databasePath());
    if (others.isEmpty())
        return;
    QStringList pids;
    for (qint64 pid : others)
        pids.append(QString::number(pid));
    refuseInUse(QStringLiteral("（程序編號 %1）").arg(pids.join(QStringLiteral("、"))));
}

// Moves a damaged database and its log into the backups folder, out of the
// list of backups, so that nothing of it is lost.
QString moveAside() {
    const QDir folder(backupFolder());
    QDir().mkpath(folder.path());
    const QString target = folder.filePath(
        QStringLiteral("damaged-%1.sqlite")
            .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd_HHmmss"))));
    const QStringList files = databaseFiles(databasePath());
    const QStringList targets = databaseFiles(target);
    for (qsizetype i = 0; i < files.size(); ++i) {
        if (QFileInfo::exists(files.at(i)) && !QFile::rename(files.at(i), targets.at(i)))
            throw DatabaseError(
                QStringLiteral("無法把損壞的資料庫移到 %1﹐沒有還原。").arg(shown(folder.path())));
    }
    return target;
}

// Copies file over the database. The connection takes the database for
// itself (exclusive locking): when another program has it open, SQLite
// refuses and nothing is written.
void copyIn(const QString& file) {
    SqliteFile source(file, SqliteFile::Mode::ReadOnly);
    SqliteFile target(databasePath(), SqliteFile::Mode::Create, 0);
    try {
        target.exec(
            QStringLiteral("PRAGMA locking_mode=EXCLUSIVE; SELECT count(*) FROM sqlite_master;"));
    } catch (const DatabaseError& error) {
        if (error.text() == busyText())
            refuseInUse(QString());
        throw;
    }
    sqlite3_backup* backup = sqlite3_backup_init(target.handle(), "main", source.handle(), "main");
    if (backup == nullptr)
        target.fail(sqlite3_errcode(target.handle()));
    const int code = sqlite3_backup_step(backup, -1);
    sqlite3_backup_finish(backup);
    if (code != SQLITE_DONE)
        target.fail(code);
}

} // namespace

void checkBackupFile(const QString& file) {
    if (!QFileInfo(file).isFile())
        throw DatabaseError(QStringLiteral("找不到備份檔案 %1").arg(shown(file)));
    const QString problem =
        checkFile(file, SqliteFile::Mode::ReadOnly, QStringLiteral("PRAGMA integrity_check"));
    if (!problem.isEmpty())
        throw DatabaseError(
            QStringLiteral("備份檔案 %1 已損壞﹐不能還原（%2）。").arg(shown(file), problem));
    SqliteFile copy(file, SqliteFile::Mode::ReadOnly);
    const QString missing = missingFromSchema(copy);
    if (!missing.isEmpty())
        throw DatabaseError(
            QStringLiteral("備份檔案 %1 不是本程式的會員資料庫（缺少%2）﹐不能還原。")
                .arg(shown(file), missing));
}

QString databaseProblem() {
    if (engine() != Engine::Sqlite || !QFileInfo(databasePath()).isFile())
        return {};
    return checkFile(databasePath(), SqliteFile::Mode::ReadWrite,
                     QStringLiteral("PRAGMA quick_check"));
}

QString restoreRefusal() {
    if (engine() == Engine::Sqlite)
        return {};
    return QStringLiteral("資料庫在伺服器上﹐不能在這裡還原備份。\n"
                          "要放回一個備份﹐請由資料庫管理者建立一個新的空白資料庫﹐"
                          "再用 lunmark --copy-database 備份檔 postgresql://… 複製進去。");
}

QString restoreBackup(const QString& file) {
    if (const QString refusal = restoreRefusal(); !refusal.isEmpty())
        throw DatabaseError(refusal);
    checkBackupFile(file);
    closeConnection();
    refuseWhileOthersUseIt();
    const QString former = databaseProblem().isEmpty() ? takeBackup() : moveAside();
    copyIn(file);
    return former;
}

} // namespace db
