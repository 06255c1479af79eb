#include "db/backup.h"

#include "base/errors.h"
#include "db/connection.h"
#include "db/copy_database.h"
#include "db/database_target.h"
#include "db/sqlite_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>
#include <algorithm>
#include <sqlite3.h>

namespace db {
namespace {

const QString kPrefix = QStringLiteral("backup-");
const QString kSuffix = QStringLiteral(".sqlite");
const QString kPartSuffix = QStringLiteral(".part");
const char* const kStampFormat = "yyyy-MM-dd_HHmmss";
constexpr int kDefaultKeep = 14;
constexpr int kPagesPerStep = 256;

// "backup-2026-12-10_093000.sqlite", or with "-2" and on when two copies
// fall in one second.
const QRegularExpression& namePattern() {
    static const QRegularExpression pattern(
        QStringLiteral(R"(^backup-(\d{4}-\d{2}-\d{2}_\d{6})(?:-(\d+))?\.sqlite$)"));
    return pattern;
}

QDateTime takenAt(const QString& fileName) {
    const QRegularExpressionMatch match = namePattern().match(fileName);
    return match.hasMatch() ? QDateTime::fromString(match.captured(1), QLatin1String(kStampFormat))
                            : QDateTime();
}

// Orders copies by their time, then by the number of a second copy in one
// second.
std::pair<QDateTime, int> order(const QFileInfo& file) {
    const QRegularExpressionMatch match = namePattern().match(file.fileName());
    return {takenAt(file.fileName()), match.captured(2).isEmpty() ? 1 : match.captured(2).toInt()};
}

// The finished copies, newest first.
QFileInfoList backupFiles() {
    QFileInfoList files;
    const QFileInfoList all =
        QDir(backupFolder()).entryInfoList({kPrefix + '*' + kSuffix}, QDir::Files);
    for (const QFileInfo& file : all) {
        if (takenAt(file.fileName()).isValid())
            files.append(file);
    }
    std::sort(files.begin(), files.end(),
              [](const QFileInfo& a, const QFileInfo& b) { return order(a) > order(b); });
    return files;
}

// A new name after every copy there is, also when older copies of the same
// second were removed.
QString newBackupPath(const QDir& folder) {
    const QString stamp = QDateTime::currentDateTime().toString(QLatin1String(kStampFormat));
    int last = 0;
    for (const QFileInfo& file : backupFiles()) {
        const QRegularExpressionMatch match = namePattern().match(file.fileName());
        if (match.captured(1) == stamp)
            last = qMax(last, order(file).second);
    }
    const QString counter = last == 0 ? QString() : '-' + QString::number(last + 1);
    return folder.filePath(kPrefix + stamp + counter + kSuffix);
}

// Copies the database into target. The source holds one read transaction
// for the whole copy, so the copy is the state of one moment however long
// it takes and whoever writes meanwhile.
void copySqliteFile(const QString& target) {
    SqliteFile source(databasePath(), SqliteFile::Mode::ReadWrite);
    source.exec(QStringLiteral("BEGIN; SELECT count(*) FROM sqlite_master;"));
    SqliteFile copy(target, SqliteFile::Mode::Create);
    sqlite3_backup* backup = sqlite3_backup_init(copy.handle(), "main", source.handle(), "main");
    if (backup == nullptr)
        copy.fail(sqlite3_errcode(copy.handle()));
    int code = SQLITE_OK;
    while ((code = sqlite3_backup_step(backup, kPagesPerStep)) == SQLITE_OK)
        ;
    sqlite3_backup_finish(backup);
    if (code != SQLITE_DONE)
        copy.fail(code);
    source.exec(QStringLiteral("COMMIT"));
    // The copy is a single file: no write-ahead log beside it.
    copy.exec(QStringLiteral("PRAGMA journal_mode=DELETE"));
}

} // namespace

QString backupFolder() {
    return QDir(dataFolder()).filePath(QStringLiteral("backups"));
}

int backupsToKeep() {
    bool ok = false;
    const int keep =
        QSettings(settingsFilePath(), QSettings::IniFormat).value("Backup/Keep").toInt(&ok);
    return ok && keep >= 0 ? keep : kDefaultKeep;
}

QString takeBackup() {
    const bool server = engine() == Engine::Postgresql;
    if (!server && !QFileInfo(databasePath()).isFile())
        throw DatabaseError(QStringLiteral("無法備份: 找不到資料庫檔案 %1")
                                .arg(QFileInfo(databasePath()).absoluteFilePath()));
    const QDir folder(backupFolder());
    if (!QDir().mkpath(folder.path()))
        throw DatabaseError(QStringLiteral("無法備份: 不能建立資料夾 %1")
                                .arg(QDir::toNativeSeparators(folder.path())));
    const QString path = newBackupPath(folder);
    const QString part =
        path + '.' + QString::number(QCoreApplication::applicationPid()) + kPartSuffix;
    try {
        // A server register is kept as an SQLite copy, which the restore
        // window lists and --copy-database can bring back.
        if (server) {
            DatabaseTarget copy;
            copy.path = part;
            copyDatabase(databaseTarget(), copy);
        } else {
            copySqliteFile(part);
        }
    } catch (const DatabaseError& error) {
        QFile::remove(part);
        QFile::remove(part + QStringLiteral("-journal"));
        throw DatabaseError(QStringLiteral("無法備份資料庫: %1").arg(error.text()));
    }
    if (!QFile::rename(part, path)) {
        QFile::remove(part);
        throw DatabaseError(
            QStringLiteral("無法備份: 不能寫入 %1").arg(QDir::toNativeSeparators(path)));
    }
    pruneBackups(backupsToKeep());
    return path;
}

// A server keeps its own backups (pg_dump, its administrator's schedule).
QString takeDailyBackup() {
    if (engine() != Engine::Sqlite || backupsToKeep() == 0 || !QFileInfo(databasePath()).isFile())
        return {};
    const QDate today = QDate::currentDate();
    for (const QFileInfo& file : backupFiles()) {
        if (takenAt(file.fileName()).date() == today)
            return {};
    }
    return takeBackup();
}

QList<BackupInfo> listBackups() {
    QList<BackupInfo> backups;
    for (const QFileInfo& file : backupFiles()) {
        BackupInfo info{file.absoluteFilePath(), takenAt(file.fileName()), -1};
        try {
            SqliteFile copy(info.path, SqliteFile::Mode::ReadOnly);
            info.members =
                copy.column(QStringLiteral("SELECT count(*) FROM cust")).value(0).toLongLong();
        } catch (const DatabaseError&) {
            // Listed all the same; restoring it is refused by its check.
        }
        backups.append(info);
    }
    return backups;
}

void pruneBackups(int keep) {
    const QFileInfoList files = backupFiles();
    for (qsizetype i = qMax(keep, 1); i < files.size(); ++i)
        QFile::remove(files.at(i).absoluteFilePath());
    // Copies that a stopped program left half-written; a running one takes
    // seconds, not an hour.
    const QDateTime stale = QDateTime::currentDateTime().addSecs(-3600);
    for (const QFileInfo& part :
         QDir(backupFolder()).entryInfoList({kPrefix + '*' + kPartSuffix + '*'}, QDir::Files)) {
        if (part.lastModified() < stale)
            QFile::remove(part.absoluteFilePath());
    }
}

} // namespace db
