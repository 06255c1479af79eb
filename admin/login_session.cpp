#include "admin/login_session.h"

#include "db/connection.h"

#include <QSqlQuery>

LoginSession& LoginSession::current() {
    static LoginSession session;
    return session;
}

void LoginSession::readGatewayCredentials() {
    QSqlQuery settings = db::run(QStringList{
        QStringLiteral("Select "), QStringLiteral("systemID,suppID,custID,custName,CustPwd"),
        QStringLiteral(" From SystemSet")});
    const bool found = settings.next();
    auto column = [&](int i) { return found ? settings.value(i).toString() : QString(); };
    SystemID = column(0);
    SuppID = column(1);
    CustID = column(2);
    CustName = column(3);
    CustPwd = column(4);
}
