// The carry-forward from the command line: checked, or run with progress over its steps and the
// two sets' closing and opening totals printed side by side and compared.
#include "CarryForwardCommand.hpp"

#include <iostream>
#include <optional>
#include <stdexcept>

#include "AccountSetSession.hpp"
#include "ProgressBar.hpp"
#include "frame/ComponentFolder.hpp"
#include "frame/LastRefusal.hpp"
#include "ledger/YearEndTurn.hpp"
#include "provision/AccountSetAdmin.hpp"
#include "provision/CrossSetAccess.hpp"
#include "report/TablePrinter.hpp"

namespace tk::tools {
namespace {

std::string required(const Options& o, const std::string& name) {
    std::string value = o.value(name, "");
    if (value.empty())
        throw std::runtime_error(
            "用法: amasset carryforward --from 原账套 --to 新账套 --date "
            "yyyy-MM-dd [--org 机构] [--check] (缺少 --" +
            name + ")");
    return value;
}

// Prints both sets side by side.
void PrintTotals(const ledger::TurnTotals& before, const ledger::TurnTotals& after,
                 const std::string& from, const std::string& to) {
    using am::formatAmount;
    using report::TablePrinter;
    using Align = TablePrinter::Align;
    TablePrinter table(
        {{"项目"}, {"结转前 " + from, Align::Right}, {"结转后 " + to, Align::Right}});
    table.addRow({"资产数", std::to_string(static_cast<int64_t>(before.assets)),
                  std::to_string(static_cast<int64_t>(after.assets))});
    table.addRow({"原值", formatAmount(before.cost), formatAmount(after.cost)});
    table.addRow({"累计折旧", formatAmount(before.depreciation), formatAmount(after.depreciation)});
    table.addRow({"减值准备", formatAmount(before.impairment), formatAmount(after.impairment)});
    table.addRow({"净值", formatAmount(before.net()), formatAmount(after.net())});
    table.print(std::cout);
}

// A check that failed on an error says so only through the kept reason.
std::string CheckFailure() {
    auto error = am::LastRefusal::take();
    return error ? "检查未能完成: " + error->description : "检查未能完成";
}

}  // namespace

int carryForwardCommand(const CliContext& cli) {
    const Options& o = cli.options();
    std::string from = required(o, "from"), to = required(o, "to"), date = required(o, "date");
    if (!am::AccountSetAdmin(cli.adminServer()).exists(from))
        throw std::runtime_error("账套不存在: " + from);
    return carryForward(cli, AccountSetSession(cli, to, true), from, date, o.flag("check"));
}

int carryForward(const CliContext& cli, const AccountSetSession& session, const std::string& from,
                 const std::string& date, bool checkOnly) {
    am::CrossSetAccess readOld(cli.adminServer(), from, session.name());
    ledger::YearEndTurn yearEnd(session, from, date);
    am::clsAMAssetTurn& turn = yearEnd.run();
    std::string reason;
    if (checkOnly) {
        bool ready = turn.Check(reason);
        if (ready)
            std::cout << "可以结转: " << from << " → " << session.name() << " (" << date << ")\n";
        else
            std::cerr << "不能结转: " << (reason.empty() ? CheckFailure() : reason) << "\n";
        return ready ? 0 : 1;
    }
    std::optional<ProgressBar> bar;
    turn.onStep = [&](const std::string& step, size_t place, size_t total) {
        if (place == 1) bar.emplace("结转", total);
        bar->advance(step);
    };
    bool done = turn.Execute(reason);
    std::string log = (am::ComponentFolder() / "log" / "固定资产结转.log").string();
    if (bar) bar->finish(done ? "结转完成" : "结转失败");
    if (!done) {
        std::cerr << "结转失败: " << (reason.empty() ? "详见日志 " + log : reason) << "\n";
        return 1;
    }
    const ledger::TurnTotals before = yearEnd.closing(), after = yearEnd.opening();
    PrintTotals(before, after, from, session.name());
    const bool agree = before.agreesWith(after);
    if (!agree) std::cerr << "结转前后合计不一致, 详见日志 " << log << "\n";
    return agree ? 0 : 1;
}

}  // namespace tk::tools
