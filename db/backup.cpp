#include "db/backup.h"

#include "base/errors.h"
#include "db/connection.h"
#include "db/copy_database.h"
#include "db/database_target.h"
#include "db/history_retention.h"
#include "db/sqlite_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>
#include <algorithm>
#include <fcntl.h>
#include <sys/file.h>
#include <tuple>
#include <unistd.h>

namespace db {
namespace {

const QString kPrefix = QStringLiteral("backup-");
const QString kSuffix = QStringLiteral(".sqlite");
const QString kPartSuffix = QStringLiteral(".part");
const char* const kStampFormat = "yyyy-MM-dd_HHmmss";
constexpr int kDefaultKeep = 14;
constexpr int kPagesPerStep = 256;
// How far a copy's time may lie ahead of the clock (the resolution of file
// times) before it counts as taken with the clock set ahead.
constexpr int kClockSlackSeconds = 2;

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

// A finished copy as the folder shows it.
struct Copy {
    QFileInfo file;
    QDateTime taken;   // the time in its name
    int number = 1;    // of a second copy in one second
    QDateTime written; // the file's modification time
};

// Orders copies by the time in their names, then by the number of a second
// copy in one second, then by when the file was written.
bool newer(const Copy& a, const Copy& b) {
    return std::tie(a.taken, a.number, a.written) > std::tie(b.taken, b.number, b.written);
}

// A copy dated after now was taken while the clock was set ahead: it is
// kept, and it does not count among the newest.
bool fromTheFuture(const Copy& copy, const QDateTime& now) {
    const QDateTime latest = now.addSecs(kClockSlackSeconds);
    return copy.taken > latest || copy.written > latest;
}

// The finished copies, newest first.
QList<Copy> backupCopies() {
    QList<Copy> copies;
    const QFileInfoList all =
        QDir(backupFolder()).entryInfoList({kPrefix + '*' + kSuffix}, QDir::Files);
    for (const QFileInfo& file : all) {
        const QRegularExpressionMatch match = namePattern().match(file.fileName());
        const QDateTime taken = takenAt(file.fileName());
        if (!taken.isValid())
            continue;
        copies.append({file, taken, match.captured(2).isEmpty() ? 1 : match.captured(2).toInt(),
                       file.lastModified()});
    }
    std::sort(copies.begin(), copies.end(), newer);
    return copies;
}

bool sameFile(const QFileInfo& file, const QStringList& paths) {
    const QString canonical = file.canonicalFilePath();
    return std::any_of(paths.cbegin(), paths.cend(), [&](const QString& path) {
        return QFileInfo(path).canonicalFilePath() == canonical;
    });
}

// The copy this program took last, held with a shared lock until it takes
// another or ends: it may be the copy taken before a change that is still
// running (an import replacing every member), which no program's pruning
// may remove meanwhile.
int& heldCopy() {
    static int descriptor = -1;
    return descriptor;
}

void hold(const QString& path) {
    const int descriptor = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (descriptor >= 0 && ::flock(descriptor, LOCK_SH) != 0) {
        ::close(descriptor);
        return;
    }
    if (heldCopy() >= 0)
        ::close(heldCopy());
    heldCopy() = descriptor;
}

// Removes a copy unless a running program holds it. The removal happens
// under an exclusive lock, so a program cannot take hold of it meanwhile.
void removeUnlessHeld(const QString& path) {
    const int descriptor = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0)
        return;
    if (::flock(descriptor, LOCK_EX | LOCK_NB) == 0)
        QFile::remove(path);
    ::close(descriptor);
}

// A new name after every copy there is, also when older copies of the same
// second were removed.
QString newBackupPath(const QDir& folder) {
    const QString stamp = QDateTime::currentDateTime().toString(QLatin1String(kStampFormat));
    int last = 0;
    for (const Copy& copy : backupCopies()) {
        if (copy.taken.toString(QLatin1String(kStampFormat)) == stamp)
            last = qMax(last, copy.number);
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
    copy.copyFrom(source, kPagesPerStep);
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

QString takeBackup(const QStringList& alsoKeep) {
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
    // Held from before it is among the backups, so that no other program's
    // pruning sees it unheld.
    hold(part);
    if (!QFile::rename(part, path)) {
        QFile::remove(part);
        throw DatabaseError(
            QStringLiteral("無法備份: 不能寫入 %1").arg(QDir::toNativeSeparators(path)));
    }
    pruneBackups(backupsToKeep(), QStringList(alsoKeep) << path);
    return path;
}

// A server keeps its own backups (pg_dump, its administrator's schedule).
// The change history drops its expired records once the day's copy holds them.
QString takeDailyBackup() {
    if (engine() != Engine::Sqlite || backupsToKeep() == 0 || !QFileInfo(databasePath()).isFile())
        return {};
    const QDate today = QDate::currentDate();
    for (const Copy& copy : backupCopies()) {
        if (copy.taken.date() == today)
            return {};
    }
    const QString path = takeBackup();
    history::pruneRecords(history::keepDays());
    return path;
}

QList<BackupInfo> listBackups() {
    QList<BackupInfo> backups;
    for (const Copy& copy : backupCopies()) {
        BackupInfo info{copy.file.absoluteFilePath(), copy.taken, -1};
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

void pruneBackups(int keep, const QStringList& alsoKeep) {
    const QDateTime now = QDateTime::currentDateTime();
    int counted = 0;
    for (const Copy& copy : backupCopies()) {
        if (fromTheFuture(copy, now))
            continue;
        if (++counted <= qMax(keep, 1) || sameFile(copy.file, alsoKeep))
            continue;
        removeUnlessHeld(copy.file.absoluteFilePath());
    }
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
