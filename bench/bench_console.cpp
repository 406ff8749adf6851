// The console tool on a DBA's load script: 10,000 single-row INSERTs, feedback off, run by
// the console and, side by side on the same server, by psql on the same statements (they read
// alike in both dialects), once as psql runs a file and once in one transaction as the console
// does. The figures are the ratios to psql.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "BenchAccountSet.hpp"
#include "adjust/ConsoleScript.hpp"

namespace {
namespace fs = std::filesystem;
using tk::bench::BenchAccountSet;

constexpr int kRows = 10000;

fs::path loadScript() {
    fs::path file = fs::temp_directory_path() / ("tkam-console-bench-" + std::to_string(getpid()));
    std::ofstream out(file);
    out << "SET FEEDBACK OFF\n";
    for (int i = 1; i <= kRows; ++i)
        out << "INSERT INTO load_rows VALUES (" << i << ", 'row " << i << "', " << i % 97
            << ".25);\n";
    out << "COMMIT;\nEXIT\n";
    return file;
}

double secondsOf(const std::string& command) {
    const auto start = std::chrono::steady_clock::now();
    if (std::system(command.c_str()) != 0) throw std::runtime_error("failed: " + command);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

std::string quoted(const std::string& text) { return "'" + text + "'"; }

void BM_ConsoleLoadScriptAgainstPsql(benchmark::State& state) {
    static BenchAccountSet set("console", false);
    set.admin(
        "DROP TABLE IF EXISTS load_rows; CREATE TABLE load_rows (id numeric, name"
        " varchar(40), amount numeric(10,2)); GRANT ALL ON load_rows TO " +
        set.conn().UserName + ";");
    const fs::path script = loadScript();
    // psql reads "SET FEEDBACK OFF" as an error of its own: it gets the statements only
    const fs::path plain = script.string() + ".psql";
    const std::string cut = "grep '^INSERT' " + script.string() + " > " + plain.string();
    if (std::system(cut.c_str()) != 0) throw std::runtime_error("failed: " + cut);
    const std::string login = quoted(tk::bench::benchServer() + " user=" + set.conn().UserName);
    const std::string empty = "psql -q -X -c 'TRUNCATE load_rows' " + login;
    // every row arrived, or the figure means nothing
    const std::string loaded = "test \"$(psql -X -tA -c 'SELECT count(*) FROM load_rows' " + login +
                               ")\" = " + std::to_string(kRows);
    const std::string psql = "psql -q -X -o /dev/null " + login;
    double console = 0, psqlFile = 0, psqlOne = 0;
    for (auto _ : state) {
        secondsOf(empty);
        console = secondsOf(tk::am::ConsoleScript::commandLine(set.conn(), script) +
                            " </dev/null >/dev/null");
        secondsOf(loaded);
        secondsOf(empty);
        psqlFile = secondsOf(psql + " -f " + plain.string());
        secondsOf(empty);
        psqlOne = secondsOf(psql + " -1 -f " + plain.string());
        secondsOf(loaded);
    }
    fs::remove(script);
    fs::remove(plain);
    state.counters["console_s"] = console;
    state.counters["psql_file_s"] = psqlFile;
    state.counters["psql_one_transaction_s"] = psqlOne;
    state.counters["ratio_to_psql_file"] = console / psqlFile;
    state.counters["ratio_to_psql_one_transaction"] = console / psqlOne;
}
BENCHMARK(BM_ConsoleLoadScriptAgainstPsql)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
