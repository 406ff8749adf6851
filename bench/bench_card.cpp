// Asset cards saved per second (a new asset with its first version) through
// clsAMAssetCard, on their own and inside one transaction of the connection,
// beside the floor of two plain inserts per asset over the same connection.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>

#include "BenchAccountSet.hpp"
#include "connect/Connection.hpp"
#include "frame/Context.hpp"
#include "register/clsAMAssetCard.hpp"

namespace {
using tk::am::clsAMAssetCard;
using tk::connect::Connection;
using Clock = std::chrono::steady_clock;

tk::bench::BenchAccountSet& accountSet() {
    static tk::bench::BenchAccountSet set("bench_card_" + std::to_string(getpid()), true);
    return set;
}

// Seconds per asset of the raw floor, measured first.
double gRawSecondsPerAsset = 0;

void FillNewCard(clsAMAssetCard& card) {
    card.Mode = tk::am::atAdd;
    card.strAMAssetName = "基准车床";
    card.strAMAssetCode = "BENCH";
    card.strCreateDate = "2024-03-15";
    card.strStartDate = "2024-03-15";
    card.strDate = "2024-03-15";
    card.lngOrganizationID = 1;
    card.lngAMAssetTypeID = 10;
    card.intYear = 2024;
    card.bytPeriod = 3;
    card.bytAlterType = 1;
    card.dblAmount = 120000;
}

void ReportRate(benchmark::State& state, Clock::duration elapsed) {
    const double seconds = std::chrono::duration<double>(elapsed).count();
    const double perAsset = seconds / static_cast<double>(state.iterations());
    state.counters["assets_per_s"] = 1 / perAsset;
    if (gRawSecondsPerAsset > 0) state.counters["x_raw_floor"] = perAsset / gRawSecondsPerAsset;
}

void BM_RawTwoInsertsPerAsset(benchmark::State& state) {
    Connection& conn = accountSet().conn();
    static int32_t id = 100000000;  // far above the sequences the cards draw from
    const auto start = Clock::now();
    for (auto _ : state) {
        ++id;
        int32_t rows = 0;
        bool ok = false;
        conn.ExecSql("Insert Into AMAsset(lngAMAssetID,strAMAssetName) Values(" +
                         std::to_string(id) + ",'基准车床')",
                     1, rows, ok);
        conn.ExecSql("Insert Into AMAssetAlter(lngAMAssetAlterID,lngAMAssetID) Values(" +
                         std::to_string(id) + "," + std::to_string(id) + ")",
                     1, rows, ok);
    }
    const auto elapsed = Clock::now() - start;
    gRawSecondsPerAsset =
        std::chrono::duration<double>(elapsed).count() / static_cast<double>(state.iterations());
    ReportRate(state, elapsed);
}
BENCHMARK(BM_RawTwoInsertsPerAsset)->UseRealTime()->Unit(benchmark::kMicrosecond);

void SaveNewCards(benchmark::State& state) {
    const auto start = Clock::now();
    for (auto _ : state) {
        clsAMAssetCard card;
        FillNewCard(card);
        if (card.SaveCard() == 0) {
            state.SkipWithError("SaveCard returned 0");
            break;
        }
    }
    ReportRate(state, Clock::now() - start);
}

void BM_SaveNewCard(benchmark::State& state) { SaveNewCards(state); }
BENCHMARK(BM_SaveNewCard)->UseRealTime()->Unit(benchmark::kMicrosecond);

void BM_SaveNewCardInTransaction(benchmark::State& state) {
    accountSet().conn().BeginTrans();
    SaveNewCards(state);
    accountSet().conn().CommitTrans();
}
BENCHMARK(BM_SaveNewCardInTransaction)->UseRealTime()->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
