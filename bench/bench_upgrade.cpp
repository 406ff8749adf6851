// The upgrade from the older fixed-asset module: a company of cards with five
// alterations each and a year of monthly depreciation, replayed into a new
// account set, beside the floor of one "Insert ... Select" per old table
// copying the same rows. TKAM_UPGRADE_CARDS sets the number of cards (10,000).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "BenchAccountSet.hpp"
#include "connect/Session.hpp"
#include "frame/Context.hpp"
#include "provision/CrossSetAccess.hpp"
#include "upgrade/clsAMAssetUpdate.hpp"

namespace {

const char* const kOldTables[] = {
    "FixedCard", "FixedAlter",         "FixedAccount", "FixedDepartment",
    "FixedCost", "FixedVoucherDetail", "Asset"};

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

void BM_UpgradeFromOlderModule(benchmark::State& state) {
    Sets& s = sets();
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
        std::string message;
        if (!update.Execute(message)) state.SkipWithError(("upgrade failed: " + message).c_str());
    }
    state.SetItemsProcessed(state.iterations() * CardCount());
}
BENCHMARK(BM_UpgradeFromOlderModule)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

// The floor: the old tables' rows copied as they are into new tables of the new set.
void BM_PlainCopyFloor(benchmark::State& state) {
    Sets& s = sets();
    std::string copy, drop;
    for (const std::string t : kOldTables) {
        copy += "CREATE TABLE floor_" + t + " AS SELECT * FROM bench_upg_old." + t + ";";
        drop += "DROP TABLE floor_" + t + ";";
    }
    for (auto _ : state) {
        s.next.admin(copy);
        state.PauseTiming();
        s.next.admin(drop);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * CardCount());
}
BENCHMARK(BM_PlainCopyFloor)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
