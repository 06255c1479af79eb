#include "members/import/register_members.h"

#include "db/connection.h"
#include "members/import/import_row_check.h"

#include <QSqlError>
#include <QSqlQuery>

namespace members {
namespace {

// FNV-1a over the values' texts, a null told from an empty text.
MemberPrint printOfRecord(const QSqlQuery& query, int first) {
    MemberPrint print = 1469598103934665603ULL;
    const auto add = [&print](char16_t unit) {
        print ^= unit;
        print *= 1099511628211ULL;
    };
    for (int column = first; column < first + int(importedColumns().size()); ++column) {
        const QVariant value = query.value(column);
        if (value.isNull()) {
            add(0xFFFF);
            continue;
        }
        for (const QChar c : value.toString())
            add(c.unicode());
        add(0xFFFE);
    }
    return print;
}

QString columnList() {
    return importedColumns().join(',');
}

} // namespace

const QStringList& importedColumns() {
    static const QStringList columns = [] {
        QStringList list;
        for (int column = 1; column <= kTextColumns; ++column)
            list << QString::fromLatin1(custColumn(column));
        list << QStringLiteral("IsEnabled");
        return list;
    }();
    return columns;
}

RegisterMembers::RegisterMembers(Prints prints) {
    const bool withPrints = prints == Prints::With;
    QSqlQuery query(db::connection());
    query.setForwardOnly(true);
    const QString sql = withPrints ? QStringLiteral("select rowid, %1 from cust").arg(columnList())
                                   : QStringLiteral("select rowid, ID from cust");
    if (!query.exec(sql))
        db::raise(query.lastError());
    while (query.next()) {
        const qint64 rowid = query.value(0).toLongLong();
        m_rows[memberKey(query.value(1).toString())].append(rowid);
        if (withPrints)
            m_prints.insert(rowid, printOfRecord(query, 1));
    }
}

QList<qint64> RegisterMembers::rowsOf(QStringView id) const {
    return m_rows.value(memberKey(id));
}

MemberPrint RegisterMembers::currentPrint(qint64 rowid) {
    QSqlQuery query =
        db::run(QStringLiteral("select %1 from cust where rowid = :row").arg(columnList()),
                {{QStringLiteral("row"), rowid}});
    return query.next() ? printOfRecord(query, 0) : 0;
}

} // namespace members
