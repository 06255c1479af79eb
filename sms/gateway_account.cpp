#include "sms/gateway_account.h"

#include "admin/login_session.h"

GatewayAccount GatewayAccount::fromSession(const LoginSession& session) {
    return {session.SuppID, session.SystemID, session.CustID, session.CustPwd, session.CustName};
}
