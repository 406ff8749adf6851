// The report and its periods chosen from the options, printed as text or CSV, or written as an
// HTML page with charts.
#include "ReportCommand.hpp"

#include <iostream>

#include "CommandHelp.hpp"
#include "ledger/InputText.hpp"
#include "report/LedgerReports.hpp"

namespace tk::tools {
namespace {

using ledger::LedgerQueries;
using report::Report;

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
    const report::LedgerReports reports(session);
    const bool summary = o.flag("summary");
    if (kind == "register")
        return reports.registerAt(periodOption(o, "period").value_or(queries.latestRun()), summary);
    if (kind == "depreciation") {
        auto [from, to] = periodRange(o, queries);
        if (o.value("period")) session.requirePeriod(from);
        return reports.depreciation(from, to, o.flag("by-fund"), summary);
    }
    if (kind == "schedule") return reports.schedule(*s, summary);
    return reports.journal(o.word(2));
}

}  // namespace

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
    if (!html) {
        report.print(std::cout, o.flag("csv"));
        return 0;
    }
    report::LedgerReports(session).writeHtml(report, *schedule, *html);
    std::cout << "报表已写入 " << *html << "\n";
    return 0;
}

}  // namespace tk::tools
