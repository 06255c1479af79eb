#include "tests/db/db_fixture.h"

#include <QFile>
#include <QSqlQuery>
#include <ostream>

namespace dbtest {

void exec(const QString& sql, const QVariantMap& params) {
    db::run(sql, params);
}

QVariant scalar(const QString& sql, const QVariantMap& params) {
    QSqlQuery query = db::run(sql, params);
    return query.next() ? query.value(0) : QVariant();
}

QStringList column(const QString& sql) {
    QSqlQuery query = db::run(sql);
    QStringList values;
    while (query.next())
        values << (query.value(0).isNull() ? QStringLiteral("<null>") : query.value(0).toString());
    return values;
}

int count(const QString& tableAndWhere) {
    return scalar(QStringLiteral("select count(*) from %1").arg(tableAndWhere)).toInt();
}

void addMember(const QString& id, const QString& name, const QVariant& kind) {
    exec(QStringLiteral("insert into Cust (id, name, Kind) values (:id, :name, :kind)"),
         {{QStringLiteral("id"), id},
          {QStringLiteral("name"), name},
          {QStringLiteral("kind"), kind}});
}

void damage(const QString& path) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    for (int page = 1; page < 8; ++page) {
        file.seek(4096 * page);
        file.write(QByteArray(12, '\x5a'));
    }
}

} // namespace dbtest

void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

void PrintTo(const QVariant& value, std::ostream* out) {
    if (value.isNull())
        *out << "null";
    else
        *out << value.typeName() << ' ' << value.toString().toStdString();
}
