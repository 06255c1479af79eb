#include "members/import/salutation_step.h"

#include "db/connection.h"

#include <QSqlQuery>

namespace members {

void addSalutationIfAbsent(const QString& name) {
    const QVariantMap params{{QStringLiteral("Name"), name}};
    if (db::run(QStringLiteral("select * from CWNames where Name=:Name"), params).next())
        return;
    db::run(QStringLiteral("insert into CWNames(Name) Values(:Name)"), params);
}

} // namespace members
