// The reports' columns, subtotals and totals, an asset's card pages, and the HTML page with its
// charts of the schedule's year.
#include "report/LedgerReports.hpp"

#include <map>

#include "report/HtmlPage.hpp"
#include "report/SvgChart.hpp"

namespace tk::report {
namespace {

using Align = TablePrinter::Align;

const char* const kTrialNote = "* 未结账期间: 按现有卡片试算, 未写入账套";

std::vector<std::string> row(std::vector<std::string> head, const Figures& f) {
    for (double value : {f.cost, f.depreciation, f.impairment, f.netValue()})
        head.push_back(formatAmount(value));
    return head;
}

std::string methodName(int16_t method) {
    static const char* const names[] = {"类别默认",       "不提折旧",   "平均年限法",    "工作量法",
                                        "双倍余额递减法", "年数总和法", "固定余额递减法"};
    return method >= 0 && method <= 6 ? names[method] : std::to_string(method);
}

std::vector<std::string> monthLabels() {
    std::vector<std::string> labels;
    for (int m = 1; m <= 12; ++m) labels.push_back(std::to_string(m) + "月");
    return labels;
}

Report cardOf(const AssetDetail& d) {
    TablePrinter fields({{"项目"}, {"内容"}});
    fields.addRow({"资产编码", d.code});
    fields.addRow({"资产名称", d.name});
    fields.addRow({"类别", d.category});
    fields.addRow({"部门", d.department});
    fields.addRow({"入账日期", d.createDate});
    fields.addRow({"折旧方法", methodName(d.method)});
    fields.addRow({"原值", groupThousands(formatAmount(d.cost))});
    fields.addRow({"净残值", groupThousands(formatAmount(d.residual))});
    fields.addRow({"减值准备", groupThousands(formatAmount(d.impairment))});
    fields.addRow({"使用期间/工作总量", groupThousands(formatAmount(d.life))});
    for (const auto& [caption, value] : d.description) fields.addRow({caption, value});
    return {"", std::move(fields), ""};
}

// Every version of the card, oldest first, with the way that made it.
Report versionsOf(const AssetDetail& d) {
    TablePrinter table({{"日期"},
                        {"方式"},
                        {"部门"},
                        {"折旧方法"},
                        {"使用期间/工作总量", Align::Right},
                        {"原值", Align::Right},
                        {"减值准备", Align::Right},
                        {"净残值", Align::Right}});
    for (const auto& v : d.versions)
        table.addRow({v.date, v.way, v.department, methodName(v.method), formatAmount(v.life),
                      formatAmount(v.cost), formatAmount(v.impairment), formatAmount(v.residual)});
    return {"\n版本:", std::move(table), ""};
}

Report chargesOf(const AssetDetail& d) {
    TablePrinter table({{"期间"}, {"折旧额", Align::Right}, {"累计折旧", Align::Right}});
    for (const auto& p : d.depreciation)
        table.addRow({p.period.text(), formatAmount(p.charge), formatAmount(p.accumulated)});
    return {"\n折旧:", std::move(table), ""};
}

Report fundsOf(const AssetDetail& d) {
    TablePrinter table({{"资金来源"},
                        {"原值", Align::Right},
                        {"累计折旧", Align::Right},
                        {"减值准备", Align::Right}});
    for (const auto& f : d.funds)
        table.addRow({f.fund, formatAmount(f.figures.cost), formatAmount(f.figures.depreciation),
                      formatAmount(f.figures.impairment)});
    return {"\n已过账的资金来源:", std::move(table), ""};
}

}  // namespace

void Report::print(std::ostream& out, bool csv) const {
    if (csv) return table.printCsv(out);
    if (!heading.empty()) out << heading << "\n";
    table.print(out);
    if (!footnote.empty()) out << footnote << "\n";
}

std::string LedgerReports::heading(const std::string& title) const {
    return title + " " + session_.name() + " 机构 " + std::to_string(session_.organization());
}

Report LedgerReports::registerAt(YearPeriod end, bool summary) const {
    TablePrinter table({{"资产编码"},
                        {"资产名称", Align::Left, kNameWidth},
                        {"类别"},
                        {"部门", Align::Left, kDepartmentWidth},
                        {"原值", Align::Right},
                        {"累计折旧", Align::Right},
                        {"减值准备", Align::Right},
                        {"净值", Align::Right}});
    const auto lines = queries_.register_(end);
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
    return {heading("资产登记簿") + " 截至 " + end.text(), std::move(table), ""};
}

Report LedgerReports::depreciation(YearPeriod from, YearPeriod to, bool byFund,
                                   bool summary) const {
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
    const auto latest = session_.latestDepreciated();
    bool onTrial = false;
    auto closePeriod = [&] {
        if (current.empty()) return;
        add(current, "", {"", "本期合计", "", formatAmount(periodTotal)});
        if (!summary) table.addRule();
        periodTotal = 0;
    };
    for (const auto& r : queries_.depreciation(from, to, byFund)) {
        const bool open = !latest || latest->key() < r.period.key();
        onTrial |= open;
        const std::string label = r.period.text() + (open ? "*" : "");
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
    return {heading("折旧明细") + " " + from.text() + " 至 " + to.text(), std::move(table),
            onTrial ? kTrialNote : ""};
}

Report LedgerReports::schedule(const Schedule& s, bool summary) const {
    std::vector<TablePrinter::Column> columns{{"资产编码"}, {"资产名称", Align::Left, kNameWidth}};
    for (int m = 1; m <= 12; ++m)
        columns.push_back({std::to_string(m) + "月" + (s.isOpen(m) ? "*" : ""), Align::Right});
    columns.push_back({"全年", Align::Right});
    columns.push_back({"以后", Align::Right});
    TablePrinter table(columns);
    ScheduleRow total{"", "合计", {}, 0};
    auto addLine = [&](const ScheduleRow& line) {
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
    return {heading("折旧计划") + " " + std::to_string(s.year) + " 年", std::move(table),
            s.open.empty() ? "" : kTrialNote};
}

Report LedgerReports::journal(const std::string& assetCode) const {
    TablePrinter table({{"期间"},
                        {"资金来源"},
                        {"业务"},
                        {"原值变动", Align::Right},
                        {"折旧变动", Align::Right},
                        {"减值变动", Align::Right},
                        {"原值", Align::Right},
                        {"累计折旧", Align::Right},
                        {"减值准备", Align::Right}});
    for (const auto& j : queries_.journal(assetCode))
        table.addRow({j.period.text(), j.fund, j.fromDepreciation ? "计提折旧" : "卡片变动",
                      formatAmount(j.costChange), formatAmount(j.depreciationChange),
                      formatAmount(j.impairmentChange), formatAmount(j.after.cost),
                      formatAmount(j.after.depreciation), formatAmount(j.after.impairment)});
    return {"资金来源日记账 " + assetCode, std::move(table), ""};
}

Report LedgerReports::assets(const std::optional<std::string>& category,
                             const std::optional<std::string>& department) const {
    TablePrinter table({{"资产编码"},
                        {"资产名称", Align::Left, kNameWidth},
                        {"类别"},
                        {"部门", Align::Left, kDepartmentWidth},
                        {"原值", Align::Right}});
    for (const auto& a : queries_.assets(category, department))
        table.addRow({a.code, a.name, a.category, a.department, formatAmount(a.cost)});
    return {"", std::move(table), ""};
}

std::vector<Report> LedgerReports::asset(const std::string& code) const {
    const AssetDetail detail = queries_.asset(code);
    return {cardOf(detail), versionsOf(detail), chargesOf(detail), fundsOf(detail)};
}

void LedgerReports::writeHtml(const Report& report, const Schedule& s,
                              const std::filesystem::path& file) const {
    HtmlPage page(report.heading);
    std::map<std::string, std::vector<double>> byCategory;
    for (const auto& c : s.byCategory) {
        auto& values = byCategory[c.category];
        values.resize(12);
        values.at(static_cast<size_t>(c.period.period - 1)) += c.amount;
    }
    page.addSvg(SvgChart::stackedBars(std::to_string(s.year) + " 年各月折旧 (按类别)",
                                      monthLabels(), {byCategory.begin(), byCategory.end()}));
    page.addSvg(SvgChart::line(std::to_string(s.year) + " 年净值预测 (含未结账期间试算)",
                               monthLabels(), {s.netBookValue.begin(), s.netBookValue.end()}));
    page.addTable(report.table);
    if (!report.footnote.empty()) page.addHeading(report.footnote);
    page.write(file);
}

}  // namespace tk::report
