// The upgrade from the older fixed-asset module: a company of cards with five
// alterations each and a year of monthly depreciation, replayed into a new
// account set, beside the floor of one "Insert ... Select" per table writing
// the rows the upgrade wrote into indexed copies, with each step's share and
// the statements that took the time. TKAM_UPGRADE_CARDS sets the number of
// cards (10,000).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "BenchAccountSet.hpp"
#include "Floor.hpp"
#include "RatioTable.hpp"
#include "StepClock.hpp"
#include "TopStatements.hpp"
#include "connect/Session.hpp"
#include "frame/Context.hpp"
#include "provision/CrossSetAccess.hpp"
#include "upgrade/clsAMAssetUpdate.hpp"

namespace {

int CardCount() {
    const char* value = std::getenv("TKAM_UPGRADE_CARDS");
    return value && *value ? std::atoi(value) : 10000;
}

std::string Script(const char* file) {
    std::ifstream in(std::filesystem::path(TKAM_DB_DIR) / ".." / "examples" / "older_module" /
                     file);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

struct Sets {
    tk::bench::BenchAccountSet old{"bench_upg_old", true, {2024}};
    tk::bench::BenchAccountSet next{"bench_upg_new", true, {2024, 2025}};

    Sets() {
        old.conn().session().runScript("SET search_path TO bench_upg_old, oracompat, public;" +
                                       Script("fixed_tables.sql") + Script("company.sql") +
                                       "SELECT FixedModuleCompany(0.42, " +
                                       std::to_string(CardCount()) + ", 2024, 1, 5); ANALYZE;");
    }
};

Sets& sets() {
    static Sets made;
    return made;
}

// The run, once, then its floor: the rows it left in the new set.
void BM_UpgradeFromOlderModule(benchmark::State& state) {
    Sets& s = sets();
    tk::bench::Floor floor(s.old, s.next.schema());
    floor.countNow();
    tk::bench::TopStatements statements(s.old);
    tk::bench::StepClock clock;
    s.old.settle();
    const auto started = std::chrono::steady_clock::now();
    for (auto _ : state) {
        s.next.useOnThisThread();
        tk::am::Context& c = tk::am::context();
        c.OldUser = "bench_upg_old";
        c.NewUser = "bench_upg_new";
        c.OldVer = "8.50";
        c.NewVer = "a.83.20130430";
        // the new set reads the old one, as the command grants it for a run
        tk::am::CrossSetAccess readOld(tk::bench::benchServer(), c.OldUser, c.NewUser,
                                       tk::am::CrossSetAccess::Purpose::Upgrade);
        tk::am::clsAMAssetUpdate update;
        update.advise([&](std::string_view event, tk::Dispatchable::Args& args) {
            if (event == "UpdateProgress") clock.step(args[2].toText());
        });
        std::string message;
        const bool upgraded = update.Execute(message);
        clock.finish();
        if (!upgraded) state.SkipWithError(("upgrade failed: " + message).c_str());
    }
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - started;
    state.SetItemsProcessed(state.iterations() * CardCount());
    clock.print("升级各步骤");
    statements.print("升级", took.count());
    floor.addGrownTables();
    tk::bench::ReportRatio("升级 " + std::to_string(CardCount()) + " 张卡片", took.count(),
                           floor.seconds(), 12);
}
BENCHMARK(BM_UpgradeFromOlderModule)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
