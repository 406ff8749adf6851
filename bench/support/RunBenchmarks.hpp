// A benchmark program's main: the registered benchmarks run, then its summary.
#pragma once
#include <functional>

namespace tk::bench {

// Runs the benchmarks the command line selects, then `summary` (the ratios
// the program prints from what they measured). Returns main's exit status.
int RunBenchmarks(int argc, char** argv, const std::function<void()>& summary);

}  // namespace tk::bench
