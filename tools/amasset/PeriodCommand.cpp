#include "PeriodCommand.hpp"

#include <chrono>
#include <iostream>
#include <sstream>
#include <stdexcept>

#include "ProgressBar.hpp"
#include "depreciation/PeriodLock.hpp"
#include "depreciation/clsAMAssetDeprection.hpp"

namespace tk::tools {
namespace {

constexpr int32_t kOperator = 1;

void closePeriod(const AccountSetSession& session, YearPeriod period) {
    am::clsAMAssetDeprection depreciation;
    const auto year = static_cast<int16_t>(period.year);
    const Variant org(session.organization());
    requireEngine(depreciation.WriteDaily(year, period.period, 0, false, false, org), depreciation,
                  "期间 " + period.text() + " 变动过账失败");
    depreciatePeriod(session, period);
    requireEngine(depreciation.WriteDaily(year, period.period, 0, true, false, org), depreciation,
                  "期间 " + period.text() + " 折旧过账失败");
}

}  // namespace

void closePeriods(const AccountSetSession& session, YearPeriod from, YearPeriod to,
                  const std::function<void(YearPeriod)>& beforeEach) {
    if (!(from <= to)) throw std::runtime_error("结束期间早于开始期间");
    size_t count = 0;
    for (YearPeriod p = from; p <= to; p = p.next()) {
        session.requirePeriod(p);
        ++count;
    }
    auto started = std::chrono::steady_clock::now();
    ProgressBar bar("期间结账", count);
    for (YearPeriod p = from; p <= to; p = p.next()) {
        inTransaction(session, [&] {
            am::PeriodLock::takeAlone(session.organization(),
                                      [] { std::cerr << "正在等待另一个结账完成…" << std::endl; });
            if (beforeEach) beforeEach(p);
            closePeriod(session, p);
            return 0;
        });
        bar.advance(p.text());
    }
    std::chrono::duration<double> took = std::chrono::steady_clock::now() - started;
    std::ostringstream summary;
    summary.precision(1);
    summary << std::fixed << "已结账 " << count << " 个期间 (" << from.text() << " 至 " << to.text()
            << "), 用时 " << took.count() << " 秒";
    bar.finish(summary.str());
}

void depreciatePeriod(const AccountSetSession& session, YearPeriod period) {
    am::clsAMAssetDeprection depreciation;
    requireEngine(depreciation.WriteBalance(0, static_cast<int16_t>(period.year), period.period,
                                            session.periodEnd(period), "计提折旧", false, 0,
                                            kOperator, session.organization()),
                  depreciation, "期间 " + period.text() + " 计提折旧失败");
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
