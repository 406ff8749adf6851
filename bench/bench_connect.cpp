// Translation cost of the component's Oracle texts beside the round trip they
// ride on, the memory of the translation cache over a million distinct
// statements, and the cost of a long transaction with a savepoint per
// statement.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "BenchAccountSet.hpp"
#include "connect/Connection.hpp"
#include "translate/OracleTranslator.hpp"
#include "translate/TranslationCache.hpp"

namespace {
using tk::connect::Connection;
using tk::translate::OracleTranslator;
using tk::translate::TranslationCache;

const std::vector<std::string>& corpus() {
    static const std::vector<std::string> texts = {
        "select ts#+1 as tmp, name from sys.ts$ where name='ZT_TMP'",
        "SELECT ZT.AMAsset_SEQ.NEXTVAL FROM DUAL",
        " Select AMAssetType.*,AssetAccount.strAccountCode || ' ' || AssetAccount.strAccountName "
        "As "
        "strAssetAcc, Nvl(DeprAccount.strAccountCode,'') || ' ' || "
        "Nvl(DeprAccount.strAccountName,'') "
        "As strDeprAcc From ZT.AMAssetType,ZT.Account AssetAccount, ZT.Account DeprAccount Where "
        "AMAssetType.lngAssetAccountID = AssetAccount.lngAccountID(+) And "
        "AMAssetType.lngDepreciationAccountID = DeprAccount.lngAccountID(+) And "
        "AMAssetType.lngAMAssetTypeID = 3",
        "Select fa.lngorganizationid, fa.lngamassetalterid From ZT.AMAssetAlter fa, "
        "ZT.AMAssetFundDaily fd Where fa.lngAMAssetAlterID = fd.lngAMAssetAlterID(+) And "
        "fa.lngOrganizationID = fd.lngOrganizationID(+) And fd.lngAMAssetAlterID Is Null And "
        "fa.lngOrganizationID = 1 And rownum = 1",
        "Select Round(SUM(fd.dblAmountAlter - Decode(fa.bytStatus, 2, 0, 1) * "
        "Decode(fd.YearPeriod, 202401, 1, 0)),2) As dblTotalAmount From ZT.AMAssetFundDaily fd, "
        "ZT.AMAssetAlter fa Where fd.lngAMAssetAlterID = fa.lngAMAssetAlterID",
        "Delete ZT.AMAssetFund af Where af.lngAMAssetID = 5",
        "Select Nvl(Max(t.lngAMAssetID)+1,0) As lngMaxValue From ZT.AMAsset t",
    };
    return texts;
}

void BM_Translate(benchmark::State& state) {
    size_t i = 0;
    for (auto _ : state) {
        auto t = OracleTranslator::translate(corpus()[i++ % corpus().size()], false);
        benchmark::DoNotOptimize(t);
    }
}
BENCHMARK(BM_Translate);

tk::bench::BenchAccountSet& accountSet() {
    static tk::bench::BenchAccountSet set("bench_connect", false);
    return set;
}

void BM_RoundTripSelectOneFromDual(benchmark::State& state) {
    Connection& conn = accountSet().conn();
    for (auto _ : state) benchmark::DoNotOptimize(conn.GetRecordset("Select 1 From dual", 3, 1));
}
BENCHMARK(BM_RoundTripSelectOneFromDual);

double medianMicros(std::vector<double> samples) {
    std::nth_element(samples.begin(), samples.begin() + samples.size() / 2, samples.end());
    return samples[samples.size() / 2];
}

template <typename Fn>
double timedMicros(Fn&& fn) {
    auto start = std::chrono::steady_clock::now();
    fn();
    return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
        .count();
}

// The goal side by side: the median first-time translation of a corpus text
// against the median round trip of "Select 1 From dual" on the same server.
void BM_TranslationShareOfRoundTrip(benchmark::State& state) {
    Connection& conn = accountSet().conn();
    std::vector<double> translations, roundTrips;
    for (auto _ : state) {
        for (const auto& text : corpus())
            translations.push_back(timedMicros(
                [&] { benchmark::DoNotOptimize(OracleTranslator::translate(text, false)); }));
        roundTrips.push_back(timedMicros(
            [&] { benchmark::DoNotOptimize(conn.GetRecordset("Select 1 From dual", 3, 1)); }));
    }
    double translate = medianMicros(translations), roundTrip = medianMicros(roundTrips);
    state.counters["translate_median_us"] = translate;
    state.counters["round_trip_median_us"] = roundTrip;
    state.counters["share"] = translate / roundTrip;
}
BENCHMARK(BM_TranslationShareOfRoundTrip)->Iterations(500);

double residentMegabytes() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / 1048576.0;
}

