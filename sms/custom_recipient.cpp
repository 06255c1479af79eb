#include "sms/custom_recipient.h"

#include "base/errors.h"
#include "db/connection.h"

namespace sms {

QString memberNumberAt(const QDateTime& when) {
    return when.toString(QStringLiteral("yyMMddHHmmss"));
}

void registerMember(const QString& name, const QString& phone, const QDateTime& when) {
    const QString id = memberNumberAt(when);
    db::Transaction transaction;
    // The table does not refuse a repeated number itself; the member window
    // checks it too before storing.
    if (db::run(QStringLiteral("select id from Cust where id=:id"), {{QStringLiteral("id"), id}})
            .next())
        throw DatabaseError(
            QStringLiteral("編號重複: 會員編號 %1 已存在﹐%2 未加入會員資料").arg(id, name));
    db::run(QStringLiteral("Insert into Cust(id,name,cdtel,Kind) values(:id,:Name,:CDTel,:Kind)"),
            {{QStringLiteral("id"), id},
             {QStringLiteral("Name"), name},
             {QStringLiteral("CDTel"), phone},
             {QStringLiteral("Kind"), QStringLiteral("其它")}});
    transaction.commit();
}

} // namespace sms
