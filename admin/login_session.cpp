#include "admin/login_session.h"

LoginSession& LoginSession::current() {
    static LoginSession session;
    return session;
}
