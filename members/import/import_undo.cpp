#include "members/import/import_undo.h"

#include "base/data_changes.h"
#include "base/errors.h"
#include "base/message_table.h"
#include "base/program_title.h"
#include "base/prompt.h"
#include "db/connection.h"
#include "db/copy_database.h"
#include "members/import/import_log.h"
#include "members/import/member_insert.h"
#include "members/import/register_members.h"

#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

namespace members {
namespace {

QString modeText(const QString& mode) {
    if (mode == QLatin1String("update"))
        return QStringLiteral("更新已存在的會員");
    if (mode == QLatin1String("skip"))
        return QStringLiteral("略過已存在的會員");
    if (mode == QLatin1String("replace"))
        return QStringLiteral("刪除舊資料後導入");
    return QStringLiteral("新增");
}

// Whether the member's imported columns hold what the record kept (alias l)
// in the member (alias c); nulls equal nulls.
QString sameValues() {
    QStringList same;
    for (const QString& column : importedColumns())
        same << QStringLiteral("(coalesce(c.%1 = l.%1, false) or (c.%1 is null and l.%1 is null))")
                    .arg(column);
    return same.join(QStringLiteral(" and "));
}

qint64 countOf(const QString& sql, qint64 id) {
    QSqlQuery query = db::run(sql, {{QStringLiteral("import"), id}});
    return query.next() ? query.value(0).toLongLong() : 0;
}

// The old members kept in the SQLite copy at path, stored again. They keep
// their row identities, so that the records of earlier imports still find
// them, unless members left alone may hold some of them. Returns how many.
int restoreMembersFrom(const QString& path, bool keepRowids) {
    if (!QFileInfo::exists(path))
        throw DatabaseError(
            QStringLiteral("找不到導入前的備份 %1，無法取回舊資料，沒有復原任何資料。").arg(path));
    QStringList columns;
    for (const db::SchemaTable& table : db::schemaTables()) {
        if (table.name.compare(QLatin1String("Cust"), Qt::CaseInsensitive) == 0)
            columns = table.columns;
    }
    const QString name = QStringLiteral("lunmark_import_backup");
    int restored = 0;
    {
        db::DatabaseTarget target;
        target.engine = db::Engine::Sqlite;
        target.path = path;
        QSqlDatabase backup = db::openConnection(name, target);
        QSqlQuery query(backup);
        query.setForwardOnly(true);
        if (keepRowids)
            columns.prepend(QStringLiteral("rowid"));
        if (!query.exec(
                QStringLiteral("select %1 from cust order by rowid").arg(columns.join(','))))
            db::raise(backup, query.lastError());
        QStringList parameters;
        for (const QString& column : columns)
            parameters << ':' + column;
        MemberInsert insert(QStringLiteral("insert into cust(%1) values(%2)")
                                .arg(columns.join(','), parameters.join(',')));
        while (query.next()) {
            for (int column = 0; column < columns.size(); ++column) {
                const QVariant value = query.value(column);
                if (value.isNull())
                    insert.bindNull(column + 1);
                else
                    insert.bindText(column + 1, value.toString());
            }
            if (!insert.execute())
                throw DatabaseError(QStringLiteral("資料庫錯誤: %1").arg(insert.error()));
            ++restored;
        }
        backup.close();
    }
    QSqlDatabase::removeDatabase(name);
    return restored;
}

} // namespace

std::optional<RecordedImport> lastImport() {
    QSqlQuery query = db::run(
        QStringLiteral("select ID,ImportedAt,UserName,Host,FileName,Mode,BackupPath,Added,Updated "
                       "from ImportLog order by ID desc limit 1"));
    if (!query.next())
        return std::nullopt;
    RecordedImport recorded;
    recorded.id = query.value(0).toLongLong();
    recorded.importedAt = query.value(1).toString();
    recorded.user = query.value(2).toString();
    recorded.host = query.value(3).toString();
    recorded.file = query.value(4).toString();
    recorded.mode = query.value(5).toString();
    recorded.backupPath = query.value(6).toString();
    recorded.added = query.value(7).toInt();
    recorded.updated = query.value(8).toInt();
    return recorded;
}

QString recordedImportText(const RecordedImport& recorded) {
    return QStringLiteral("%1 %2 在 %3 導入 %4（%5）：新增 %6 筆，更新 %7 筆")
        .arg(recorded.importedAt, recorded.user, recorded.host, QFileInfo(recorded.file).fileName(),
             modeText(recorded.mode))
        .arg(recorded.added)
        .arg(recorded.updated);
}

QList<ChangedMember> changedSinceImport(const RecordedImport& recorded) {
    QSqlQuery query =
        db::run(QStringLiteral("select l.CustRowid, l.id, l.name from ImportLogRow l "
                               "left join cust c on c.rowid = l.CustRowid "
                               "where l.ImportID = :import and l.Action in ('inserted', 'updated') "
                               "and (c.rowid is null or not (%1)) order by l.CustRowid")
                    .arg(sameValues()),
                {{QStringLiteral("import"), recorded.id}});
    QList<ChangedMember> changed;
    while (query.next())
        changed.append(
            {query.value(0).toLongLong(), query.value(1).toString(), query.value(2).toString()});
    return changed;
}

QString changedMembersText(const QList<ChangedMember>& changed) {
    constexpr qsizetype kNamed = 20; // a box shows no more
    QStringList lines;
    for (const ChangedMember& member : changed.mid(0, kNamed))
        lines << QStringLiteral("「%1」%2").arg(member.id, member.name);
    if (changed.size() > kNamed)
        lines << QStringLiteral("⋯⋯ 共 %1 位").arg(changed.size());
    return lines.join('\n');
}

UndoResult undoImport(const RecordedImport& recorded, bool includeChanged) {
    db::Transaction transaction(db::Transaction::Kind::Write);
    holdImportLock();
    UndoResult result;
    const QVariantMap import = {{QStringLiteral("import"), recorded.id}};
    if (!includeChanged) {
        const QList<ChangedMember> changed = changedSinceImport(recorded);
        for (const ChangedMember& member : changed)
            db::run(
                QStringLiteral("delete from ImportLogRow where ImportID = :import and "
                               "CustRowid = :row"),
                {{QStringLiteral("import"), recorded.id}, {QStringLiteral("row"), member.rowid}});
        result.leftAlone = int(changed.size());
    }
    const QString ofAction =
        QStringLiteral("select CustRowid from ImportLogRow where ImportID = :import and "
                       "Action = '%1'");
    result.removed = int(countOf(QStringLiteral("select count(*) from cust where rowid in (%1)")
                                     .arg(ofAction.arg("inserted")),
                                 recorded.id));
    db::run(QStringLiteral("delete from cust where rowid in (%1)").arg(ofAction.arg("inserted")),
            import);
    const QString replaced = ofAction.arg(QStringLiteral("replaced"));
    result.restored =
        int(countOf(QStringLiteral("select count(*) from cust where rowid in (%1)").arg(replaced),
                    recorded.id));
    if (result.restored > 0) {
        QStringList sets;
        for (const QString& column : importedColumns())
            sets << QStringLiteral(
                        "%1 = (select l.%1 from ImportLogRow l where l.ImportID = "
                        ":import and l.Action = 'replaced' and l.CustRowid = cust.rowid)")
                        .arg(column);
        db::run(
            QStringLiteral("update cust set %1 where rowid in (%2)").arg(sets.join(','), replaced),
            import);
    }
    if (recorded.mode == QLatin1String("replace"))
        result.fromBackup = restoreMembersFrom(recorded.backupPath, result.leftAlone == 0);
    db::run(QStringLiteral("delete from ImportLogRow where ImportID = :import"), import);
    db::run(QStringLiteral("delete from ImportLog where ID = :import"), import);
    transaction.commit();
    return result;
}

QString undoResultText(const UndoResult& result) {
    QString text = QStringLiteral("已復原上次導入：刪除新增的會員 %1 筆，還原更新的會員 %2 筆")
                       .arg(result.removed)
                       .arg(result.restored);
    if (result.fromBackup > 0)
        text += QStringLiteral("，從備份取回舊會員 %1 筆").arg(result.fromBackup);
    if (result.leftAlone > 0)
        text += QStringLiteral("，導入後已修改的會員 %1 筆保持現狀").arg(result.leftAlone);
    return text;
}

void undoLastImport() {
    Prompt& prompt = Prompt::current();
    const QString caption = MessageTable::current().CaptionHint;
    const std::optional<RecordedImport> recorded = lastImport();
    if (!recorded) {
        prompt.message(Prompt::Icon::Information, caption, QStringLiteral("沒有可以復原的導入。"));
        return;
    }
    if (!prompt.question(
            caption, QStringLiteral("是否復原上次導入﹖\n%1").arg(recordedImportText(*recorded)),
            Prompt::No))
        return;
    const QList<ChangedMember> changed = changedSinceImport(*recorded);
    bool includeChanged = false;
    if (!changed.isEmpty())
        includeChanged = prompt.question(
            caption,
            QStringLiteral("以下會員在導入之後已被修改：\n%1\n是否連這些會員也復原﹖"
                           "（選「否」則這些會員保持現狀）")
                .arg(changedMembersText(changed)),
            Prompt::No);
    const UndoResult result = undoImport(*recorded, includeChanged);
    DataChanges::instance().announce();
    prompt.message(Prompt::Icon::Information, programTitle(), undoResultText(result));
}

} // namespace members
