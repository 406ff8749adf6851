// The depreciation engine at organisation scale: a period's balances for
// 100,000 assets beside the floor of its rows, balances and working copy,
// written again by one "Insert ... Select" per table, and its two steps
// apart; the recalculation after an addition; the journal rebuild of 10,000
// assets over twelve periods beside the floor of inserting its rows.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>

#include "BenchAccountSet.hpp"
#include "Floor.hpp"
#include "RatioTable.hpp"
#include "RunBenchmarks.hpp"
#include "TopStatements.hpp"
#include "connect/Connection.hpp"
#include "depreciation/clsAMAssetDaily.hpp"
#include "depreciation/clsAMAssetDeprection.hpp"

namespace {

using tk::am::clsAMAssetDaily;
using tk::am::clsAMAssetDeprection;

constexpr int kLargeOrg = 1, kLargeAssets = 100000;  // the WriteBalance organisation
constexpr int kJournalOrg = 2, kJournalAssets = 10000, kJournalPeriods = 12;
constexpr int kNewOrg = 3, kNewAssets = 2000;       // added in the open period
constexpr int kMixedOrg = 4, kMixedAssets = 20000;  // the four methods that run on periods

// Assets added in a period of 2024 with one funding source each, generated
// in the database itself: straight-line, or the method the expression
// `method` gives asset g.
std::string GenerateAssets(int org, int first, int count, int period = 1,
                           const std::string& method = "2") {
    std::string range =
        "generate_series(" + std::to_string(first) + ", " + std::to_string(first + count - 1) + ")";
    std::string o = std::to_string(org), p = std::to_string(period);
    return "INSERT INTO AMAsset (lngAMAssetID, strAMAssetCode, strAMAssetName, lngAMAssetTypeID,"
           " lngAMAssetInitAlterID, lngAMAssetLastAlterID, lngOrganizationID, lngDepartmentID)"
           " SELECT g, 'B' || g, '设备' || g, 10, g, g, " +
           o + ", 3 FROM " + range +
           " g;"
           "INSERT INTO AMAssetAlter (lngAMAssetAlterID, lngAMAssetID, intYear, bytPeriod, "
           "strDate, lngAMAssetTypeID,"
           " bytAlterType, bytDepreciationMethod, bytStatus, lngOrganizationID, dblAmount, "
           "dblNetworth, dblUseage,"
           " dblAmountAlter)"
           " SELECT g, g, 2024, " +
           p + ", '2024-01-15', 10, 1, " + method + ", 2, " + o +
           ", 12000 + g % 1000, 0, 36 + g % 48,"
           " 12000 + g % 1000 FROM " +
           range +
           " g;"
           "INSERT INTO AMAssetFundAlter (lngAMAssetFundAlterID, lngAMAssetAlterID, lngAMAssetID, "
           "lngAMFundID, intYear,"
           " bytPeriod, strDate, dblAmount, dblAmountAlter, bytAlterType, bytStatus, "
           "lngOrganizationID)"
           " SELECT g, g, g, 1, 2024, " +
           p + ", '2024-01-15', 12000 + g % 1000, 12000 + g % 1000, 1, 2, " + o + " FROM " + range +
           " g;"
           "INSERT INTO AMAssetFund SELECT g, 1, g, g FROM " +
           range + " g;";
}

// The account set with its generated assets, made once for all benchmarks.
tk::bench::BenchAccountSet& accountSet() {
    static tk::bench::BenchAccountSet& set = []() -> tk::bench::BenchAccountSet& {
        static tk::bench::BenchAccountSet generated("bench_depreciation", true);
        generated.admin(GenerateAssets(kLargeOrg, 1, kLargeAssets) +
                        GenerateAssets(kJournalOrg, kLargeAssets + 1, kJournalAssets) +
                        GenerateAssets(kNewOrg, kLargeAssets + kJournalAssets + 1, kNewAssets, 3) +
                        GenerateAssets(kMixedOrg, kLargeAssets + kJournalAssets + kNewAssets + 1,
                                       kMixedAssets, 1, "(ARRAY[2, 4, 5, 6])[1 + g % 4]") +
                        "SELECT setval('AMAsset_SEQ', 200000), setval('AMAssetAlter_SEQ', 200000),"
                        " setval('AMAssetFundAlter_SEQ', 200000); ANALYZE;");
        return generated;
    }();
    set.useOnThisThread();
    return set;
}

// Mean seconds of each benchmark's runs, for the ratios printed at the end.
std::map<std::string, double>& means() {
    static std::map<std::string, double> byName;
    return byName;
}

// Runs `each` once per iteration and keeps its mean time under `name`;
// `after`, untimed, undoes what it wrote.
template <typename Each>
void Timed(benchmark::State& state, const std::string& name, Each each,
           const std::function<void()>& after = {}) {
    double seconds = 0;
    for (auto _ : state) {
        state.PauseTiming();
        accountSet().settle();
        state.ResumeTiming();
        const auto started = std::chrono::steady_clock::now();
        each();
        seconds +=
            std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        if (!after) continue;
        state.PauseTiming();
        after();
        state.ResumeTiming();
    }
    means()[name] = seconds / static_cast<double>(state.iterations());
}

bool WritePeriod(clsAMAssetDeprection& depreciation, int org, int period) {
    return depreciation.WriteBalance(0, 2024, static_cast<int16_t>(period), "2024-01-31",
                                     "计提折旧", false, 0, 1, org);
}

// February again and again: each run replaces the period's 100,000 rows and
// its working copy, continuing January's schedules.
void BM_WriteBalance100k(benchmark::State& state) {
    accountSet();
    clsAMAssetDeprection depreciation;
    if (!WritePeriod(depreciation, kLargeOrg, 1)) state.SkipWithError("January failed");
    tk::bench::TopStatements statements(accountSet());
    Timed(state, "WriteBalance", [&] {
        if (!WritePeriod(depreciation, kLargeOrg, 2)) state.SkipWithError("WriteBalance failed");
    });
    state.SetItemsProcessed(state.iterations() * kLargeAssets);
    statements.print("WriteBalance 100,000 项资产",
                     means()["WriteBalance"] * static_cast<double>(state.iterations()));
}
BENCHMARK(BM_WriteBalance100k)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// A process's floor, timed as one: `floor`'s copies, their mean kept under `name`.
void TimedFloor(benchmark::State& state, tk::bench::Floor& floor, const std::string& name,
                int64_t items) {
    double seconds = 0;
    for (auto _ : state) {
        const double took = floor.seconds();
        state.SetIterationTime(took);
        seconds += took;
    }
    means()[name] = seconds / static_cast<double>(state.iterations());
    state.SetItemsProcessed(state.iterations() * items);
}

// The floor: the rows February's run wrote, its balances and its working
// copy, written again by one "Insert ... Select" per table.
void BM_WriteBalanceFloor100k(benchmark::State& state) {
    tk::bench::Floor floor(accountSet(), accountSet().schema());
    const std::string february = " WHERE lngOrganizationID = " + std::to_string(kLargeOrg) +
                                 " AND intYear = 2024 AND bytPeriod = 2";
    floor.add("AMAssetFundBalance", february);
    floor.add("AMAssetFundBalanceEx", february);
    TimedFloor(state, floor, "WriteBalanceFloor", kLargeAssets);
}
BENCHMARK(BM_WriteBalanceFloor100k)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

// The two steps of February's run: the schedule computation alone (every
// column of the rows computed, a whole-row reference leaving none out as
// unused, none written) and the working copy made from the written rows.
// The settings are read into variables first, as the routine does: passed
// as calls they would keep the rows' statement from being inlined and
// planned for the whole organisation.
void ComputeSchedules(benchmark::State& state, int org, int assets) {
    std::string script =
        "SET jit = off; SET work_mem = '64MB';"
        " DO $$ DECLARE"
        " v_type integer := AMAssetModuleSetting(@, '折旧类型', 1);"
        " v_method integer := AMAssetModuleSetting(@, '常用折旧方法', 2);"
        " v_life numeric := AMAssetModuleSetting(@, '预计使用期间', 0);"
        " BEGIN PERFORM count(r.*) FROM AMAssetBalanceRows(2024, 2, 202402, @, true, 0, 202401,"
        " v_type, v_method, v_life) r; END $$; RESET jit; RESET work_mem";
    for (size_t at; (at = script.find('@')) != std::string::npos;)
        script.replace(at, 1, std::to_string(org));
    for (auto _ : state) accountSet().admin(script);
    state.SetItemsProcessed(state.iterations() * assets);
}

void BM_ScheduleComputation100k(benchmark::State& state) {
    ComputeSchedules(state, kLargeOrg, kLargeAssets);
}
BENCHMARK(BM_ScheduleComputation100k)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// The same for straight-line, double-declining, sum-of-the-years' and
// fixed-declining assets in equal numbers, January depreciated first.
void BM_ScheduleComputationMixedMethods20k(benchmark::State& state) {
    accountSet();
    clsAMAssetDeprection depreciation;
    if (!WritePeriod(depreciation, kMixedOrg, 1)) state.SkipWithError("January failed");
    ComputeSchedules(state, kMixedOrg, kMixedAssets);
}
BENCHMARK(BM_ScheduleComputationMixedMethods20k)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

void BM_WorkingCopy100k(benchmark::State& state) {
    for (auto _ : state) accountSet().admin("SELECT AMAssetDeprectionProcess2(2024, 2, 0, 0, 1)");
    state.SetItemsProcessed(state.iterations() * kLargeAssets);
}
BENCHMARK(BM_WorkingCopy100k)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// The monthly run: each iteration depreciates the next period.
void BM_WriteBalance100kNextPeriod(benchmark::State& state) {
    accountSet();
    clsAMAssetDeprection depreciation;
    int period = 2;
    for (auto _ : state)
        if (!WritePeriod(depreciation, kLargeOrg, ++period))
            state.SkipWithError("WriteBalance failed");
    state.SetItemsProcessed(state.iterations() * kLargeAssets);
}
BENCHMARK(BM_WriteBalance100kNextPeriod)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(5);

// The recalculation after an addition, one asset at a time: in the open
// period (the usual case) and, as a carry-forward or an upgrade rebuilds
// (mode 1), into a period already depreciated, which writes that period
// again for the asset.
void CalculateAdditions(benchmark::State& state, int16_t mode, int org, int first, int count) {
    accountSet();
    clsAMAssetDeprection depreciation;
    int32_t n = 0;
    for (auto _ : state)
        if (!depreciation.CaclDeprectionAdd(mode, first + n++ % count, org))
            state.SkipWithError(depreciation.ErrorMessage().c_str());
}

void BM_CaclDeprectionAdd(benchmark::State& state) {
    CalculateAdditions(state, 0, kNewOrg, kLargeAssets + kJournalAssets + 1, kNewAssets);
}
BENCHMARK(BM_CaclDeprectionAdd)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CaclDeprectionAddIntoADepreciatedPeriod(benchmark::State& state) {
    CalculateAdditions(state, 1, kLargeOrg, 1, kLargeAssets);
}
BENCHMARK(BM_CaclDeprectionAddIntoADepreciatedPeriod)->Unit(benchmark::kMillisecond)->UseRealTime();

// Rebuilding the journal of 10,000 assets with twelve depreciated periods.
void BM_JournalRebuild10kOver12Periods(benchmark::State& state) {
    accountSet();
    clsAMAssetDeprection depreciation;
    for (int period = 1; period <= kJournalPeriods; ++period)
        if (!WritePeriod(depreciation, kJournalOrg, period)) state.SkipWithError("a period failed");
    clsAMAssetDaily daily;
    Timed(state, "JournalRebuild", [&] {
        std::string message;
        if (!daily.Execute(kJournalOrg, message)) state.SkipWithError(message.c_str());
    });
    state.SetItemsProcessed(state.iterations() * kJournalAssets * (kJournalPeriods + 1));
}
BENCHMARK(BM_JournalRebuild10kOver12Periods)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

// Its floor: the journal rows the rebuild wrote, written again by one
// "Insert ... Select" into an empty copy with the journal's indexes.
void BM_JournalInsertFloor10kOver12Periods(benchmark::State& state) {
    tk::bench::Floor floor(accountSet(), accountSet().schema());
    floor.add("AMAssetFundDaily", " WHERE lngOrganizationID = " + std::to_string(kJournalOrg));
    TimedFloor(state, floor, "JournalRebuildFloor", kJournalAssets * (kJournalPeriods + 1));
}
BENCHMARK(BM_JournalInsertFloor10kOver12Periods)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(3);

// The ratios of the two processes measured against their floors.
void PrintRatios() {
    std::printf("\n");
    auto& m = means();
    if (m.count("WriteBalance") && m.count("WriteBalanceFloor"))
        tk::bench::ReportRatio("WriteBalance 100,000 项资产", m["WriteBalance"],
                               m["WriteBalanceFloor"], 3.5);
    if (m.count("JournalRebuild") && m.count("JournalRebuildFloor"))
        tk::bench::ReportRatio("日记账重建 10,000 项资产 × 12 期", m["JournalRebuild"],
                               m["JournalRebuildFloor"], 2.5);
}

}  // namespace

int main(int argc, char** argv) { return tk::bench::RunBenchmarks(argc, argv, PrintRatios); }
