// Periods closed with a progress bar, a note while another close holds them, and a summary with
// the time taken.
#include "PeriodCommand.hpp"

#include <chrono>
#include <iostream>
#include <sstream>

#include "ProgressBar.hpp"
#include "ledger/PeriodCloser.hpp"

namespace tk::tools {

void closePeriods(const AccountSetSession& session, YearPeriod from, YearPeriod to,
                  const std::function<void(YearPeriod)>& beforeEach) {
    size_t count = 0;
    for (YearPeriod p = from; p <= to; p = p.next()) ++count;
    auto started = std::chrono::steady_clock::now();
    ProgressBar bar("期间结账", count);
    ledger::PeriodCloser(session).close(
        from, to, beforeEach, [&](YearPeriod p) { bar.advance(p.text()); },
        [] { std::cerr << "正在等待另一个结账完成…" << std::endl; });
    std::chrono::duration<double> took = std::chrono::steady_clock::now() - started;
    std::ostringstream summary;
    summary.precision(1);
    summary << std::fixed << "已结账 " << count << " 个期间 (" << from.text() << " 至 " << to.text()
            << "), 用时 " << took.count() << " 秒";
    bar.finish(summary.str());
}

int periodCommand(const CliContext& cli) {
    const Options& o = cli.options();
    auto from = o.value("period");
    if (o.word(1) != "close" || !from) {
        std::cerr << "用法: amasset period close --period yyyy-MM [--to yyyy-MM]\n";
        return 2;
    }
    YearPeriod first = YearPeriod::parse(*from);
    YearPeriod last = YearPeriod::parse(o.value("to", *from));
    AccountSetSession session(cli);
    closePeriods(session, first, last);
    return 0;
}

}  // namespace tk::tools
