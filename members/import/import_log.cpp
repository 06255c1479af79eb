#include "members/import/import_log.h"

#include "base/errors.h"
#include "db/connection.h"
#include "db/database_target.h"
#include "members/import/import_values.h"

#include <QDateTime>
#include <QSqlQuery>
#include <QSysInfo>

namespace members {
namespace {

QString& userName() {
    static QString name;
    return name;
}

QString columns() {
    return importedColumns().join(',');
}

// Copies the imported columns of the members where holds into the record
// as action.
void copyMembers(qint64 id, const QString& action, const QString& where,
                 const QVariantMap& params) {
    QVariantMap all = params;
    all.insert(QStringLiteral("import"), id);
    all.insert(QStringLiteral("action"), action);
    db::run(QStringLiteral("insert into ImportLogRow(ImportID,CustRowid,Action,%1) "
                           "select :import,rowid,:action,%1 from cust where %2")
                .arg(columns(), where),
            all);
}

} // namespace

void holdImportLock() {
    if (db::engine() == db::Engine::Postgresql)
        db::run(QStringLiteral("SELECT pg_advisory_xact_lock(hashtext(:name))"),
                {{QStringLiteral("name"), QStringLiteral("lunmark write cust")}});
}

void setImportUser(const QString& name) {
    userName() = name;
}

QString importUser() {
    if (!userName().isEmpty())
        return userName();
    const QString login = qEnvironmentVariable("USER");
    return login.isEmpty() ? qEnvironmentVariable("USERNAME") : login;
}

QString recordedMode(ImportMode mode, bool deleteOld) {
    if (deleteOld)
        return QStringLiteral("replace");
    switch (mode) {
    case ImportMode::Update:
        return QStringLiteral("update");
    case ImportMode::SkipExisting:
        return QStringLiteral("skip");
    case ImportMode::Add:
        break;
    }
    return QStringLiteral("add");
}

ImportRecord::ImportRecord(const QString& file, const QString& mode, const QString& backupPath) {
    QSqlQuery inserted = db::run(
        QStringLiteral("insert into ImportLog(ImportedAt,UserName,Host,FileName,Mode,BackupPath) "
                       "values(:at,:user,:host,:file,:mode,:backup) returning ID"),
        {{QStringLiteral("at"), storedDateTime(QDateTime::currentDateTime())},
         {QStringLiteral("user"), importUser()},
         {QStringLiteral("host"), QSysInfo::machineHostName()},
         {QStringLiteral("file"), file},
         {QStringLiteral("mode"), mode},
         {QStringLiteral("backup"), backupPath.isEmpty() ? QVariant() : QVariant(backupPath)}});
    inserted.next();
    m_id = inserted.value(0).toLongLong();
    QSqlQuery last = db::run(QStringLiteral("select coalesce(max(rowid), 0) from cust"));
    last.next();
    m_lastRowBefore = last.value(0).toLongLong();
}

void ImportRecord::keepReplaced(qint64 rowid) {
    if (!m_replaced)
        m_replaced.emplace(
            QStringLiteral("insert into ImportLogRow(ImportID,CustRowid,Action,%1) "
                           "select :import,rowid,'replaced',%1 from cust where rowid = :row")
                .arg(columns()));
    m_replaced->bindText(1, QString::number(m_id));
    m_replaced->bindText(2, QString::number(rowid));
    if (!m_replaced->execute())
        throw DatabaseError(QStringLiteral("資料庫錯誤: %1").arg(m_replaced->error()));
}

void ImportRecord::finish(const ImportCounts& counts) {
    m_replaced.reset();
    copyMembers(m_id, QStringLiteral("inserted"), QStringLiteral("rowid > :last"),
                {{QStringLiteral("last"), m_lastRowBefore}});
    if (counts.updated > 0)
        copyMembers(m_id, QStringLiteral("updated"),
                    QStringLiteral("rowid in (select CustRowid from ImportLogRow where "
                                   "ImportID = :import and Action = 'replaced')"),
                    {});
    db::run(QStringLiteral("update ImportLog set Added = :added, Updated = :updated, "
                           "Skipped = :skipped, Duplicates = :duplicates where ID = :import"),
            {{QStringLiteral("added"), counts.added},
             {QStringLiteral("updated"), counts.updated},
             {QStringLiteral("skipped"), counts.skipped},
             {QStringLiteral("duplicates"), counts.duplicates},
             {QStringLiteral("import"), m_id}});
    const QString older =
        QStringLiteral("(select ID from ImportLog order by ID desc limit %1)").arg(kKeptImports);
    db::run(QStringLiteral("delete from ImportLogRow where ImportID not in %1").arg(older));
    db::run(QStringLiteral("delete from ImportLog where ID not in %1").arg(older));
}

} // namespace members
