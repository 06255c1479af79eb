#include "sms/register_phones.h"

#include "base/phone_number.h"
#include "db/connection.h"
#include "sms/merge_fields.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace sms {
namespace {

const QString kPhoneColumns[] = {QStringLiteral("CDTel"), QStringLiteral("Tel"),
                                 QStringLiteral("HomeTel")};

} // namespace

QSet<QString> optedOutPhones() {
    QSet<QString> keys;
    QSqlQuery query =
        db::run(QStringLiteral("select CDTel, Tel, HomeTel from Cust where NoSms=:NoSms"),
                {{QStringLiteral("NoSms"), true}});
    while (query.next()) {
        for (int column = 0; column < 3; ++column) {
            const QString key = phone::key(query.value(column).toString());
            if (!key.isEmpty())
                keys.insert(key);
        }
    }
    return keys;
}

OptOutSplit splitOptedOut(const QList<Recipient>& recipients, const QSet<QString>& optedOut) {
    OptOutSplit split;
    for (const Recipient& recipient : recipients) {
        if (optedOut.contains(phone::key(recipient.phone)))
            split.left << recipient;
        else
            split.kept << recipient;
    }
    return split;
}

QHash<QString, RegisterMember> membersByPhone() {
    const QList<MergeField> fields = mergeFields(members::search::readCaptions());
    QSqlQuery query = db::run(
        QStringLiteral("select %1, CDTel, Tel, HomeTel, NoSms from Cust where isEnabled=:on "
                       "order by id")
            .arg(mergeColumns()),
        {{QStringLiteral("on"), true}});
    const QSqlRecord record = query.record();
    QHash<QString, RegisterMember> byMobile;
    QHash<QString, RegisterMember> byOther;
    while (query.next()) {
        RegisterMember member;
        member.fields = memberValues(fields, [&](const QString& column) {
            return query.value(record.indexOf(column)).toString();
        });
        member.listedName = query.value(QStringLiteral("name")).toString() +
                            query.value(QStringLiteral("Name1")).toString();
        member.noSms = query.value(QStringLiteral("NoSms")).toInt() != 0;
        for (const QString& column : kPhoneColumns) {
            const QString key = phone::key(query.value(column).toString());
            if (key.isEmpty())
                continue;
            QHash<QString, RegisterMember>& found = column == kPhoneColumns[0] ? byMobile : byOther;
            if (!found.contains(key))
                found.insert(key, member);
        }
    }
    for (auto it = byOther.cbegin(); it != byOther.cend(); ++it) {
        if (!byMobile.contains(it.key()))
            byMobile.insert(it.key(), it.value());
    }
    return byMobile;
}

} // namespace sms
