// The year-end carry-forward of one organisation: assets with three funding
// sources and two account lines each and a year of history, carried into
// the next account set, beside the floor of one "Insert ... Select" per table
// writing the same rows into indexed copies, with each step's share and the
// statements that took the time. TKAM_TURN_ASSETS sets the size (100,000).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <string>

#include "BenchAccountSet.hpp"
#include "Floor.hpp"
#include "GeneratedAssets.hpp"
#include "RatioTable.hpp"
#include "StepClock.hpp"
#include "TopStatements.hpp"
#include "carryforward/clsAMAssetTurn.hpp"
#include "depreciation/clsAMAssetDeprection.hpp"
#include "frame/Context.hpp"
#include "provision/CrossSetAccess.hpp"

namespace {

using tk::am::clsAMAssetDeprection;
using tk::am::clsAMAssetTurn;

constexpr int kOrg = 1;

int AssetCount() {
    const char* value = std::getenv("TKAM_TURN_ASSETS");
    return value && *value ? std::atoi(value) : 100000;
}

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

// The run, once, then its floor: the rows it left in the new set.
void BM_CarryForward(benchmark::State& state) {
    Sets& s = sets();
    // As the host does, the run may read the old set while it lasts.
    tk::am::CrossSetAccess readOld(tk::bench::benchServer(), "bench_turn_old", "bench_turn_new");
    tk::bench::Floor floor(s.old, s.next.schema());
    floor.countNow();
    tk::bench::TopStatements statements(s.old);
    tk::bench::StepClock clock;
    s.old.settle();
    const auto started = std::chrono::steady_clock::now();
    for (auto _ : state) {
        s.next.useOnThisThread();
        tk::am::context().OldUser = "bench_turn_old";
        tk::am::context().NewUser = "bench_turn_new";
        clsAMAssetTurn turn;
        turn.scope.organization = kOrg;
        turn.scope.turnDate = "2025-01-01";
        turn.scope.startDate = "2024-01-01";
        turn.onStep = [&](const std::string& step, size_t, size_t) { clock.step(step); };
        std::string message;
        bool ok = turn.Execute(message);
        clock.finish();
        if (!ok) state.SkipWithError(("carry-forward failed: " + message).c_str());
    }
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - started;
    state.SetItemsProcessed(state.iterations() * AssetCount());
    clock.print("结转各步骤");
    statements.print("结转", took.count());
    floor.addGrownTables();
    tk::bench::ReportRatio("结转 " + std::to_string(AssetCount()) + " 项资产", took.count(),
                           floor.seconds(), 8);
}
BENCHMARK(BM_CarryForward)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
