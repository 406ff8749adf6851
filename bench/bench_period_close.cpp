// The month end an operator waits for: one period closed as `amasset period
// close` closes it (the period's card movements posted, its depreciation
// and balances written and apportioned, the depreciation posted), on
// assets with three funding sources and two account lines
// each. Beside it the floor: the rows the close wrote, written again by one
// "Insert ... Select" per table into empty indexed copies. The sizes 10,000
// and 100,000 give the scaling curve, and the summary prints the growth
// between sizes; TKAM_BENCH_MILLION=1 adds 1,000,000 assets, whose account
// set takes long to build.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>

#include "BenchAccountSet.hpp"
#include "GeneratedAssets.hpp"
#include "ledger/LedgerSession.hpp"
#include "ledger/PeriodCloser.hpp"

namespace {

using tk::bench::BenchAccountSet;
using tk::ledger::LedgerSession;
using tk::ledger::PeriodCloser;
using tk::ledger::YearPeriod;

constexpr int kOrg = 1;
const char* const kWrittenTables[] = {"AMAssetFundBalance", "AMAssetFundBalanceEx",
                                      "AMAssetFundDaily", "AMAssetFundBalanceAmortise",
                                      "AMAssetFundBalanceAmortiseEx"};

// An account set of `assets` generated assets whose January is closed.
class ClosingSet {
  public:
    explicit ClosingSet(int assets) : set_("bench_close_" + std::to_string(assets), true, {2024}) {
        set_.admin(tk::bench::AssetsWithThreeSources(assets));
        closeNext();
    }
    void closeNext() {
        set_.useOnThisThread();
        const LedgerSession session = LedgerSession::ofThread(kOrg);
        PeriodCloser(session).close(next_, next_);
        closed_ = next_;
        next_ = next_.next();
    }
    bool yearLeft() const { return next_.year == 2024; }
    // Seconds taken by one "Insert ... Select" per table of the last closed
    // period's rows into an empty copy with the table's indexes.
    double floorSeconds() {
        std::string make, copy, drop;
        for (const std::string table : kWrittenTables) {
            const std::string period =
                table == "AMAssetFundDaily"
                    ? " WHERE YearPeriod = " + std::to_string(closed_.key())
                    : " WHERE intYear = " + std::to_string(closed_.year) +
                          " AND bytPeriod = " + std::to_string(closed_.period);
            make += "CREATE TABLE floor_" + table + " (LIKE " + table + " INCLUDING INDEXES);";
            copy += "INSERT INTO floor_" + table + " SELECT * FROM " + table + period +
                    " AND lngOrganizationID = " + std::to_string(kOrg) + ";";
            drop += "DROP TABLE floor_" + table + ";";
        }
        set_.admin(make);
        const auto started = std::chrono::steady_clock::now();
        set_.admin(copy);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - started;
        set_.admin(drop);
        return took.count();
    }

  private:
    BenchAccountSet set_;
    YearPeriod next_{2024, 1}, closed_{};
};

ClosingSet& closingSet(int assets) {
    static std::map<int, std::unique_ptr<ClosingSet>> sets;
    auto& set = sets[assets];
    if (!set) set = std::make_unique<ClosingSet>(assets);
    return *set;
}

struct Figures {
    double close = 0, floor = 0;  // seconds per period
};
std::map<int, Figures>& figures() {
    static std::map<int, Figures> bySize;
    return bySize;
}

void BM_MonthEndClose(benchmark::State& state) {
    const int assets = static_cast<int>(state.range(0));
    ClosingSet& set = closingSet(assets);
    double seconds = 0;
    for (auto _ : state) {
        if (!set.yearLeft()) {
            state.SkipWithError("no open period left in 2024");
            break;
        }
        const auto started = std::chrono::steady_clock::now();
        set.closeNext();
        seconds +=
            std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    }
    figures()[assets].close = seconds / static_cast<double>(state.iterations());
    state.SetItemsProcessed(state.iterations() * assets);
}

void BM_MonthEndCloseFloor(benchmark::State& state) {
    const int assets = static_cast<int>(state.range(0));
    ClosingSet& set = closingSet(assets);
    double seconds = 0;
    for (auto _ : state) {
        const double took = set.floorSeconds();
        state.SetIterationTime(took);
        seconds += took;
    }
    figures()[assets].floor = seconds / static_cast<double>(state.iterations());
    state.SetItemsProcessed(state.iterations() * assets);
}

void RegisterSizes() {
    auto* close = benchmark::RegisterBenchmark("BM_MonthEndClose", BM_MonthEndClose);
    auto* floor = benchmark::RegisterBenchmark("BM_MonthEndCloseFloor", BM_MonthEndCloseFloor);
    close->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
    floor->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(2);
    for (int assets : {10000, 100000}) {
        close->Arg(assets);
        floor->Arg(assets);
    }
    const char* million = std::getenv("TKAM_BENCH_MILLION");
    if (million && *million && std::string(million) != "0") {
        close->Arg(1000000);
        floor->Arg(1000000);
    }
}

// Each size against its floor and against the size before it: a time that
// grows faster than the number of assets shows as a growth above the size's.
void PrintScaling() {
    std::printf("\n%10s %12s %12s %8s %14s\n", "assets", "close ms", "floor ms", "ratio",
                "growth (size)");
    const std::pair<const int, Figures>* before = nullptr;
    for (const auto& size : figures()) {
        const Figures& f = size.second;
        std::printf("%10d %12.0f %12.0f %7.1fx", size.first, f.close * 1000, f.floor * 1000,
                    f.floor > 0 ? f.close / f.floor : 0.0);
        if (before && before->second.close > 0)
            std::printf(" %6.1fx (%4.1fx)", f.close / before->second.close,
                        static_cast<double>(size.first) / before->first);
        std::printf("\n");
        before = &size;
    }
}

}  // namespace

int main(int argc, char** argv) {
    RegisterSizes();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    PrintScaling();
    benchmark::Shutdown();
    return 0;
}
