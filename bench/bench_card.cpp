// Asset cards saved per second (a new asset with its first version) through
// clsAMAssetCard, on their own and inside one transaction of the connection,
// beside the floor of two plain inserts per asset over the same connection.
// The server comes from TKAM_BENCH_SERVER (an admin connection string); the
// account set is provisioned here and dropped at the end.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>

#include "connect/Connection.hpp"
#include "frame/Context.hpp"
#include "provision/AccountSetAdmin.hpp"
#include "register/clsAMAssetCard.hpp"

namespace {
using tk::am::clsAMAssetCard;
using tk::connect::Connection;
using Clock = std::chrono::steady_clock;

class BenchAccountSet {
  public:
    explicit BenchAccountSet(const std::string& server)
        : admin_(server), name_("bench_card_" + std::to_string(getpid())) {
        tk::am::AccountSetOptions options;
        options.years = {2024, 2025};
        options.demo = true;
        options.replace = true;
        admin_.create(name_, options);
        conn_ = std::make_shared<Connection>();
        conn_->ServerName = server;
        conn_->UserName = tk::am::AccountSetAdmin::schemaName(name_);
        conn_->Open();
        tk::am::context().User = conn_->UserName;
        tk::am::context().ConnBase = conn_;
    }
    ~BenchAccountSet() {
        tk::am::context() = tk::am::Context{};
        conn_->Close();
        admin_.drop(name_);
    }
    Connection& conn() { return *conn_; }

  private:
    tk::am::AccountSetAdmin admin_;
    std::string name_;
    std::shared_ptr<Connection> conn_;
};

std::unique_ptr<BenchAccountSet> gSet;
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
    Connection& conn = gSet->conn();
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
    gSet->conn().BeginTrans();
    SaveNewCards(state);
    gSet->conn().CommitTrans();
}
BENCHMARK(BM_SaveNewCardInTransaction)->UseRealTime()->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    const char* server = std::getenv("TKAM_BENCH_SERVER");
    if (!server || !*server) {
        std::cerr
            << "TKAM_BENCH_SERVER is not set (an admin connection string with user=amasset)\n";
        return 2;
    }
    benchmark::Initialize(&argc, argv);
    gSet = std::make_unique<BenchAccountSet>(server);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    gSet.reset();
    return 0;
}
