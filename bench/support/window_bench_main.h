#pragma once

#include <functional>

// The main() of a benchmark that drives windows offscreen: runs the
// benchmarks under the program's application object; windowsGone frees the
// shared windows before that object goes, then the shared connection closes.
namespace bench {

int runWindowBenchmarks(int argc, char** argv, const std::function<void()>& windowsGone);

} // namespace bench
