// The month end an operator waits for: one period closed as `amasset period
// close` closes it (the period's card movements posted, its depreciation
// and balances written and apportioned, the depreciation posted), on
// assets with three funding sources and two account lines
// each. Beside it the floor: the rows the close wrote, written again by one
// "Insert ... Select" per table into empty indexed copies. The sizes 10,000
// and 100,000 give the scaling curve, and the summary prints the growth
// between sizes; TKAM_BENCH_MILLION=1 adds 1,000,000 assets, whose account
// set takes long to build. Each size also gives each step's share of the close
// and the time one asset takes to be recalculated in the closed period, which
// should not grow with the set.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>

#include "BenchAccountSet.hpp"
#include "Floor.hpp"
#include "GeneratedAssets.hpp"
#include "RatioTable.hpp"
#include "RunBenchmarks.hpp"
#include "StepClock.hpp"
#include "TopStatements.hpp"
#include "depreciation/clsAMAssetDeprection.hpp"
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
    explicit ClosingSet(int assets)
        : assets_(assets), set_("bench_close_" + std::to_string(assets), true, {2024}) {
        set_.admin(tk::bench::AssetsWithThreeSources(assets));
        closeNext();
        steps_ = {};
    }
    void closeNext() {
        set_.useOnThisThread();
        const LedgerSession session = LedgerSession::ofThread(kOrg);
        PeriodCloser closer(session);
        closer.onStep = [this](const std::string& step) { steps_.step(step); };
        closer.close(next_, next_);
        steps_.finish();
        closed_ = next_;
        next_ = next_.next();
    }
    bool yearLeft() const { return next_.year == 2024; }
    // The last closed period's rows of the tables a close writes.
    double floorSeconds() {
        tk::bench::Floor floor(set_, set_.schema());
        const std::string org = " AND lngOrganizationID = " + std::to_string(kOrg);
        for (const std::string table : kWrittenTables)
            floor.add(table, (table == "AMAssetFundDaily"
                                  ? " WHERE YearPeriod = " + std::to_string(closed_.key())
                                  : " WHERE intYear = " + std::to_string(closed_.year) +
                                        " AND bytPeriod = " + std::to_string(closed_.period)) +
                                 org);
        return floor.seconds();
    }
    // One asset (of a rotation through the set) calculated again into the
    // closed period: its balances, apportionment and posted depreciation.
    bool recalculateOne() {
        set_.useOnThisThread();
        tk::am::clsAMAssetDeprection depreciation;
        next_asset_ = next_asset_ % assets_ + 1;
        return depreciation.CaclDeprectionAdd(1, next_asset_, kOrg);
    }
    tk::bench::BenchAccountSet& set() { return set_; }
    const tk::bench::StepClock& steps() const { return steps_; }

  private:
    int assets_;
    int32_t next_asset_ = 0;
    BenchAccountSet set_;
    YearPeriod next_{2024, 1}, closed_{};
    tk::bench::StepClock steps_;
};

ClosingSet& closingSet(int assets) {
    static std::map<int, std::unique_ptr<ClosingSet>> sets;
    auto& set = sets[assets];
    if (!set) set = std::make_unique<ClosingSet>(assets);
    return *set;
}

struct Figures {
    double close = 0, floor = 0, recalculation = 0;  // seconds per period, per asset
};
std::map<int, Figures>& figures() {
    static std::map<int, Figures> bySize;
    return bySize;
}

void BM_MonthEndClose(benchmark::State& state) {
    const int assets = static_cast<int>(state.range(0));
    ClosingSet& set = closingSet(assets);
    tk::bench::TopStatements statements(set.set());
    double seconds = 0;
    for (auto _ : state) {
        if (!set.yearLeft()) {
            state.SkipWithError("no open period left in 2024");
            break;
        }
        state.PauseTiming();
        set.set().settle();
        state.ResumeTiming();
        const auto started = std::chrono::steady_clock::now();
        set.closeNext();
        seconds +=
            std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    }
    figures()[assets].close = seconds / static_cast<double>(state.iterations());
    state.SetItemsProcessed(state.iterations() * assets);
    const std::string size = std::to_string(assets) + " 项资产";
    set.steps().print("月末结账各步骤 (" + size + ")");
    statements.print("月末结账 (" + size + ")", seconds);
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

void BM_OneAssetRecalculated(benchmark::State& state) {
    const int assets = static_cast<int>(state.range(0));
    ClosingSet& set = closingSet(assets);
    set.set().settle();
    tk::bench::TopStatements statements(set.set());
    const auto started = std::chrono::steady_clock::now();
    for (auto _ : state)
        if (!set.recalculateOne()) state.SkipWithError("the recalculation failed");
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - started;
    figures()[assets].recalculation = took.count() / static_cast<double>(state.iterations());
    statements.print("一项资产重算 (" + std::to_string(assets) + " 项资产, " +
                         std::to_string(state.iterations()) + " 次)",
                     took.count());
}

void RegisterSizes() {
    auto* close = benchmark::RegisterBenchmark("BM_MonthEndClose", BM_MonthEndClose);
    auto* floor = benchmark::RegisterBenchmark("BM_MonthEndCloseFloor", BM_MonthEndCloseFloor);
    auto* one = benchmark::RegisterBenchmark("BM_OneAssetRecalculated", BM_OneAssetRecalculated);
    close->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
    floor->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(2);
    one->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);
    std::vector<int> sizes{10000, 100000};
    const char* million = std::getenv("TKAM_BENCH_MILLION");
    if (million && *million && std::string(million) != "0") sizes.push_back(1000000);
    for (int assets : sizes) {
        close->Arg(assets);
        floor->Arg(assets);
        one->Arg(assets);
    }
}

// Each size against its floor and against the size before it: a time that
// grows faster than the number of assets shows as a growth above the size's.
void PrintScaling() {
    std::printf("\n%10s %12s %12s %8s %14s %16s\n", "assets", "close ms", "floor ms", "ratio",
                "growth (size)", "one asset ms");
    const std::pair<const int, Figures>* before = nullptr;
    for (const auto& size : figures()) {
        const Figures& f = size.second;
        std::printf("%10d %12.0f %12.0f %7.1fx", size.first, f.close * 1000, f.floor * 1000,
                    f.floor > 0 ? f.close / f.floor : 0.0);
        if (before && before->second.close > 0)
            std::printf(" %6.1fx (%4.1fx)", f.close / before->second.close,
                        static_cast<double>(size.first) / before->first);
        else
            std::printf(" %15s", "");
        std::printf(" %16.2f\n", f.recalculation * 1000);
        before = &size;
    }
    if (figures().empty()) return;
    const auto& [smallest, first] = *figures().begin();
    const auto& [largest, last] = *figures().rbegin();
    for (const auto& [assets, f] : figures())
        tk::bench::ReportRatio("月末结账 " + std::to_string(assets) + " 项资产", f.close, f.floor,
                               1.5);
    // flat: the largest set's recalculation against the smallest's
    tk::bench::ReportRatio(
        "一项资产重算 " + std::to_string(largest) + " / " + std::to_string(smallest) + " 项资产",
        last.recalculation, first.recalculation, 1.25);
}

}  // namespace

int main(int argc, char** argv) {
    RegisterSizes();
    return tk::bench::RunBenchmarks(argc, argv, PrintScaling);
}
