// The asset subcommands: options read into the ledger's inputs, the ledger's operation run, its
// result printed.
#include "AssetCommand.hpp"

#include <fstream>
#include <iostream>
#include <iterator>
#include <stdexcept>

#include "AccountSetSession.hpp"
#include "CommandHelp.hpp"
#include "ProgressBar.hpp"
#include "ledger/AssetAdder.hpp"
#include "ledger/AssetAlterer.hpp"
#include "ledger/AssetDisposer.hpp"
#include "ledger/AssetExporter.hpp"
#include "ledger/AssetImporter.hpp"
#include "ledger/InputText.hpp"
#include "ledger/PeriodCloser.hpp"
#include "report/LedgerReports.hpp"

namespace tk::tools {
namespace {

using namespace ledger;
using namespace report;

std::optional<double> optionalNumber(const Options& o, const std::string& name,
                                     const std::string& what) {
    auto text = o.value(name);
    if (!text) return std::nullopt;
    return parseNonNegative(*text, what);
}

std::optional<double> optionalAmount(const Options& o, const std::string& name,
                                     const std::string& what) {
    auto text = o.value(name);
    if (!text) return std::nullopt;
    return parseAmount(*text, what);
}

NewAsset newAssetFrom(const Options& o) {
    NewAsset asset;
    asset.category = o.value("category", "");
    asset.name = o.value("name", "");
    asset.date = o.value("date", "");
    asset.department = o.value("department", "");
    auto cost = o.value("cost");
    if (!cost) throw std::runtime_error("请指定原值 (--cost)");
    asset.cost = parseAmount(*cost, "原值");
    asset.residualRate = optionalNumber(o, "residual-rate", "净残值率");
    asset.life = optionalNumber(o, "life", "使用期间");
    asset.totalWork = optionalNumber(o, "total-work", "工作总量");
    if (auto method = o.value("method"))
        asset.method = static_cast<int16_t>(parseInteger(*method, 1, 6, "折旧方法"));
    for (const std::string& fund : o.values("fund")) asset.funds.push_back(fundOf(fund));
    for (const std::string& line : o.values("account-line"))
        asset.accountLines.push_back(accountLineOf(line));
    return asset;
}

int addAsset(const CliContext& cli) {
    NewAsset asset = newAssetFrom(cli.options());
    AccountSetSession session(cli);
    auto [id, code] = AssetAdder(session).add(asset);
    std::cout << "资产已新增: " << code << " " << asset.name << " (编号 " << id << ")\n";
    return 0;
}

int listAssets(const CliContext& cli) {
    AccountSetSession session(cli);
    const Options& o = cli.options();
    LedgerReports(session)
        .assets(o.value("category"), o.value("department"))
        .print(std::cout, o.flag("csv"));
    return 0;
}

int recordWork(const CliContext& cli) {
    const Options& o = cli.options();
    auto period = o.value("period");
    auto work = o.value("work");
    if (o.word(2).empty() || !period || !work)
        throw std::runtime_error(
            "用法: amasset asset work 资产编码 --period yyyy-MM --work 工作量");
    YearPeriod yp = YearPeriod::parse(*period);
    double amount = parseNonNegative(*work, "工作量");
    AccountSetSession session(cli);
    ledger::PeriodCloser(session).recordWork(o.word(2), yp, amount);
    std::cout << "已登记工作量: " << o.word(2) << " " << yp.text() << " " << amount << "\n";
    return 0;
}

AssetAlteration alterationFrom(const Options& o) {
    AssetAlteration a;
    a.date = o.value("date", "");
    a.cost = optionalAmount(o, "cost", "原值");
    a.impairment = optionalAmount(o, "impairment", "减值准备");
    a.residual = optionalAmount(o, "residual", "净残值");
    a.life = optionalNumber(o, "life", "使用期间/工作总量");
    if (auto method = o.value("method"))
        a.method = static_cast<int16_t>(parseInteger(*method, 1, 6, "折旧方法"));
    a.department = o.value("department");
    a.way = o.value("way");
    return a;
}

int alterAsset(const CliContext& cli) {
    const Options& o = cli.options();
    if (o.word(2).empty() || !o.value("date"))
        throw std::runtime_error(
            "用法: amasset asset alter 资产编码 --date yyyy-MM-dd [--cost 原值] [--impairment "
            "减值准备]\n"
            "         [--residual 净残值] [--life 月数或工作总量] [--method 1..6] [--department "
            "部门编码] [--way 变动方式编码]");
    AssetAlteration alteration = alterationFrom(o);
    AccountSetSession session(cli);
    AssetAlterer(session).alter(o.word(2), alteration);
    std::cout << "资产已变动: " << o.word(2) << " " << alteration.date << "\n";
    return 0;
}

int disposeAsset(const CliContext& cli) {
    const Options& o = cli.options();
    auto date = o.value("date");
    if (o.word(2).empty() || !date)
        throw std::runtime_error(
            "用法: amasset asset dispose 资产编码 --date yyyy-MM-dd [--way 减少方式编码]"
            " [--part 30% | --cost-out 金额]");
    AccountSetSession session(cli);
    AssetDisposer disposer(session);
    const std::string way = o.value("way", "08");
    const auto part = o.value("part"), amount = o.value("cost-out");
    if (part || amount) {
        const double costOut =
            part ? disposer.costOfPart(o.word(2), *part) : parseAmount(*amount, "减少的原值");
        disposer.disposePart(o.word(2), *date, way, costOut);
        std::cout << "资产已部分减少: " << o.word(2) << " " << *date << " 原值 "
                  << formatDouble(costOut) << "\n";
        return 0;
    }
    disposer.dispose(o.word(2), *date, way);
    std::cout << "资产已减少: " << o.word(2) << " " << *date << "\n";
    return 0;
}

int showAsset(const CliContext& cli) {
    if (cli.options().word(2).empty())
        throw std::runtime_error("用法: amasset asset show 资产编码");
    AccountSetSession session(cli);
    for (const Report& part : LedgerReports(session).asset(cli.options().word(2)))
        part.print(std::cout);
    return 0;
}

// Every problem of the file, or the assets written (or that would be, on a trial run).
int importAssets(const CliContext& cli) {
    const Options& o = cli.options();
    if (o.word(2).empty())
        throw std::runtime_error("用法: amasset asset import 文件.csv [--dry-run]");
    std::ifstream in(o.word(2), std::ios::binary);
    if (!in) throw std::runtime_error("无法读取文件: " + o.word(2));
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    AccountSetSession session(cli);
    std::optional<ProgressBar> bar;
    const bool dryRun = o.flag("dry-run");
    const ImportResult result =
        AssetImporter(session).import(text, dryRun, [&](size_t done, size_t total) {
            if (!bar) bar.emplace(dryRun ? "试导入资产" : "导入资产", total);
            bar->advance(std::to_string(done));
        });
    for (const auto& p : result.problems)
        std::cerr << "第 " << p.row << " 行" << (p.column.empty() ? "" : ", 列 " + p.column) << ": "
                  << p.reason << "\n";
    const std::string summary =
        !result.problems.empty()
            ? "发现 " + std::to_string(result.problems.size()) + " 处问题, 未写入任何资产"
        : dryRun ? "检查通过: " + std::to_string(result.rows) + " 项资产可以导入 (未写入)"
                 : "已导入 " + std::to_string(result.rows) + " 项资产";
    bar ? bar->finish(summary) : void(std::cout << summary << "\n");
    return result.problems.empty() ? 0 : 1;
}

int exportAssets(const CliContext& cli) {
    AccountSetSession session(cli);
    const std::string csv = AssetExporter(session).csv();
    if (auto file = cli.options().value("output")) {
        std::ofstream(*file, std::ios::binary) << csv;
        std::cout << "资产已导出到 " << *file << "\n";
    } else {
        std::cout << csv;
    }
    return 0;
}

}  // namespace

int assetCommand(const CliContext& cli) {
    std::string action = cli.options().word(1);
    if (action == "add") return addAsset(cli);
    if (action == "list") return listAssets(cli);
    if (action == "show") return showAsset(cli);
    if (action == "work") return recordWork(cli);
    if (action == "alter") return alterAsset(cli);
    if (action == "dispose") return disposeAsset(cli);
    if (action == "import") return importAssets(cli);
    if (action == "export") return exportAssets(cli);
    CommandHelp::print("asset", std::cerr);
    return 2;
}

}  // namespace tk::tools
