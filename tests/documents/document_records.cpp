#include "tests/documents/document_records.h"

#include "db/connection.h"

#include <QSqlQuery>

namespace doctest {

void add(const Record& record) {
    db::run(QStringLiteral("insert into File (Name, Kind, ContentNo, ContentName, Memo, Path1, "
                           "Date1) values (:Name, :Kind, :ContentNo, :ContentName, :Memo, "
                           ":Path1, :Date1)"),
            {{QStringLiteral("Name"), record.name},
             {QStringLiteral("Kind"), record.kind},
             {QStringLiteral("ContentNo"), record.contentNo},
             {QStringLiteral("ContentName"), record.contentName},
             {QStringLiteral("Memo"), record.memo},
             {QStringLiteral("Path1"), record.path},
             {QStringLiteral("Date1"), record.date1}});
}

QVariant stored(const QString& name, const QString& column) {
    QSqlQuery query =
        db::run(QStringLiteral("select [%1] from File where Name = :Name").arg(column),
                {{QStringLiteral("Name"), name}});
    return query.next() ? query.value(0) : QVariant();
}

QStringList storedNames() {
    QSqlQuery query = db::run(QStringLiteral("select Name from File"));
    QStringList names;
    while (query.next())
        names << (query.value(0).isNull() ? QStringLiteral("<null>") : query.value(0).toString());
    names.sort();
    return names;
}

QStringList listed(const QAbstractItemView* view, int column) {
    const QAbstractItemModel* model = view->model();
    QStringList texts;
    for (int row = 0; row < model->rowCount(); ++row)
        texts << model->index(row, column).data().toString();
    texts.sort();
    return texts;
}

} // namespace doctest
