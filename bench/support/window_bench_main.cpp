#include "bench/support/window_bench_main.h"

#include "app/application.h"
#include "db/connection.h"

#include <benchmark/benchmark.h>

namespace bench {

int runWindowBenchmarks(int argc, char** argv, const std::function<void()>& windowsGone) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    Application app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    windowsGone();
    db::closeConnection();
    return 0;
}

} // namespace bench
