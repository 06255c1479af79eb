#pragma once

#include <QString>

// The signed-in user and the SMS gateway credentials, filled once per run by
// the sign-in window and read by the rest of the program.
struct LoginSession {
    QString UserID;
    QString SystemID;
    QString SuppID;
    QString CustID;
    QString CustName;
    QString CustPwd;
    QString AppPath; // folder of the running program, ending with a separator
    bool Cancelled = false;

    // The one session of this run.
    static LoginSession& current();

    // Copies the five SMS gateway credentials from the first SystemSet row
    // (empty when there is none). Throws DatabaseError.
    void readGatewayCredentials();
};
