#include "members/change_revert.h"

#include "base/errors.h"
#include "db/change_history.h"
#include "db/connection.h"
#include "db/copy_database.h"
#include "db/dataset.h"
#include "db/dataset_sql.h"
#include "members/member_window.h"

#include <QSqlQuery>

namespace members::changes {
namespace {

const QString kMembers = QStringLiteral("Cust");

// A column of the members' table as the schema spells it; throws for any
// other name, so that no recorded text becomes part of a statement.
QString memberColumn(const QString& name) {
    for (const db::SchemaTable& table : db::schemaTables()) {
        if (table.name.compare(kMembers, Qt::CaseInsensitive) != 0)
            continue;
        for (const QString& column : table.columns) {
            if (column.compare(name, Qt::CaseInsensitive) == 0)
                return column;
        }
    }
    throw DatabaseError(QStringLiteral("會員資料沒有欄位「%1」﹐無法復原此變更").arg(name));
}

bool sameText(const QVariant& a, const QVariant& b) {
    if (a.isNull() || b.isNull())
        return a.isNull() == b.isNull();
    return db::boundValue(a).toString() == db::boundValue(b).toString();
}

DatabaseError memberGone(const Record& record) {
    return DatabaseError(QStringLiteral("會員 %1 已被刪除﹐無法復原此變更。").arg(record.member));
}

// The member's row as the member window reads it, by its rowid.
void openMember(db::Dataset& member, const Record& record, const QString& columns) {
    member.setBaseTable(kMembers);
    member.open(QStringLiteral("SELECT %1 FROM Cust WHERE rowid = :r").arg(columns),
                {{QStringLiteral("r"), record.rowid}});
    if (member.isEmpty())
        throw memberGone(record);
}

} // namespace

Record readRecord(qint64 id) {
    QSqlQuery query = db::run(QStringLiteral("SELECT ID, Action, CustRowid, CustID, Field, "
                                             "OldValue, NewValue FROM CustHistory WHERE ID = :id"),
                              {{QStringLiteral("id"), id}});
    if (!query.next())
        throw DatabaseError(QStringLiteral("找不到這筆修改紀錄﹐可能已超過保存期限被刪除。"));
    return {query.value(0).toLongLong(),
            query.value(1).toString(),
            query.value(2).toLongLong(),
            query.value(3).toString(),
            query.value(4).toString(),
            query.value(5),
            query.value(6)};
}

Standing standing(const Record& record) {
    const QString column = memberColumn(record.field);
    QSqlQuery query =
        db::run(QStringLiteral("SELECT %1 FROM Cust WHERE rowid = :r").arg(db::quotedName(column)),
                {{QStringLiteral("r"), record.rowid}});
    Standing result;
    if (!query.next()) {
        result.memberGone = true;
        return result;
    }
    result.current = query.value(0);
    result.changedSince = !sameText(result.current, record.newValue);
    return result;
}

void putBack(const Record& record, const QVariant& value, const QVariant& shown) {
    const QString column = memberColumn(record.field);
    db::Dataset member;
    openMember(member, record, db::quotedName(column));
    if (!sameText(member.value(0, 0), shown))
        throw DatabaseError(QStringLiteral("另一台電腦已修改此筆資料﹐這次的修改沒有寫入。\n"
                                           "請重新查詢後再復原此變更。"));
    member.edit();
    member.setValue(0, value);
    const db::history::RevertScope revert;
    member.post();
}

void restoreMember(const Record& record) {
    const QVariantMap row = db::history::rowFromText(record.oldValue.toString());
    const QString number = row.value(QStringLiteral("id")).toString();
    db::dataset_sql::ColumnValues values;
    for (auto it = row.cbegin(); it != row.cend(); ++it)
        values.append({memberColumn(it.key()), *it});
    const db::history::RevertScope revert;
    const auto stored = db::dataset_sql::insertRow(
        kMembers, values, [&number] { return !TFrmCust::numberInUse(number); },
        db::history::recorder(kMembers));
    if (!stored)
        throw DatabaseError(
            QStringLiteral("編號 %1 已有其他會員使用﹐無法還原此會員。").arg(number));
}

void removeAddedMember(const Record& record) {
    db::Dataset member;
    openMember(member, record, QStringLiteral("*"));
    const db::history::RevertScope revert;
    member.remove();
}

} // namespace members::changes
