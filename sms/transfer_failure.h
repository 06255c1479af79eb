#pragma once

#include "sms/gateway_error.h"

#include <QString>
#include <curl/curl.h>

namespace gateway {

// The error for a libcurl transfer to host that ended with code, its text a
// Chinese sentence. detail is libcurl's own description, written to the log
// and kept as the error's detail, never in its text; requestSent says whether any request bytes
// went out.
GatewayError transferFailure(CURLcode code, const QString& host, const QString& detail,
                             bool requestSent);

// The error for an answer whose HTTP status is not 2xx.
GatewayError statusFailure(long status, const QString& host);

// The error for a request that was to go out once and went out times times:
// the gateway has it, and the answer read says nothing about the others.
GatewayError repeatedRequest(const QString& host, int times);

} // namespace gateway
