#include "LedgerReports.hpp"

#include <array>
#include <map>

#include "TablePrinter.hpp"

namespace tk::tools {
namespace {

using Align = TablePrinter::Align;

struct ScheduleLine {
    std::string code, name;
    std::array<double, 12> months{};
};

}  // namespace

void printSchedule(const AccountSetSession& session, int32_t year, ReportStyle style,
                   std::ostream& out) {
    auto rs = session.connection().GetRecordset(
        "Select a.strAMAssetCode, a.strAMAssetName, b.bytPeriod, Sum(b.dblDepreciation)"
        " From AMAssetFundBalance b, AMAsset a Where a.lngAMAssetID = b.lngAMAssetID"
        " And b.lngOrganizationID = " +
            std::to_string(session.organization()) + " And b.intYear = " + std::to_string(year) +
            " Group By a.strAMAssetCode, a.strAMAssetName, b.bytPeriod Order By 1, 3",
        3, 1);
    std::map<std::string, ScheduleLine> lines;
    for (; !rs->eof(); rs->moveNext()) {
        ScheduleLine& line = lines[rs->field(0).toText()];
        line.code = rs->field(0).toText();
        line.name = rs->field(1).toText();
        line.months.at(rs->field(2).toInt32() - 1) += rs->field(3).toDouble();
    }
    std::vector<TablePrinter::Column> columns{{"资产编码"}, {"资产名称"}};
    for (int m = 1; m <= 12; ++m) columns.push_back({std::to_string(m) + "月", Align::Right});
    columns.push_back({"全年", Align::Right});
    TablePrinter table(columns);
    ScheduleLine total{"", "合计", {}};
    auto addLine = [&](const ScheduleLine& line) {
        std::vector<std::string> cells{line.code, line.name};
        double year = 0;
        for (double month : line.months) {
            cells.push_back(formatAmount(month));
            year += month;
        }
        cells.push_back(formatAmount(year));
        table.addRow(cells);
    };
    for (const auto& [code, line] : lines) {
        if (!style.summary) addLine(line);
        for (size_t m = 0; m < 12; ++m) total.months[m] += line.months[m];
    }
    if (!style.summary) table.addRule();
    addLine(total);
    if (!style.csv)
        out << "折旧计划 " << session.name() << " 机构 " << session.organization() << " " << year
            << " 年\n";
    printTable(table, style, out);
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
