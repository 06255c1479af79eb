#include "members/salutations.h"

#include "db/connection.h"

#include <QSqlQuery>

namespace members {

void insertSalutationIfAbsent(const QString& name) {
    const QVariantMap params{{QStringLiteral("Name"), name}};
    if (db::run(QStringLiteral("select * from CWNames where Name=:Name"), params).next())
        return;
    db::run(QStringLiteral("insert into CWNames(Name) Values(:Name)"), params);
}

} // namespace members
