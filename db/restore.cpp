// Checking copies of the database and putting one back in its place.
#include "base/errors.h"
#include "db/backup.h"
#include "db/connection.h"
#include "db/database_files.h"
#include "db/database_target.h"
#include "db/sqlite_file.h"

#include <QCoreApplication>
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
    if ((code & 0xff) == SQLITE_OK)
        return QStringLiteral("檢查發現 %1 處資料損壞").arg(problems);
    if ((code & 0xff) == SQLITE_CANTOPEN || (code & 0xff) == SQLITE_IOERR)
        return QStringLiteral("檔案無法讀取");
    return sqliteProblem(code);
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

// Renames each existing file to its target; when one fails, puts back the
// ones already renamed and returns false.
bool renameAll(const QStringList& files, const QStringList& targets) {
    for (qsizetype i = 0; i < files.size(); ++i) {
        if (!QFileInfo::exists(files.at(i)) || QFile::rename(files.at(i), targets.at(i)))
            continue;
        for (qsizetype done = 0; done < i; ++done) {
            if (QFileInfo::exists(targets.at(done)))
                QFile::rename(targets.at(done), files.at(done));
        }
        return false;
    }
    return true;
}

void removeAll(const QStringList& files) {
    for (const QString& file : files)
        QFile::remove(file);
}

// Replaces a damaged database with file. The copy is made whole beside the
// database first; only then are the damaged database and its log moved into
// the backups folder (out of the list of backups, so that nothing of them
// is lost) and the copy renamed into its place. A failure on the way leaves
// the damaged files where they were. Returns where they went.
QString replaceDamaged(const QString& file) {
    const QDir folder(backupFolder());
    if (!QDir().mkpath(folder.path()))
        throw DatabaseError(QStringLiteral("無法建立資料夾 %1﹐沒有還原﹐資料庫保持原狀。")
                                .arg(shown(folder.path())));
    const QString fresh =
        databasePath() + QStringLiteral(".restoring-%1").arg(QCoreApplication::applicationPid());
    removeAll(databaseFiles(fresh));
    try {
        SqliteFile source(file, SqliteFile::Mode::ReadOnly);
        SqliteFile copy(fresh, SqliteFile::Mode::Create);
        copy.copyFrom(source);
    } catch (const DatabaseError& error) {
        removeAll(databaseFiles(fresh));
        throw DatabaseError(
            QStringLiteral("無法複製備份﹐沒有還原﹐資料庫保持原狀。\n%1").arg(error.text()));
    }
    const QString aside = folder.filePath(
        QStringLiteral("damaged-%1.sqlite")
            .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd_HHmmss"))));
    const QStringList files = databaseFiles(databasePath());
    if (!renameAll(files, databaseFiles(aside))) {
        removeAll(databaseFiles(fresh));
        throw DatabaseError(QStringLiteral("無法把損壞的資料庫移到 %1﹐沒有還原﹐資料庫保持原狀。")
                                .arg(shown(folder.path())));
    }
    if (!QFile::rename(fresh, databasePath())) {
        renameAll(databaseFiles(aside), files);
        removeAll(databaseFiles(fresh));
        throw DatabaseError(QStringLiteral("無法把備份放到 %1﹐沒有還原﹐資料庫保持原狀。")
                                .arg(shown(databasePath())));
    }
    return aside;
}

// Puts the database back into write-ahead logging; when that fails, the
// next connection does it (the shared connection sets it on opening).
void backToTheLog(SqliteFile& database) {
    try {
        database.exec(QStringLiteral("PRAGMA journal_mode=WAL"));
    } catch (const DatabaseError&) {
    }
}

// Copies file over a sound database in one write transaction: a failure
// leaves the database as it was. The connection takes the database for
// itself (exclusive locking): when another program has it open, SQLite
// refuses and nothing is written. The write-ahead log is set aside for the
// copy, which may then bring its own page size.
void copyIn(const QString& file) {
    SqliteFile source(file, SqliteFile::Mode::ReadOnly);
    SqliteFile target(databasePath(), SqliteFile::Mode::ReadWrite, 0);
    try {
        target.exec(QStringLiteral("PRAGMA locking_mode=EXCLUSIVE; SELECT count(*) FROM "
                                   "sqlite_master; PRAGMA journal_mode=DELETE;"));
    } catch (const DatabaseError& error) {
        if (error.text() == busyText())
            refuseInUse(QString());
        throw DatabaseError(QStringLiteral("無法開啟資料庫﹐沒有還原。\n%1").arg(error.text()));
    }
    try {
        target.copyFrom(source);
    } catch (const DatabaseError& error) {
        backToTheLog(target);
        throw DatabaseError(
            QStringLiteral("無法複製備份﹐沒有還原﹐資料庫保持原狀。\n%1").arg(error.text()));
    }
    backToTheLog(target);
}

// True when file starts as every SQLite database does.
bool looksLikeDatabase(const QString& file) {
    QFile opened(file);
    return opened.open(QIODevice::ReadOnly) && opened.read(16) == QByteArray("SQLite format 3", 16);
}

} // namespace

void checkBackupFile(const QString& file) {
    if (!QFileInfo(file).isFile())
        throw DatabaseError(QStringLiteral("找不到備份檔案 %1").arg(shown(file)));
    if (isDatabaseFile(file))
        throw DatabaseError(
            QStringLiteral("%1 是資料庫本身﹐不是備份﹐不能用來還原。\n"
                           "請選擇資料夾 %2 裡的備份檔案（backup-日期_時間.sqlite）。")
                .arg(shown(file), shown(backupFolder())));
    if (!looksLikeDatabase(file))
        throw DatabaseError(QStringLiteral("檔案 %1 不是備份檔案﹐不能還原"
                                           "（這不是資料庫檔案﹐或檔案的開頭已損壞）。")
                                .arg(shown(file)));
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
    if (!databaseProblem().isEmpty())
        return replaceDamaged(file);
    const QString former = takeBackup({file});
    copyIn(file);
    return former;
}

} // namespace db
