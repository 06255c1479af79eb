#include "db/database_files.h"

#include "db/connection.h"
#include "db/database_target.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace db {
namespace {

struct FileId {
    dev_t device = 0;
    ino_t inode = 0;
    bool operator==(const FileId&) const = default;
};

bool fileId(const QString& path, FileId& id) {
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return false;
    id = {info.st_dev, info.st_ino};
    return true;
}

// One line of /proc/locks: "1: POSIX  ADVISORY  READ 1234 fe:00:5678 128 128"
// (a blocked request carries "->" before its kind). The pid, the device's
// major and minor number and the inode.
bool lockLine(const QString& line, qint64& pid, FileId& id) {
    static const QRegularExpression pattern(QStringLiteral(
        R"(^\d+:\s+(?:->\s+)?\S+\s+\S+\s+\S+\s+(\d+)\s+([0-9a-f]+):([0-9a-f]+):(\d+)\s)"));
    const QRegularExpressionMatch match = pattern.match(line);
    if (!match.hasMatch())
        return false;
    pid = match.captured(1).toLongLong();
    id.device =
        makedev(match.captured(2).toUInt(nullptr, 16), match.captured(3).toUInt(nullptr, 16));
    id.inode = match.captured(4).toULongLong();
    return true;
}

} // namespace

QStringList databaseFiles(const QString& databasePath) {
    return {databasePath, databasePath + QStringLiteral("-wal"),
            databasePath + QStringLiteral("-shm"), databasePath + QStringLiteral("-journal")};
}

bool isDatabaseFile(const QString& path) {
    if (path.isEmpty() || engine() != Engine::Sqlite)
        return false; // a server register has no files here
    FileId chosen;
    const bool exists = fileId(path, chosen);
    const QString chosenPath = QFileInfo(path).absoluteFilePath();
    for (const QString& file : databaseFiles(databasePath())) {
        FileId id;
        if (exists ? fileId(file, id) && id == chosen
                   : QFileInfo(file).absoluteFilePath() == chosenPath)
            return true;
    }
    return false;
}

QList<qint64> otherProgramsUsing(const QString& databasePath) {
    QList<FileId> ids;
    for (const QString& file : databaseFiles(databasePath)) {
        FileId id;
        if (fileId(file, id))
            ids.append(id);
    }
    QFile locks(QStringLiteral("/proc/locks"));
    if (ids.isEmpty() || !locks.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    const qint64 self = QCoreApplication::applicationPid();
    QList<qint64> others;
    for (const QByteArray& line : locks.readAll().split('\n')) {
        qint64 pid = 0;
        FileId id;
        if (lockLine(QString::fromLatin1(line), pid, id) && pid != self && ids.contains(id) &&
            !others.contains(pid))
            others.append(pid);
    }
    return others;
}

} // namespace db
