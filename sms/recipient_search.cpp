#include "sms/recipient_search.h"

#include "base/phone_number.h"
#include "db/connection.h"

#include <QSet>
#include <QSqlQuery>

namespace sms {

namespace search = members::search;

QString recipientColumnsLine() {
    return QStringLiteral("SELECT name, "
                          "Name1,CDTel,IsSelected,NoSms,id,MGBirthday,Kind,EnterDate,date1,Memo,"
                          "Memo1,Memo2,Memo3,Memo4 FROM Cust ");
}

search::Statement recipientStatement(const search::Input& input, const search::Bounds& stored) {
    return recipientStatement(search::criterionClause(input, search::numberRange(input, stored)));
}

search::Statement recipientStatement(const search::Clause& clause) {
    search::Statement statement;
    statement.lines << recipientColumnsLine() << QStringLiteral(" Where IsEnabled=:IsEnabled ");
    if (!clause.line.isEmpty())
        statement.lines << clause.line;
    statement.params = clause.params;
    // Only enabled members receive messages.
    statement.params.insert(QStringLiteral("IsEnabled"), true);
    return statement;
}

SearchRecipients savedSearchRecipients(const members::saved::SavedSearch& saved) {
    const search::Statement statement = recipientStatement(members::saved::clauseOf(saved));
    QSqlQuery query = db::run(statement.lines, statement.params);
    SearchRecipients found;
    QSet<QString> listed;
    while (query.next()) {
        const QString mobile = query.value(2).toString().trimmed();
        if (!phone::isDialable(mobile)) {
            ++found.withoutMobile;
            continue;
        }
        if (listed.contains(mobile))
            continue;
        listed.insert(mobile);
        found.recipients << Recipient{query.value(0).toString() + query.value(1).toString(),
                                      mobile};
    }
    return found;
}

} // namespace sms
