#include "members/export/import_layout.h"

#include "db/forward_query.h"

#include <QSqlQuery>

namespace members::exporting {
namespace {

struct LayoutColumn {
    const char* field; // empty: a column the import does not read
    const char* caption;
    CellKind kind;
};

const LayoutColumn kLayout[] = {
    {"ID", "會員編號", CellKind::Text},
    {"Name", "姓名", CellKind::Text},
    {"Name1", "稱謂", CellKind::Text},
    {"Tel", "電話", CellKind::Text},
    {"CDTel", "行動電話", CellKind::Text},
    {"HomeTel", "住家電話", CellKind::Text},
    {"Fax", "傳真", CellKind::Text},
    {"Kind", "類別", CellKind::Text},
    {"Birthday", "生日", CellKind::Date},
    {"MGBirthday", "民國生日", CellKind::Text},
    {"Identity", "身分證號", CellKind::Text},
    {"EnterDate", "入會日期", CellKind::Text},
    {"Address", "地址", CellKind::Text},
    {"Memo", "備註一", CellKind::Text},
    {"Memo1", "備註二", CellKind::Text},
    {"Memo2", "備註三", CellKind::Text},
    {"Memo3", "備註四", CellKind::Text},
    {"Memo4", "備註五", CellKind::Text},
    {"Date1", "其他日期", CellKind::Text},
    {"", "", CellKind::Text},
    {"", "", CellKind::Text},
    {"IsEnabled", "有效", CellKind::YesNo},
};

// The select list: an empty text for the columns not read.
QString columnsLine() {
    QStringList fields;
    for (const LayoutColumn& column : kLayout)
        fields << (*column.field ? QLatin1String(column.field) : QStringLiteral("''"));
    return QStringLiteral("SELECT ") + fields.join(QStringLiteral(", ")) +
           QStringLiteral(" FROM Cust ");
}

} // namespace

QList<Column> importLayoutColumns() {
    QList<Column> columns;
    for (const LayoutColumn& column : kLayout)
        columns.append(
            {QLatin1String(column.field), QString::fromUtf8(column.caption), column.kind});
    return columns;
}

search::Statement importLayoutStatement() {
    return {{columnsLine(), QStringLiteral(" order by ID")}, {}};
}

search::Statement importLayoutStatement(const search::Clause& clause, bool activeMembers) {
    search::Statement statement = search::memberStatement(clause, activeMembers);
    statement.lines.first() = columnsLine();
    return statement;
}

int exportImportLayout(const QString& path, const search::Statement& statement) {
    QSqlQuery query = db::runForwardOnly(statement.lines, statement.params);
    const int count = int(std::size(kLayout));
    return writeTable(path, importLayoutColumns(), [&](QVariantList& values) {
        if (!query.next())
            return false;
        values.resize(count);
        for (int i = 0; i < count; ++i)
            values[i] = query.value(i);
        return true;
    });
}

} // namespace members::exporting
