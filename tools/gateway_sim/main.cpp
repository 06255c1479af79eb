// lunmark-gateway-sim: an HTTP server on 127.0.0.1 that plays the SMS gateway
// for tests and demonstrations. See --help.

#include "gateway_state.h"
#include "routes.h"
#include "sim_options.h"

#include <csignal>
#include <cstdio>
#include <httplib.h>
#include <iostream>

int main(int argc, char** argv) {
    std::string error;
    const std::optional<SimOptions> options = parseOptions(argc, argv, &error);
    if (!options) {
        std::cerr << "lunmark-gateway-sim: " << error << "\n\n" << helpText();
        return 2;
    }
    if (options->help) {
        std::cout << helpText();
        return 0;
    }

    // A connection closed under a write must not end the simulator.
    std::signal(SIGPIPE, SIG_IGN);
    GatewayState state(options->credit, options->logPath);
    httplib::Server server;
    // A send run keeps one connection for all its messages.
    server.set_keep_alive_max_count(1'000'000);
    server.set_keep_alive_timeout(60);
    // Headers and body go out in separate writes; without this the body waits
    // for the client's delayed acknowledgement.
    server.set_tcp_nodelay(true);
    installRoutes(server, state, *options);

    const char* const host = "127.0.0.1";
    int port = options->port;
    if (port == 0)
        port = server.bind_to_any_port(host);
    else if (!server.bind_to_port(host, port))
        port = -1;
    if (port <= 0) {
        std::cerr << "lunmark-gateway-sim: cannot listen on " << host << ":" << options->port
                  << "\n";
        return 1;
    }
    std::printf("gateway simulator listening on %s:%d\n", host, port);
    std::fflush(stdout);
    return server.listen_after_bind() ? 0 : 1;
}
