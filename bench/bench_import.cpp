// Assets imported per second from a CSV file: every row checked, then all
// written in one transaction (rolled back here, so that each run starts alike).
// Beside it, as the yardstick, the same rows put into a table of text columns
// by one plain INSERT: the import's rate is best read as a ratio to that one;
// and the same assets added one by one, each in its own transaction, as
// `asset add` does (kept, so it runs last).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <optional>
#include <string>
#include <vector>

#include "BenchAccountSet.hpp"
#include "connect/Session.hpp"
#include "frame/Context.hpp"
#include "ledger/AssetAdder.hpp"
#include "ledger/AssetImporter.hpp"

namespace {

tk::bench::BenchAccountSet& accountSet() {
    static tk::bench::BenchAccountSet set("bench_import_" + std::to_string(getpid()), true);
    return set;
}

const char* const kRows[] = {
    "车床,02-01-01,0103,2024-01-15,2,120000,6000,120,01:60;02:40,510101:0103:100",
    "货车,03-01-02,0104,2024-02-20,3,300000,15000,500000,01:100,",
    "笔记本电脑,04-01-02,0101,2024-03-03,5,8000,0,36,01:100,660201:0101:100",
    "会议桌,05-01,0105,2024-01-09,,12000,,,,"};

// `count` assets over four categories and two funding sources.
std::string assetFile(int count) {
    std::string csv =
        "资产名称,类别编码,部门编码,入账日期,折旧方法,原值,净残值,使用期间,资金来源,"
        "折旧分摊\n";
    for (int i = 0; i < count; ++i) csv += std::string(kRows[i % 4]) + "\n";
    return csv;
}

void BM_ImportAssets(benchmark::State& state) {
    accountSet().useOnThisThread();
    const tk::ledger::LedgerSession session(tk::am::context().ConnBase, 1, "bench");
    const std::string csv = assetFile(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        const auto result = tk::ledger::AssetImporter(session).import(csv, true);
        if (!result.problems.empty()) state.SkipWithError(result.problems.front().reason.c_str());
    }
    state.counters["assets_per_s"] = benchmark::Counter(
        static_cast<double>(state.iterations() * state.range(0)), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ImportAssets)->Arg(200)->Arg(2000)->UseRealTime()->Unit(benchmark::kMillisecond);

// The file's rows, cell by cell, into a temporary table in one statement.
void BM_PlainInsert(benchmark::State& state) {
    accountSet().useOnThisThread();
    tk::connect::Session& session = accountSet().conn().session();
    session.runNative(
        "CREATE TEMPORARY TABLE IF NOT EXISTS import_rows(name text, category text, department "
        "text, date text, method text, cost text, residual text, life text, funds text, lines "
        "text)");
    std::string insert = "INSERT INTO import_rows VALUES ";
    for (int i = 0; i < state.range(0); ++i) {
        insert += std::string(i ? "," : "") + "('";
        for (const char* c = kRows[i % 4]; *c; ++c)
            insert += *c == ',' ? "','" : std::string(1, *c);
        insert += "')";
    }
    for (auto _ : state) {
        session.begin();
        session.runNative(insert);
        session.rollback();
    }
    state.counters["assets_per_s"] = benchmark::Counter(
        static_cast<double>(state.iterations() * state.range(0)), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PlainInsert)->Arg(200)->Arg(2000)->UseRealTime()->Unit(benchmark::kMillisecond);

// The file's four kinds of asset, as the adder takes them.
std::vector<tk::ledger::NewAsset> fileAssets() {
    using tk::ledger::NewAsset;
    auto asset = [](const char* name, const char* category, const char* department,
                    const char* date, std::optional<int16_t> method, double cost,
                    std::optional<double> residual, std::optional<double> life,
                    std::vector<NewAsset::Fund> funds, std::vector<NewAsset::AccountLine> lines) {
        NewAsset a;
        a.name = name;
        a.category = category;
        a.department = department;
        a.date = date;
        a.method = method;
        a.cost = cost;
        a.residual = residual;
        a.life = a.totalWork = life;
        a.funds = std::move(funds);
        a.accountLines = std::move(lines);
        return a;
    };
    return {asset("车床", "02-01-01", "0103", "2024-01-15", 2, 120000, 6000, 120,
                  {{"01", 60}, {"02", 40}}, {{"510101", "0103", 100}}),
            asset("货车", "03-01-02", "0104", "2024-02-20", 3, 300000, 15000, 500000, {{"01", 100}},
                  {}),
            asset("笔记本电脑", "04-01-02", "0101", "2024-03-03", 5, 8000, 0, 36, {{"01", 100}},
                  {{"660201", "0101", 100}}),
            asset("会议桌", "05-01", "0105", "2024-01-09", std::nullopt, 12000, std::nullopt,
                  std::nullopt, {}, {})};
}

void BM_AddOneByOne(benchmark::State& state) {
    accountSet().useOnThisThread();
    const tk::ledger::LedgerSession session(tk::am::context().ConnBase, 1, "bench");
    const auto assets = fileAssets();
    for (auto _ : state) {
        const tk::ledger::AssetAdder adder(session);
        for (int i = 0; i < state.range(0); ++i) adder.add(assets[static_cast<size_t>(i) % 4]);
    }
    state.counters["assets_per_s"] = benchmark::Counter(
        static_cast<double>(state.iterations() * state.range(0)), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_AddOneByOne)->Arg(200)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
