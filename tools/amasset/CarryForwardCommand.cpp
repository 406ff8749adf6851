#include "CarryForwardCommand.hpp"

#include <iostream>
#include <optional>
#include <stdexcept>

#include "AccountSetSession.hpp"
#include "ProgressBar.hpp"
#include "carryforward/clsAMAssetTurn.hpp"
#include "frame/Context.hpp"
#include "frame/Utility.hpp"
#include "ledger/TablePrinter.hpp"
#include "provision/AccountSetAdmin.hpp"
#include "provision/CrossSetAccess.hpp"

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

// One account set's totals for the organisation, from its own posting journal.
struct Totals {
    double assets = 0, cost = 0, depreciation = 0, impairment = 0;
    double net() const { return cost - depreciation - impairment; }
};

// The old set's closing figures: its journal before the new first period.
Totals OldTotals(const AccountSetSession& session, const std::string& oldSchema, int32_t yp) {
    const std::string where =
        " Where d.lngOrganizationID = " + std::to_string(session.organization()) +
        " And d.YearPeriod < " + std::to_string(yp);
    const std::string from = " From " + oldSchema + ".AMAssetFundDaily d";
    Totals t;
    t.cost = session.number("Select Sum(d.dblAmountAlter)" + from + where);
    t.depreciation =
        session.number("Select Sum(d.dblDeprection + d.dblDeprectionAlter)" + from + where);
    t.impairment = session.number("Select Sum(d.dblDecAmountAlter)" + from + where);
    t.assets = session.number("Select Count(*) From (Select d.lngAMAssetID" + from + where +
                              " Group By d.lngAMAssetID Having Sum(d.dblAmountAlter) <> 0) x");
    return t;
}

// The new set's opening figures: the journal rows of its opening records.
Totals NewTotals(const AccountSetSession& session) {
    const std::string from =
        " From AMAssetFundDaily d, AMAssetFundAlter fa Where fa.lngAMAssetFundAlterID = "
        "d.lngAMAssetFundAlterID And fa.blnIsInit = 1 And d.lngOrganizationID = " +
        std::to_string(session.organization());
    Totals t;
    t.cost = session.number("Select Sum(d.dblAmountAlter)" + from);
    t.depreciation = session.number("Select Sum(d.dblDeprection + d.dblDeprectionAlter)" + from);
    t.impairment = session.number("Select Sum(d.dblDecAmountAlter)" + from);
    t.assets = session.number("Select Count(Distinct d.lngAMAssetID)" + from);
    return t;
}

// Prints both sets side by side; true when they agree to the cent.
bool PrintTotals(const Totals& before, const Totals& after, const std::string& from,
                 const std::string& to) {
    using ledger::formatAmount;
    using ledger::TablePrinter;
    using Align = TablePrinter::Align;
    TablePrinter table(
        {{"项目"}, {"结转前 " + from, Align::Right}, {"结转后 " + to, Align::Right}});
    auto cents = [](double v) { return formatAmount(v); };
    table.addRow({"资产数", std::to_string(static_cast<int64_t>(before.assets)),
                  std::to_string(static_cast<int64_t>(after.assets))});
    table.addRow({"原值", cents(before.cost), cents(after.cost)});
    table.addRow({"累计折旧", cents(before.depreciation), cents(after.depreciation)});
    table.addRow({"减值准备", cents(before.impairment), cents(after.impairment)});
    table.addRow({"净值", cents(before.net()), cents(after.net())});
    table.print(std::cout);
    return before.assets == after.assets && cents(before.cost) == cents(after.cost) &&
           cents(before.depreciation) == cents(after.depreciation) &&
           cents(before.impairment) == cents(after.impairment);
}

am::clsAMAssetTurn PreparedTurn(const AccountSetSession& session, const std::string& oldSchema,
                                const std::string& date) {
    am::context().OldUser = oldSchema;
    am::context().NewUser = session.connection().UserName;
    am::clsAMAssetTurn turn;
    turn.scope.organization = session.organization();
    turn.scope.turnDate = date;
    turn.scope.prevDay();  // refuses a date not written yyyy-MM-dd
    YearPeriod first = session.periodOfDate(date);
    turn.scope.turnYear = static_cast<int16_t>(first.year);
    turn.scope.turnPeriod = static_cast<uint8_t>(first.period);
    turn.scope.startDate = session
                               .lookup("Select strStartDate From " + oldSchema +
                                       ".Organization Where lngOrganizationID = " +
                                       std::to_string(session.organization()))
                               .value_or("");
    return turn;
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
    std::string oldSchema = am::AccountSetAdmin::schemaName(from);
    am::CrossSetAccess readOld(cli.adminServer(), from, session.name());
    am::clsAMAssetTurn turn = PreparedTurn(session, oldSchema, date);
    std::string reason;
    if (checkOnly) {
        bool ready = turn.Check(reason);
        if (ready)
            std::cout << "可以结转: " << from << " → " << session.name() << " (" << date << ")\n";
        else
            std::cerr << "不能结转: " << (reason.empty() ? "检查未能完成" : reason) << "\n";
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
    bool agree = PrintTotals(OldTotals(session, oldSchema, turn.scope.newYearPeriod()),
                             NewTotals(session), from, session.name());
    if (!agree) std::cerr << "结转前后合计不一致, 详见日志 " << log << "\n";
    return agree ? 0 : 1;
}

}  // namespace tk::tools
