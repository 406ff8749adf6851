#include "LedgerReports.hpp"

#include <algorithm>
#include <array>
#include <map>

#include "PeriodCommand.hpp"
#include "TablePrinter.hpp"

namespace tk::tools {
namespace {

using Align = TablePrinter::Align;

struct ScheduleLine {
    std::string code, name;
    std::array<double, 12> months{};
    double after = 0;  // left to depreciate after the year
};

// Each asset's charge per period of the year, and what its schedule leaves
// after the year's last period.
std::map<std::string, ScheduleLine> scheduleLines(const AccountSetSession& session, int32_t year) {
    const std::string org = std::to_string(session.organization());
    const int32_t lastPeriod = static_cast<int32_t>(
        session.number("Select Max(bytPeriod) From AccountPeriod Where lngOrganizationID = " + org +
                       " And intYear = " + std::to_string(year)));
    auto rs = session.connection().GetRecordset(
        "Select a.strAMAssetCode, a.strAMAssetName, b.bytPeriod, Sum(b.dblDepreciation),"
        " Sum(b.dblRenewDepreciation) From AMAssetFundBalance b, AMAsset a"
        " Where a.lngAMAssetID = b.lngAMAssetID And b.lngOrganizationID = " +
            org + " And b.intYear = " + std::to_string(year) +
            " Group By a.strAMAssetCode, a.strAMAssetName, b.bytPeriod Order By 1, 3",
        3, 1);
    std::map<std::string, ScheduleLine> lines;
    for (; !rs->eof(); rs->moveNext()) {
        ScheduleLine& line = lines[rs->field(0).toText()];
        line.code = rs->field(0).toText();
        line.name = rs->field(1).toText();
        const int32_t period = rs->field(2).toInt32();
        line.months.at(period - 1) += rs->field(3).toDouble();
        if (period == lastPeriod) line.after = rs->field(4).toDouble();
    }
    return lines;
}

// The schedule with the open periods depreciated on trial: the engine runs
// them as a period end would, and everything it wrote is rolled back.
std::map<std::string, ScheduleLine> trialSchedule(const AccountSetSession& session, int32_t year,
                                                  const std::vector<YearPeriod>& open) {
    return inTransaction(
        session,
        [&] {
            for (YearPeriod period : open) depreciatePeriod(session, period);
            return scheduleLines(session, year);
        },
        Ending::RollBack);
}

}  // namespace

void printSchedule(const AccountSetSession& session, int32_t year, ReportStyle style,
                   std::ostream& out) {
    const std::vector<YearPeriod> open = session.openPeriods(year);
    const auto lines = trialSchedule(session, year, open);
    auto isOpen = [&](int month) {
        return std::ranges::any_of(
            open, [&](YearPeriod p) { return p.year == year && p.period == month; });
    };
    std::vector<TablePrinter::Column> columns{{"资产编码"}, {"资产名称"}};
    for (int m = 1; m <= 12; ++m)
        columns.push_back({std::to_string(m) + "月" + (isOpen(m) ? "*" : ""), Align::Right});
    columns.push_back({"全年", Align::Right});
    columns.push_back({"以后", Align::Right});
    TablePrinter table(columns);
    ScheduleLine total{"", "合计", {}, 0};
    auto addLine = [&](const ScheduleLine& line) {
        std::vector<std::string> cells{line.code, line.name};
        double whole = 0;
        for (double month : line.months) {
            cells.push_back(formatAmount(month));
            whole += month;
        }
        cells.push_back(formatAmount(whole));
        cells.push_back(formatAmount(line.after));
        table.addRow(cells);
    };
    for (const auto& [code, line] : lines) {
        if (!style.summary) addLine(line);
        for (size_t m = 0; m < 12; ++m) total.months[m] += line.months[m];
        total.after += line.after;
    }
    if (!style.summary) table.addRule();
    addLine(total);
    if (!style.csv)
        out << "折旧计划 " << session.name() << " 机构 " << session.organization() << " " << year
            << " 年\n";
    printTable(table, style, out);
    if (!style.csv && !open.empty()) out << "* 未结账期间: 按现有卡片试算, 未写入账套\n";
}

void printJournal(const AccountSetSession& session, const std::string& assetCode, ReportStyle style,
                  std::ostream& out) {
    auto rs = session.connection().GetRecordset(
        "Select j.YearPeriod, f.strAMFundName, j.blnFromDepreciation, j.dblAmountAlter,"
        " j.dblDeprection + j.dblDeprectionAlter, j.dblDecAmountAlter, j.dblTotalAmount, "
        "j.dblTotalDeprection,"
        " j.dblTotalDecAmount From AMAssetFundDaily j, AMFund f Where f.lngAMFundID = j.lngAMFundID"
        " And j.lngAMAssetID = " +
            std::to_string(session.assetID(assetCode)) +
            " Order By j.YearPeriod, f.strAMFundCode, j.blnFromDepreciation, "
            "j.lngAMAssetFundDailyID",
        3, 1);
    TablePrinter table({{"期间"},
                        {"资金来源"},
                        {"业务"},
                        {"原值变动", Align::Right},
                        {"折旧变动", Align::Right},
                        {"减值变动", Align::Right},
                        {"原值", Align::Right},
                        {"累计折旧", Align::Right},
                        {"减值准备", Align::Right}});
    for (; !rs->eof(); rs->moveNext()) {
        int32_t key = rs->field(0).toInt32();
        std::vector<std::string> cells{YearPeriod::fromKey(key).text(), rs->field(1).toText(),
                                       rs->field(2).toInt32() ? "计提折旧" : "卡片变动"};
        for (int i = 3; i < 9; ++i) cells.push_back(formatAmount(rs->field(i).toDouble()));
        table.addRow(cells);
    }
    if (!style.csv) out << "资金来源日记账 " << assetCode << "\n";
    printTable(table, style, out);
}

}  // namespace tk::tools
