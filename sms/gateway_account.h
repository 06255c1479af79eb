#pragma once

#include <QString>

struct LoginSession;

// The five values by which the SMS gateway knows the customer. Every request
// takes them from the session at the moment it is built, so a change saved in
// the SMS account window applies to the very next request.
struct GatewayAccount {
    QString SuppID;   // dealer code
    QString SystemID; // system code
    QString CustID;   // customer account
    QString CustPwd;  // customer password
    QString CustName; // customer name

    static GatewayAccount fromSession(const LoginSession& session);
};
