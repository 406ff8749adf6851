// Creating an account set: schema, login role, tables, sequences, stored
// routines and the demo reference data, in one transaction.
#include <benchmark/benchmark.h>

#include "BenchAccountSet.hpp"

namespace {

void BM_CreateAccountSet(benchmark::State& state) {
    tk::am::AccountSetAdmin admin(tk::bench::benchServer());
    tk::am::AccountSetOptions options;
    options.years = {2024, 2025};
    options.demo = state.range(0) != 0;
    options.replace = true;
    for (auto _ : state) admin.create("bench_provision", options);
    admin.drop("bench_provision");
}
BENCHMARK(BM_CreateAccountSet)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
