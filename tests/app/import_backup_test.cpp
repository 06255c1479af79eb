// lunmark --import --replace keeps the copy it takes before deleting the
// old members, also beside copies dated in the future (taken while the
// clock was set ahead), which stay too.
#include "db/backup.h"
#include "db/connection.h"
#include "db/sqlite_file.h"
#include "tests/support/shell_run.h"
#include "tests/support/temp_database.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <gtest/gtest.h>

namespace {

TEST(ImportBackup, ReplacingImportKeepsItsCopyBesideCopiesFromTheFuture) {
    TempDatabase database(db::Engine::Sqlite);
    QSettings(QDir(database.folder()).filePath(QStringLiteral("lunmark.ini")), QSettings::IniFormat)
        .setValue(QStringLiteral("Backup/Keep"), 2);
    db::run(QStringLiteral("insert into Cust(id, name) values('OLD', '舊會員')"));
    QStringList ahead;
    for (const int days : {10, 30}) {
        const QDateTime taken = QDateTime::currentDateTime().addDays(days);
        const QString path =
            QDir(db::backupFolder())
                .filePath(QStringLiteral("backup-%1.sqlite")
                              .arg(taken.toString(QStringLiteral("yyyy-MM-dd_HHmmss"))));
        ASSERT_TRUE(QFile::rename(db::takeBackup(), path));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(taken, QFileDevice::FileModificationTime));
        ahead.append(path);
    }
    db::closeConnection();

    const ShellRun import = runWithoutDisplay(
        QStringLiteral(LUNMARK_PROGRAM),
        {QStringLiteral("--import"), QStringLiteral(MEMBER_IMPORT_DATA "/shown.xls"),
         QStringLiteral("--replace"), QStringLiteral("--database"), database.path()});
    ASSERT_EQ(import.exitCode, 0) << import.errors.toStdString();

    for (const QString& path : ahead)
        EXPECT_TRUE(QFileInfo::exists(path)) << path.toStdString();
    QStringList before;
    for (const db::BackupInfo& backup : db::listBackups()) {
        if (backup.taken.date() == QDate::currentDate())
            before.append(backup.path);
    }
    ASSERT_EQ(before.size(), 1) << "the copy taken before the import is gone";
    db::SqliteFile copy(before.first(), db::SqliteFile::Mode::ReadOnly);
    EXPECT_EQ(copy.column(QStringLiteral("select id from Cust")), QStringList{"OLD"});
}

} // namespace
