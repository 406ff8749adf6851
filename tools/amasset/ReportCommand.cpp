#include "ReportCommand.hpp"

#include <iostream>
#include <map>

#include "CommandHelp.hpp"
#include "HtmlPage.hpp"
#include "SvgChart.hpp"
#include "ledger/InputText.hpp"
#include "ledger/LedgerQueries.hpp"

namespace tk::tools {
namespace {

using Align = TablePrinter::Align;
using ledger::Figures;
using ledger::LedgerQueries;

// A report as it leaves the command: its heading line and its table.
struct Report {
    std::string heading;
    TablePrinter table;
    std::string footnote;
};

std::vector<std::string> row(std::vector<std::string> head, const Figures& f) {
    for (double value : {f.cost, f.depreciation, f.impairment, f.netValue()})
        head.push_back(formatAmount(value));
    return head;
}

Report registerReport(const AccountSetSession& session, YearPeriod end, bool summary) {
    TablePrinter table({{"资产编码"},
                        {"资产名称", Align::Left, kNameWidth},
                        {"类别"},
                        {"部门", Align::Left, kDepartmentWidth},
                        {"原值", Align::Right},
                        {"累计折旧", Align::Right},
                        {"减值准备", Align::Right},
                        {"净值", Align::Right}});
    const auto lines = LedgerQueries(session).register_(end);
    std::map<std::string, Figures> byDepartment;
    Figures category, total;
    for (size_t i = 0; i < lines.size(); ++i) {
        const auto& line = lines[i];
        if (!summary)
            table.addRow(row({line.code, line.name, line.category, line.department}, line.figures));
        category += line.figures;
        byDepartment[line.department] += line.figures;
        total += line.figures;
        if (i + 1 == lines.size() || lines[i + 1].category != line.category) {
            table.addRow(row({"", "类别小计", line.category, ""}, category));
            if (!summary) table.addRule();
            category = {};
        }
    }
    if (summary) table.addRule();  // detailed, the last category closed with one
    for (const auto& [department, figures] : byDepartment)
        table.addRow(row({"", "部门小计", "", department}, figures));
    table.addRule();
    table.addRow(row({"", "合计", "", ""}, total));
    return {"资产登记簿 " + session.name() + " 机构 " + std::to_string(session.organization()) +
                " 截至 " + end.text(),
            std::move(table), ""};
}

Report depreciationReport(const AccountSetSession& session, YearPeriod from, YearPeriod to,
                          bool byFund, bool summary) {
    std::vector<TablePrinter::Column> columns{
        {"期间"}, {"科目编码"}, {"科目名称"}, {"部门", Align::Left, kDepartmentWidth}};
    if (byFund) columns.insert(columns.begin() + 1, {"资金来源"});
    columns.push_back({"折旧额", Align::Right});
    TablePrinter table(columns);
    auto add = [&](std::string period, const std::string& fund, std::vector<std::string> cells) {
        cells.insert(cells.begin(), std::move(period));
        if (byFund) cells.insert(cells.begin() + 1, fund);
        table.addRow(std::move(cells));
    };
    double periodTotal = 0, total = 0;
    std::string current;
    auto closePeriod = [&] {
        if (current.empty()) return;
        add(current, "", {"", "本期合计", "", formatAmount(periodTotal)});
        if (!summary) table.addRule();
        periodTotal = 0;
    };
    for (const auto& r : LedgerQueries(session).depreciation(from, to, byFund)) {
        const std::string label = r.period.text();
        if (label != current) closePeriod();
        current = label;
        periodTotal += r.amount;
        total += r.amount;
        if (!summary)
            add(label, r.fund,
                {r.accountCode, r.accountName, r.department, formatAmount(r.amount)});
    }
    closePeriod();
    add("", "", {"", "合计", "", formatAmount(total)});
    return {"折旧明细 " + session.name() + " 机构 " + std::to_string(session.organization()) + " " +
                from.text() + " 至 " + to.text(),
            std::move(table), ""};
}

Report scheduleReport(const AccountSetSession& session, const ledger::Schedule& s, bool summary) {
    std::vector<TablePrinter::Column> columns{{"资产编码"}, {"资产名称", Align::Left, kNameWidth}};
    for (int m = 1; m <= 12; ++m)
        columns.push_back({std::to_string(m) + "月" + (s.isOpen(m) ? "*" : ""), Align::Right});
    columns.push_back({"全年", Align::Right});
    columns.push_back({"以后", Align::Right});
    TablePrinter table(columns);
    ledger::ScheduleRow total{"", "合计", {}, 0};
    auto addLine = [&](const ledger::ScheduleRow& line) {
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
    for (const auto& line : s.rows) {
        if (!summary) addLine(line);
        for (size_t m = 0; m < 12; ++m) total.months[m] += line.months[m];
        total.after += line.after;
    }
    if (!summary) table.addRule();
    addLine(total);
    return {"折旧计划 " + session.name() + " 机构 " + std::to_string(session.organization()) + " " +
                std::to_string(s.year) + " 年",
            std::move(table), s.open.empty() ? "" : "* 未结账期间: 按现有卡片试算, 未写入账套"};
}

Report journalReport(const AccountSetSession& session, const std::string& code) {
    TablePrinter table({{"期间"},
                        {"资金来源"},
                        {"业务"},
                        {"原值变动", Align::Right},
                        {"折旧变动", Align::Right},
                        {"减值变动", Align::Right},
                        {"原值", Align::Right},
                        {"累计折旧", Align::Right},
                        {"减值准备", Align::Right}});
    for (const auto& j : LedgerQueries(session).journal(code))
        table.addRow({j.period.text(), j.fund, j.fromDepreciation ? "计提折旧" : "卡片变动",
                      formatAmount(j.costChange), formatAmount(j.depreciationChange),
                      formatAmount(j.impairmentChange), formatAmount(j.after.cost),
                      formatAmount(j.after.depreciation), formatAmount(j.after.impairment)});
    return {"资金来源日记账 " + code, std::move(table), ""};
}

void print(const Report& report, ReportStyle style, std::ostream& out) {
    if (style.csv) return report.table.printCsv(out);
    out << report.heading << "\n";
    report.table.print(out);
    if (!report.footnote.empty()) out << report.footnote << "\n";
}

std::vector<std::string> monthLabels() {
    std::vector<std::string> labels;
    for (int m = 1; m <= 12; ++m) labels.push_back(std::to_string(m) + "月");
    return labels;
}

// The year's depreciation by category, month by month, and the net book value
// over the forecast of the year.
void addCharts(HtmlPage& page, const AccountSetSession& session, const ledger::Schedule& s) {
    std::map<std::string, std::vector<double>> byCategory;
    for (const auto& c : LedgerQueries(session).depreciationByCategory({s.year, 1}, {s.year, 12})) {
        auto& values = byCategory[c.category];
        values.resize(12);
        values.at(static_cast<size_t>(c.period.period - 1)) += c.amount;
    }
    page.addSvg(SvgChart::stackedBars(std::to_string(s.year) + " 年各月折旧 (按类别)",
                                      monthLabels(), {byCategory.begin(), byCategory.end()}));
    page.addSvg(SvgChart::line(std::to_string(s.year) + " 年净值预测 (含未结账期间试算)",
                               monthLabels(), {s.netBookValue.begin(), s.netBookValue.end()}));
}

void writeHtml(const Report& report, const AccountSetSession& session, const ledger::Schedule& s,
               const std::string& file) {
    HtmlPage page(report.heading);
    addCharts(page, session, s);
    page.addTable(report.table);
    if (!report.footnote.empty()) page.addHeading(report.footnote);
    page.write(file);
    std::cout << "报表已写入 " << file << "\n";
}

std::optional<YearPeriod> periodOption(const Options& o, const std::string& name) {
    auto text = o.value(name);
    return text ? std::optional(YearPeriod::parse(*text)) : std::nullopt;
}

// --period P gives one period; --from/--to a range, open ends reaching the
// organisation's first and last period.
std::pair<YearPeriod, YearPeriod> periodRange(const Options& o, const LedgerQueries& queries) {
    if (auto one = periodOption(o, "period")) return {*one, *one};
    auto [first, last] = queries.periodSpan();
    return {periodOption(o, "from").value_or(first), periodOption(o, "to").value_or(last)};
}

Report chosenReport(const std::string& kind, const CliContext& cli,
                    const AccountSetSession& session, const std::optional<ledger::Schedule>& s) {
    const Options& o = cli.options();
    const LedgerQueries queries(session);
    const bool summary = o.flag("summary");
    if (kind == "register")
        return registerReport(session, periodOption(o, "period").value_or(queries.latestRun()),
                              summary);
    if (kind == "depreciation") {
        auto [from, to] = periodRange(o, queries);
        if (o.value("period")) session.requirePeriod(from);
        return depreciationReport(session, from, to, o.flag("by-fund"), summary);
    }
    if (kind == "schedule") return scheduleReport(session, *s, summary);
    return journalReport(session, o.word(2));
}

}  // namespace

void printRegister(const AccountSetSession& session, std::optional<YearPeriod> period,
                   ReportStyle style, std::ostream& out) {
    print(
        registerReport(session, period.value_or(LedgerQueries(session).latestRun()), style.summary),
        style, out);
}

void printDepreciation(const AccountSetSession& session, ReportStyle style, std::ostream& out) {
    auto [first, last] = LedgerQueries(session).periodSpan();
    print(depreciationReport(session, first, last, false, style.summary), style, out);
}

int reportCommand(const CliContext& cli) {
    const Options& o = cli.options();
    const std::string kind = o.word(1);
    if (kind != "register" && kind != "depreciation" && kind != "schedule" && kind != "journal") {
        CommandHelp::print("report", std::cerr);
        return 2;
    }
    AccountSetSession session(cli);
    const auto html = kind == "journal" ? std::nullopt : o.value("html");
    std::optional<ledger::Schedule> schedule;
    if (kind == "schedule" || html) {
        const LedgerQueries queries(session);
        schedule = queries.schedule(
            o.value("year") ? ledger::parseInteger(*o.value("year"), 1900, 2999, "会计年度")
                            : queries.scheduleYear());
    }
    const Report report = chosenReport(kind, cli, session, schedule);
    if (html)
        writeHtml(report, session, *schedule, *html);
    else
        print(report, {o.flag("csv"), o.flag("summary")}, std::cout);
    return 0;
}

}  // namespace tk::tools
