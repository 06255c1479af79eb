// 1000 send requests through one GatewayClient against the gateway simulator
// on 127.0.0.1: the rate a send run reaches, each message on a connection of
// its own so that none is ever written twice.

#include "admin/login_session.h"
#include "sms/gateway_client.h"
#include "tests/sms/gateway_sim_process.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>

namespace {

const QString kMessage = "效能測試：許功蓋 & 100% 滿意\r\n第二行";

void reportRate(benchmark::State& state) {
    state.counters["requests_per_second"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

// One client for the whole run, as the send window holds one.
void sendThroughOneClient(benchmark::State& state) {
    GatewaySimProcess sim({"--credit", "1000000000"});
    LoginSession::current() = LoginSession{}; // the simulator expects empty account values
    GatewayClient client(sim.config());
    for (auto _ : state)
        benchmark::DoNotOptimize(client.sendMessage("林先生:", "0900000000", kMessage).text);
    reportRate(state);
}

// For comparison: a new client (a new handle, its caches empty) for every
// message.
void sendOverNewConnections(benchmark::State& state) {
    GatewaySimProcess sim({"--credit", "1000000000"});
    LoginSession::current() = LoginSession{};
    for (auto _ : state) {
        GatewayClient client(sim.config());
        benchmark::DoNotOptimize(client.sendMessage("林先生:", "0900000000", kMessage).text);
    }
    reportRate(state);
}

BENCHMARK(sendThroughOneClient)->Iterations(1000)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(sendOverNewConnections)->Iterations(1000)->UseRealTime()->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
