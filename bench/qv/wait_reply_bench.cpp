// The reply wait (WaitReply with ReplyBase 2) on a pseudo-terminal that never
// answers, run to its time-out: processor time against wall time. The wait
// sleeps between polls, so its processor share should stay far below 5 %.

#include "timing.h"

#include "qv.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

namespace {

double secondsOf(clockid_t clock) {
    timespec ts{};
    clock_gettime(clock, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

void BM_WaitReplyTimeOut(benchmark::State& st) {
    int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
        st.SkipWithError("no pseudo-terminal");
        return;
    }
    setenv("QV_COM1", ptsname(master), 1);
    if (QVOpenPort(1, "9600,N,8,1") != 1) {
        st.SkipWithError("cannot open the pseudo-terminal as COM1");
        close(master);
        return;
    }
    WaitBaseSet(1); // ReplyBase 2

    double cpu = 0;
    double wall = 0;
    for (auto _ : st) {
        double cpu0 = secondsOf(CLOCK_PROCESS_CPUTIME_ID);
        double wall0 = secondsOf(CLOCK_MONOTONIC);
        bool answered = qv::WaitReply(1, [](std::int32_t b) { return b >= 0; });
        benchmark::DoNotOptimize(answered);
        cpu += secondsOf(CLOCK_PROCESS_CPUTIME_ID) - cpu0;
        wall += secondsOf(CLOCK_MONOTONIC) - wall0;
    }
    auto runs = static_cast<double>(st.iterations());
    st.counters["wall_ms"] = wall / runs * 1e3;
    st.counters["cpu_ms"] = cpu / runs * 1e3;
    st.counters["cpu_share_pct"] = 100.0 * cpu / wall;
    std::printf("WaitReply time-out (ReplyBase 2): wall %.1f ms, CPU %.2f ms, CPU share %.3f %%\n",
                wall / runs * 1e3, cpu / runs * 1e3, 100.0 * cpu / wall);

    QVClosePort(1);
    close(master);
}

BENCHMARK(BM_WaitReplyTimeOut)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
