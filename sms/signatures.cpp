#include "sms/signatures.h"

#include "db/connection.h"

namespace sms::signatures {

QStringList list() {
    QSqlQuery query = db::run(QStringLiteral("select Name from Sign Order by ID desc"));
    QStringList names;
    while (query.next())
        names << query.value(0).toString().trimmed();
    return names;
}

void saveIfNew(const QString& text) {
    if (text.trimmed().isEmpty())
        return;
    const QVariantMap params{{QStringLiteral("Name"), text}};
    if (db::run(QStringLiteral("Select name from Sign where Name=:Name"), params).next())
        return;
    db::run(QStringLiteral("Insert into Sign(name) values(:Name)"), params);
}

} // namespace sms::signatures
