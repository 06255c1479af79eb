#pragma once

#include "gateway_state.h"
#include "sim_options.h"

#include <httplib.h>

// The gateway's four addresses and the failure switches, on server.
void installRoutes(httplib::Server& server, GatewayState& state, const SimOptions& options);