// The statements a bulk run sends, values pasted in as the component does.
std::string pastedStatement(int n) {
    std::string v = std::to_string(n);
    switch (n % 4) {
        case 0:
            return "Insert Into ZT.AMAssetFundDaily (lngAMAssetAlterID, lngOrganizationID, "
                   "dblAmountAlter, strDate, strMemo) Values (" +
                   v + ", 5, " + v + ".25, '2024-01-" + v + "', '折旧 " + v + "')";
        case 1:
            return "Update ZT.AMAsset a Set a.strAMAssetName = 'asset " + v +
                   "', a.dblAmount = " + v + " / 3 Where a.lngAMAssetID = " + v;
        case 2:
            return "Select Round(Sum(fd.dblAmountAlter) / 12, 2) As dblMonth, Nvl(Max(fa.strDate), "
                   "' ') From ZT.AMAssetFundDaily fd, ZT.AMAssetAlter fa Where "
                   "fd.lngAMAssetAlterID = fa.lngAMAssetAlterID(+) And fa.lngAMAssetID = " +
                   v + " And fd.YearPeriod = 2024" + std::to_string(n % 12 + 10);
        default:
            return "Delete ZT.AMAssetFund af Where af.lngAMAssetID = " + v +
                   " And af.strCode || '-' || af.strName = 'x-" + v + "'";
    }
}

// A million distinct statements through one connection's translation cache:
// the memory after the first hundred thousand and at the end, and the mean
// processor time of a translation (cache lookup included) beside the median
// round trip of the cheapest statement.
void BM_MillionDistinctStatements(benchmark::State& state) {
    Connection& conn = accountSet().conn();
    std::vector<double> roundTrips;
    for (int k = 0; k < 500; ++k)
        roundTrips.push_back(timedMicros(
            [&] { benchmark::DoNotOptimize(conn.GetRecordset("Select 1 From dual", 3, 1)); }));
    const int total = 1000000;
    for (auto _ : state) {
        TranslationCache cache;
        double before = residentMegabytes(), early = 0;
        // The processor's time, so that other load does not count; building
        // the texts alone is timed first and taken off.
        std::clock_t start = std::clock();
        for (int n = 0; n < total; ++n) benchmark::DoNotOptimize(pastedStatement(n));
        std::clock_t building = std::clock() - start;
        start = std::clock();
        for (int n = 0; n < total; ++n) {
            benchmark::DoNotOptimize(cache.translate(pastedStatement(n), false));
            if (n == total / 10) early = residentMegabytes();
        }
        double seconds = static_cast<double>(std::clock() - start - building) / CLOCKS_PER_SEC;
        double end = residentMegabytes();
        double translate = seconds * 1e6 / total, roundTrip = medianMicros(roundTrips);
        state.counters["cache_shapes"] = static_cast<double>(cache.size());
        state.counters["rss_mb_before"] = before;
        state.counters["rss_mb_at_100k"] = early;
        state.counters["rss_mb_at_1m"] = end;
        state.counters["rss_growth_100k_to_1m"] = end / early;
        state.counters["translate_mean_us"] = translate;
        state.counters["round_trip_median_us"] = roundTrip;
        state.counters["share"] = translate / roundTrip;
    }
    state.SetItemsProcessed(state.iterations() * total);
}
BENCHMARK(BM_MillionDistinctStatements)->Unit(benchmark::kMillisecond)->Iterations(1);

// Ten thousand statements in one transaction, each under its own savepoint.
void BM_TransactionOf10000Statements(benchmark::State& state) {
    Connection& conn = accountSet().conn();
    int32_t count = 0;
    bool ok = false;
    conn.ExecSql("Create Table bench_rows (n integer)", 1, count, ok);
    for (auto _ : state) {
        conn.BeginTrans();
        for (int n = 0; n < 10000; ++n)
            conn.ExecSql("Insert Into bench_rows Values (" + std::to_string(n) + ")", 1, count, ok);
        conn.RollbackTrans();
    }
    conn.ExecSql("Drop Table bench_rows", 1, count, ok);
    state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(BM_TransactionOf10000Statements)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

BENCHMARK_MAIN();
