#include "ReportCommand.hpp"

#include <iostream>
#include <map>
#include <stdexcept>

#include "InputText.hpp"
#include "LedgerReports.hpp"
#include "TablePrinter.hpp"

namespace tk::tools {
namespace {

using Align = TablePrinter::Align;

// Cost, accumulated depreciation, impairment.
struct Figures {
    double cost = 0, depreciation = 0, impairment = 0;
    Figures& operator+=(const Figures& other) {
        cost += other.cost;
        depreciation += other.depreciation;
        impairment += other.impairment;
        return *this;
    }
    std::vector<std::string> cells() const {
        return {formatAmount(cost), formatAmount(depreciation), formatAmount(impairment),
                formatAmount(cost - depreciation - impairment)};
    }
};

struct RegisterLine {
    std::string code, name, category, department;
    Figures figures;
};

YearPeriod latestRun(const AccountSetSession& session) {
    auto latest = session.latestDepreciated();
    if (!latest) throw std::runtime_error("尚无已结账的期间, 请先运行 period close");
    return *latest;
}

// The year of the latest depreciated period, else the account set's first.
int32_t scheduleYear(const AccountSetSession& session) {
    if (auto latest = session.latestDepreciated()) return latest->year;
    auto first =
        session.lookup("Select Min(intYear) From AccountPeriod Where lngOrganizationID = " +
                       std::to_string(session.organization()));
    if (!first) throw std::runtime_error("机构没有会计期间");
    return std::stoi(*first);
}

// The journal summed up to a period end gives every source's state then.
std::vector<RegisterLine> registerLines(const AccountSetSession& session, YearPeriod period) {
    auto rs = session.connection().GetRecordset(
        "Select a.strAMAssetCode, a.strAMAssetName, t.strAMAssetTypeName, d.strDepartmentName,"
        " Sum(j.dblAmountAlter), Sum(j.dblDeprection + j.dblDeprectionAlter), "
        "Sum(j.dblDecAmountAlter)"
        " From AMAssetFundDaily j, AMAsset a, AMAssetType t, Department d"
        " Where j.lngAMAssetID = a.lngAMAssetID And t.lngAMAssetTypeID = a.lngAMAssetTypeID"
        // the department of the version in force at the period end
        " And d.lngDepartmentID = (Select v.lngDepartmentID From AMAssetAlter v"
        " Where v.lngAMAssetAlterID = (Select Max(w.lngAMAssetAlterID) From AMAssetAlter w"
        " Where w.lngAMAssetID = a.lngAMAssetID And w.intYear * 100 + w.bytPeriod <= " +
            std::to_string(period.key()) +
            "))"
            " And j.lngOrganizationID = " +
            std::to_string(session.organization()) +
            " And j.YearPeriod <= " + std::to_string(period.key()) +
            " Group By t.strAMAssetTypeCode, t.strAMAssetTypeName, d.strDepartmentCode, "
            "d.strDepartmentName,"
            " a.strAMAssetCode, a.strAMAssetName"
            " Order By t.strAMAssetTypeCode, d.strDepartmentCode, a.strAMAssetCode",
        3, 1);
    std::vector<RegisterLine> lines;
    for (; !rs->eof(); rs->moveNext())
        lines.push_back(
            {rs->field(0).toText(),
             rs->field(1).toText(),
             rs->field(2).toText(),
             rs->field(3).toText(),
             {rs->field(4).toDouble(), rs->field(5).toDouble(), rs->field(6).toDouble()}});
    return lines;
}

std::vector<std::string> row(std::vector<std::string> head, const Figures& figures) {
    for (auto& cell : figures.cells()) head.push_back(std::move(cell));
    return head;
}

std::optional<YearPeriod> periodOption(const Options& o) {
    auto text = o.value("period");
    return text ? std::optional(YearPeriod::parse(*text)) : std::nullopt;
}

}  // namespace

void printTable(const TablePrinter& table, ReportStyle style, std::ostream& out) {
    style.csv ? table.printCsv(out) : table.print(out);
}

void printRegister(const AccountSetSession& session, std::optional<YearPeriod> period,
                   ReportStyle style, std::ostream& out) {
    YearPeriod end = period.value_or(latestRun(session));
    session.requirePeriod(end);
    TablePrinter table({{"资产编码"},
                        {"资产名称"},
                        {"类别"},
                        {"部门"},
                        {"原值", Align::Right},
                        {"累计折旧", Align::Right},
                        {"减值准备", Align::Right},
                        {"净值", Align::Right}});
    std::vector<RegisterLine> lines = registerLines(session, end);
    std::map<std::string, Figures> byDepartment;
    Figures category, total;
    for (size_t i = 0; i < lines.size(); ++i) {
        const RegisterLine& line = lines[i];
        if (!style.summary)
            table.addRow(row({line.code, line.name, line.category, line.department}, line.figures));
        category += line.figures;
        byDepartment[line.department] += line.figures;
        total += line.figures;
        if (i + 1 == lines.size() || lines[i + 1].category != line.category) {
            table.addRow(row({"", "类别小计", line.category, ""}, category));
            if (!style.summary) table.addRule();
            category = {};
        }
    }
    if (style.summary) table.addRule();  // detailed, the last category closed with one
    for (const auto& [department, figures] : byDepartment)
        table.addRow(row({"", "部门小计", "", department}, figures));
    table.addRule();
    table.addRow(row({"", "合计", "", ""}, total));
    if (!style.csv)
        out << "资产登记簿 " << session.name() << " 机构 " << session.organization() << " 截至 "
            << end.text() << "\n";
    printTable(table, style, out);
}

void printDepreciation(const AccountSetSession& session, std::optional<YearPeriod> period,
                       ReportStyle style, std::ostream& out) {
    std::string where = " Where b.lngOrganizationID = " + std::to_string(session.organization());
    if (period) {
        session.requirePeriod(*period);
        where += " And b.intYear * 100 + b.bytPeriod = " + std::to_string(period->key());
    }
    // A source version's charge goes to its account lines by their shares, to
    // its depreciation account and the asset's department when it has none.
    auto rs = session.connection().GetRecordset(
        "Select b.intYear * 100 + b.bytPeriod, c.strAccountCode, c.strAccountName, "
        "d.strDepartmentName,"
        " Sum(b.dblDepreciation * Nvl(l.dblRate, 100) / 100)"
        " From AMAssetFundBalance b"
        " Join AMAssetFundAlter fa On fa.lngAMAssetFundAlterID = b.lngAMAssetFundAlterID"
        " Join AMAssetAlter aa On aa.lngAMAssetAlterID = b.lngAMAssetAlterID"
        " Left Join AMAssetFundAccAlter l On l.lngAMAssetFundAlterID = b.lngAMAssetFundAlterID"
        " And l.blnDepreIncrease = 0"
        " Left Join Account c On c.lngAccountID = Nvl(l.lngAccountID, fa.lngDepreciationAccountID)"
        " Left Join Department d On d.lngDepartmentID = Nvl(l.lngDepartmentID, "
        "aa.lngDepartmentID)" +
            where +
            " Group By b.intYear * 100 + b.bytPeriod, c.strAccountCode, c.strAccountName, "
            "d.strDepartmentName"
            " Order By 1, 2, 4",
        3, 1);
    TablePrinter table({{"期间"}, {"科目编码"}, {"科目名称"}, {"部门"}, {"折旧额", Align::Right}});
    double periodTotal = 0, total = 0;
    std::string current;
    auto closePeriod = [&] {
        if (current.empty()) return;
        table.addRow({current, "", "本期合计", "", formatAmount(periodTotal)});
        if (!style.summary) table.addRule();
        periodTotal = 0;
    };
    for (; !rs->eof(); rs->moveNext()) {
        int32_t key = rs->field(0).toInt32();
        std::string label = YearPeriod::fromKey(key).text();
        if (label != current) closePeriod();
        current = label;
        double amount = rs->field(4).toDouble();
        periodTotal += amount;
        total += amount;
        if (!style.summary)
            table.addRow({label, rs->field(1).toText(), rs->field(2).toText(),
                          rs->field(3).toText(), formatAmount(amount)});
    }
    closePeriod();
    table.addRow({"", "", "合计", "", formatAmount(total)});
    if (!style.csv)
        out << "折旧明细 " << session.name() << " 机构 " << session.organization() << "\n";
    printTable(table, style, out);
}

int reportCommand(const CliContext& cli) {
    const Options& o = cli.options();
    const std::string kind = o.word(1);
    if (kind != "register" && kind != "depreciation" && kind != "schedule" && kind != "journal") {
        std::cerr
            << "用法: amasset report register|depreciation [--period yyyy-MM] [--summary] [--csv]\n"
               "       amasset report schedule [--year yyyy] [--summary] [--csv]\n"
               "       amasset report journal 资产编码 [--csv]\n";
        return 2;
    }
    std::optional<YearPeriod> period = periodOption(o);
    ReportStyle style{o.flag("csv"), o.flag("summary")};
    AccountSetSession session(cli);
    if (kind == "register")
        printRegister(session, period, style, std::cout);
    else if (kind == "depreciation")
        printDepreciation(session, period, style, std::cout);
    else if (kind == "schedule")
        printSchedule(session,
                      o.value("year") ? parseInteger(*o.value("year"), 1900, 2999, "会计年度")
                                      : scheduleYear(session),
                      style, std::cout);
    else
        printJournal(session, o.word(2), style, std::cout);
    return 0;
}

}  // namespace tk::tools
