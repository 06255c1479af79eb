#include "members/report/member_rows.h"

#include "base/errors.h"
#include "db/connection.h"
#include "db/dataset.h"
#include "members/report/member_list_layout.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace members::report {

namespace {

int requireField(const db::Dataset& query, const QString& name) {
    const int index = query.fieldIndex(name);
    if (index < 0)
        throw DatabaseError(QStringLiteral("資料庫錯誤: 找不到欄位 %1").arg(name));
    return index;
}

} // namespace

std::vector<MemberRow> memberRows(const db::Dataset& query) {
    const int id = requireField(query, QStringLiteral("id"));
    const int name = requireField(query, QStringLiteral("name"));
    const int salutation = requireField(query, QStringLiteral("Name1"));
    const int tel = requireField(query, QStringLiteral("Tel"));
    const int mobile = requireField(query, QStringLiteral("CDTel"));
    const int address = requireField(query, QStringLiteral("Address"));
    std::vector<MemberRow> rows;
    rows.reserve(std::size_t(query.rowCount()));
    for (int row = 0; row < query.rowCount(); ++row) {
        rows.push_back({query.value(row, id).toString(), query.value(row, name).toString(),
                        query.value(row, salutation).toString(), query.value(row, tel).toString(),
                        query.value(row, mobile).toString(), query.value(row, address).toString()});
    }
    return rows;
}

ListTitles readListTitles() {
    QSqlQuery query = db::run(QStringLiteral("select * from Systemset"));
    if (!query.next())
        return {QString(), QString(), member_list::telFaxLine(QString(), QString())};
    const QSqlRecord record = query.record();
    auto text = [&](const char* column) {
        return query.value(record.indexOf(QLatin1String(column))).toString();
    };
    return {text("ReportTitle"), text("Address"),
            member_list::telFaxLine(text("Tel"), text("Fax"))};
}

} // namespace members::report
