// The year-end carry-forward of one organisation: assets with three funding
// sources and two account lines each and a year of history, carried into
// the next account set, beside the floor of one "Insert ... Select" per table
// writing the same rows. TKAM_TURN_ASSETS sets the size (10,000, so that a
// run of all the benchmarks stays within minutes; 100,000 is the target size).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "BenchAccountSet.hpp"
#include "GeneratedAssets.hpp"
#include "carryforward/clsAMAssetTurn.hpp"
#include "depreciation/clsAMAssetDeprection.hpp"
#include "frame/Context.hpp"
#include "provision/CrossSetAccess.hpp"
#include "report/TablePrinter.hpp"

namespace {

using tk::am::clsAMAssetDeprection;
using tk::am::clsAMAssetTurn;

constexpr int kOrg = 1;

int AssetCount() {
    const char* value = std::getenv("TKAM_TURN_ASSETS");
    return value && *value ? std::atoi(value) : 10000;
}

const std::vector<std::string> kWrittenTables = {"AMAsset",
                                                 "AMAssetAlter",
                                                 "AMAssetFund",
                                                 "AMAssetFundAlter",
                                                 "AMAssetFundAccAlter",
                                                 "AMAssetFundDaily",
                                                 "AMAssetFundBalanceEx"};

struct Sets {
    tk::bench::BenchAccountSet old{"bench_turn_old", true, {2024}};
    tk::bench::BenchAccountSet next{"bench_turn_new", true, {2025}};

    // A year of history in the old set: added in January, twelve periods closed.
    Sets() {
        old.admin(tk::bench::AssetsWithThreeSources(AssetCount()));
        old.useOnThisThread();
        clsAMAssetDeprection depreciation;
        for (int16_t period = 1; period <= 12; ++period) {
            depreciation.WriteDaily(2024, period, 0, false, false, kOrg);
            depreciation.WriteBalance(0, 2024, period, "2024-01-31", "计提折旧", false, 0, 1, kOrg);
            depreciation.WriteDaily(2024, period, 0, true, false, kOrg);
        }
        old.admin("ANALYZE;");
    }
};

Sets& sets() {
    static Sets made;
    return made;
}

// Prints how long each step of the run took, to find where the time goes.
class StepClock {
  public:
    void operator()(const std::string& step, size_t, size_t) {
        finish();
        step_ = step;
        start_ = std::chrono::steady_clock::now();
    }
    void finish() {
        if (step_.empty()) return;
        std::chrono::duration<double> took = std::chrono::steady_clock::now() - start_;
        // padded by display cells, so the Chinese step names line up
        const size_t width = tk::report::TablePrinter::displayWidth(step_);
        std::fprintf(stderr, "  %s%*s %8.2f s\n", step_.c_str(), int(width < 24 ? 24 - width : 0),
                     "", took.count());
        step_.clear();
    }

  private:
    std::string step_;
    std::chrono::steady_clock::time_point start_;
};

void BM_CarryForward(benchmark::State& state) {
    Sets& s = sets();
    // As the host does, the run may read the old set while it lasts.
    tk::am::CrossSetAccess readOld(tk::bench::benchServer(), "bench_turn_old", "bench_turn_new");
    for (auto _ : state) {
        s.next.useOnThisThread();
        tk::am::context().OldUser = "bench_turn_old";
        tk::am::context().NewUser = "bench_turn_new";
        clsAMAssetTurn turn;
        turn.scope.organization = kOrg;
        turn.scope.turnDate = "2025-01-01";
        turn.scope.startDate = "2024-01-01";
        StepClock clock;
        turn.onStep = std::ref(clock);
        std::string message;
        bool ok = turn.Execute(message);
        clock.finish();
        if (!ok) state.SkipWithError(("carry-forward failed: " + message).c_str());
    }
    state.SetItemsProcessed(state.iterations() * AssetCount());
}
BENCHMARK(BM_CarryForward)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

// The floor: the rows the carry-forward left in the new set, written again
// by one "Insert ... Select" per table into empty copies.
void BM_InsertSelectFloor(benchmark::State& state) {
    Sets& s = sets();
    std::string make, copy, drop;
    for (const std::string& t : kWrittenTables) {
        make += "CREATE TABLE floor_" + t + " (LIKE bench_turn_new." + t + ");";
        copy += "INSERT INTO floor_" + t + " SELECT * FROM bench_turn_new." + t + ";";
        drop += "DROP TABLE floor_" + t + ";";
    }
    for (auto _ : state) {
        state.PauseTiming();
        s.next.admin(make);
        state.ResumeTiming();
        s.next.admin(copy);
        state.PauseTiming();
        s.next.admin(drop);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * AssetCount());
}
BENCHMARK(BM_InsertSelectFloor)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
