// The year-end carry-forward of one organisation: assets with three funding
// sources and two account lines each and a year of history, carried into
// the next account set, beside the floor of one "Insert ... Select" per table
// writing the same rows. TKAM_TURN_ASSETS sets the size (10,000, so that a
// run of all the benchmarks stays within minutes; 100,000 is the target size).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "BenchAccountSet.hpp"
#include "carryforward/clsAMAssetTurn.hpp"
#include "depreciation/clsAMAssetDeprection.hpp"
#include "frame/Context.hpp"

namespace {

using tk::am::clsAMAssetDeprection;
using tk::am::clsAMAssetTurn;

constexpr int kOrg = 1;

int AssetCount() {
    const char* value = std::getenv("TKAM_TURN_ASSETS");
    return value && *value ? std::atoi(value) : 10000;
}

// Straight-line assets added in January 2024, three sources each carrying a
// third of the cost, each source with two account lines.
std::string GenerateAssets(int count) {
    const std::string assets = "generate_series(1, " + std::to_string(count) + ") g";
    const std::string sources = assets + " CROSS JOIN generate_series(1, 3) f";
    return "INSERT INTO AMAsset (lngAMAssetID, strAMAssetCode, strAMAssetName, lngAMAssetTypeID,"
           " lngAMAssetInitAlterID, lngAMAssetLastAlterID, lngOrganizationID, lngDepartmentID)"
           " SELECT g, 'B' || g, '设备' || g, 10, g, g, 1, 3 FROM " +
           assets +
           ";"
           "INSERT INTO AMAssetAlter (lngAMAssetAlterID, lngAMAssetID, intYear, bytPeriod, strDate,"
           " lngAMAssetTypeID, lngDepartmentID, bytAlterType, bytDepreciationMethod, bytStatus,"
           " lngOrganizationID, dblAmount, dblUseage, dblAmountAlter)"
           " SELECT g, g, 2024, 1, '2024-01-15', 10, 3, 1, 2, 2, 1, 36000, 60, 36000 FROM " +
           assets +
           ";"
           "INSERT INTO AMAssetFundAlter (lngAMAssetFundAlterID, lngAMAssetAlterID, lngAMAssetID,"
           " lngAMFundID, intYear, bytPeriod, strDate, dblAmount, dblAmountAlter, bytAlterType,"
           " lngDepreciationAccountID, bytStatus, lngOrganizationID)"
           " SELECT 3 * (g - 1) + f, g, g, f, 2024, 1, '2024-01-15', 12000, 12000, 1, 4, 2, 1"
           " FROM " +
           sources +
           ";"
           "INSERT INTO AMAssetFund SELECT g, f, 3 * (g - 1) + f, 3 * (g - 1) + f FROM " +
           sources +
           ";"
           "INSERT INTO AMAssetFundAccAlter (lngAMAssetFundAccAlterID, lngAMAssetFundAlterID,"
           " lngAccountID, lngDepartmentID, lngOrderNo, dblQuotiety, dblRate)"
           " SELECT 2 * (3 * (g - 1) + f - 1) + k, 3 * (g - 1) + f, 12, 3, k, 1, 0.5 FROM " +
           sources +
           " CROSS JOIN generate_series(1, 2) k;"
           "SELECT setval('AMAsset_SEQ', " +
           std::to_string(count) + "), setval('AMAssetAlter_SEQ', " + std::to_string(count) +
           "), setval('AMAssetFundAlter_SEQ', " + std::to_string(3 * count) +
           "), setval('AMAssetFundAccAlter_SEQ', " + std::to_string(6 * count) + "); ANALYZE;";
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
        old.admin(GenerateAssets(AssetCount()));
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

void BM_CarryForward(benchmark::State& state) {
    Sets& s = sets();
    for (auto _ : state) {
        s.next.useOnThisThread();
        tk::am::context().OldUser = "bench_turn_old";
        tk::am::context().NewUser = "bench_turn_new";
        clsAMAssetTurn turn;
        turn.scope.organization = kOrg;
        turn.scope.turnDate = "2025-01-01";
        turn.scope.startDate = "2024-01-01";
        std::string message;
        if (!turn.Execute(message))
            state.SkipWithError(("carry-forward failed: " + message).c_str());
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
