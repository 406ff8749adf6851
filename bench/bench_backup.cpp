// An account set's backup and restore beside plain pg_dump and pg_restore of the same schema:
// what the snapshot's sums, the manifest, the checks and the securing cost on top. Generated
// assets with three funding sources and two account lines each; TKAM_BACKUP_ASSETS sets how
// many (10,000, so that a run of all the benchmarks stays within minutes; 100,000 is the size
// of a large company). The ratios are printed as counters and in a summary at the end.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "BenchAccountSet.hpp"
#include "GeneratedAssets.hpp"
#include "RunBenchmarks.hpp"
#include "provision/AccountSetBackup.hpp"
#include "provision/AccountSetRestore.hpp"
#include "provision/ServerPrograms.hpp"

namespace {
namespace fs = std::filesystem;
using tk::am::ServerPrograms;
using tk::bench::benchServer;

const std::string kSet = "bench_backup";

int AssetCount() {
    const char* value = std::getenv("TKAM_BACKUP_ASSETS");
    return value && *value ? std::atoi(value) : 10000;
}

struct Bench {
    tk::bench::BenchAccountSet set{kSet, true, {2024}};
    fs::path folder = fs::temp_directory_path() / ("tkam-bench-backup-" + std::to_string(getpid()));
    fs::path ours = folder / "ours.ambackup", plain = folder / "plain.dump";
    double plainDump = 0, plainRestore = 0, backup = 0, restore = 0;  // seconds, mean of the runs

    Bench() {
        fs::create_directories(folder);
        set.admin(tk::bench::AssetsWithThreeSources(AssetCount()));
    }
    ~Bench() { fs::remove_all(folder); }
    void pgTool(const tk::am::ToolRun::Program& program) {
        ServerPrograms(benchServer()).run(program);
    }
};

Bench& bench() {
    static Bench made;
    return made;
}

// Times `step` as the iteration's time, what comes after it untimed, and
// keeps the mean of the iterations in `mean`.
void Timed(benchmark::State& state, double& mean, const std::function<void()>& step,
           const std::function<void()>& after = {}) {
    double total = 0;
    for (auto _ : state) {
        const auto started = std::chrono::steady_clock::now();
        step();
        const double took =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        state.SetIterationTime(took);
        total += took;
        if (after) after();
    }
    mean = total / static_cast<double>(state.iterations());
}

void Ratio(benchmark::State& state, const char* name, double ours, double plain) {
    state.counters[name] = plain > 0 ? ours / plain : 0;
    state.SetItemsProcessed(state.iterations() * AssetCount());
}

void BM_PlainDump(benchmark::State& state) {
    Bench& b = bench();
    Timed(state, b.plainDump, [&] {
        b.pgTool({ServerPrograms::path("pg_dump"), "--format=custom", "--schema=" + kSet,
                  "--file=" + b.plain.string()});
    });
    state.counters["MB"] = static_cast<double>(fs::file_size(b.plain)) / 1e6;
}

void BM_Backup(benchmark::State& state) {
    Bench& b = bench();
    Timed(state, b.backup, [&] { tk::am::AccountSetBackup(benchServer()).write(kSet, b.ours); });
    Ratio(state, "vs_pg_dump", b.backup, b.plainDump);
}

// pg_restore into the same database, the set moved aside meanwhile since the
// archive creates its schema under its own name.
void BM_PlainRestore(benchmark::State& state) {
    Bench& b = bench();
    b.set.admin("ALTER SCHEMA " + kSet + " RENAME TO " + kSet + "_aside");
    Timed(
        state, b.plainRestore,
        [&] {
            b.pgTool({ServerPrograms::path("pg_restore"), "--no-owner", "--no-privileges",
                      "--dbname=" + benchServer(), b.plain.string()});
        },
        [&] { b.set.admin("DROP SCHEMA " + kSet + " CASCADE"); });
    b.set.admin("ALTER SCHEMA " + kSet + "_aside RENAME TO " + kSet);
}

void BM_Restore(benchmark::State& state) {
    Bench& b = bench();
    tk::am::RestoreOptions copy;
    copy.as = kSet + "_copy";
    copy.replace = true;
    Timed(
        state, b.restore, [&] { tk::am::AccountSetRestore(benchServer()).restore(b.ours, copy); },
        [&] { tk::am::AccountSetAdmin(benchServer()).drop(copy.as); });
    Ratio(state, "vs_pg_restore", b.restore, b.plainRestore);
}

void Register() {
    for (auto* run : {benchmark::RegisterBenchmark("BM_PlainDump", BM_PlainDump),
                      benchmark::RegisterBenchmark("BM_Backup", BM_Backup),
                      benchmark::RegisterBenchmark("BM_PlainRestore", BM_PlainRestore),
                      benchmark::RegisterBenchmark("BM_Restore", BM_Restore)})
        run->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
}

void PrintRatios() {
    const Bench& b = bench();
    std::printf(
        "\n%d assets: backup %.2f s = %.2fx pg_dump (%.2f s), restore %.2f s = %.2fx "
        "pg_restore (%.2f s)\n",
        AssetCount(), b.backup, b.plainDump > 0 ? b.backup / b.plainDump : 0, b.plainDump,
        b.restore, b.plainRestore > 0 ? b.restore / b.plainRestore : 0, b.plainRestore);
}

}  // namespace

int main(int argc, char** argv) {
    Register();
    return tk::bench::RunBenchmarks(argc, argv, PrintRatios);
}
