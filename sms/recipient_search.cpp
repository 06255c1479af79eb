#include "sms/recipient_search.h"

namespace sms {

namespace search = members::search;

QString recipientColumnsLine() {
    return QStringLiteral("SELECT name, "
                          "Name1,CDTel,IsSelected,NoSms,id,MGBirthday,Kind,EnterDate,date1,Memo,"
                          "Memo1,Memo2,Memo3,Memo4 FROM Cust ");
}

search::Statement recipientStatement(const search::Input& input, const search::Bounds& stored) {
    const search::Clause clause =
        search::criterionClause(input, search::numberRange(input, stored));
    search::Statement statement;
    statement.lines << recipientColumnsLine() << QStringLiteral(" Where IsEnabled=:IsEnabled ");
    if (!clause.line.isEmpty())
        statement.lines << clause.line;
    statement.params = clause.params;
    // Only enabled members receive messages.
    statement.params.insert(QStringLiteral("IsEnabled"), true);
    return statement;
}

} // namespace sms
