// Google Benchmark's own main, with the summary between the runs and the shutdown.
#include "RunBenchmarks.hpp"

#include <benchmark/benchmark.h>

namespace tk::bench {

int RunBenchmarks(int argc, char** argv, const std::function<void()>& summary) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    summary();
    benchmark::Shutdown();
    return 0;
}

}  // namespace tk::bench
