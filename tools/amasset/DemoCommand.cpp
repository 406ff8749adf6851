// The demo run: an account set with a year of assets added, changed and closed, its reports
// printed, then carried into the next year's set and its first month closed.
#include "DemoCommand.hpp"

#include <chrono>
#include <iostream>
#include <stdexcept>

#include "CarryForwardCommand.hpp"
#include "DemoYear.hpp"
#include "PeriodCommand.hpp"
#include "ProgressBar.hpp"
#include "provision/AccountSetAdmin.hpp"
#include "report/LedgerReports.hpp"

namespace tk::tools {
namespace {

using namespace ledger;
using namespace report;

constexpr int kYear = DemoYear::kYear;

// Every closed period's depreciation by account and department.
void printDepreciation(const AccountSetSession& session) {
    const LedgerQueries queries(session);
    LedgerReports(session)
        .depreciation(queries.periodSpan().first, queries.latestRun())
        .print(std::cout);
}

}  // namespace

int demoCommand(const CliContext& cli) {
    auto started = std::chrono::steady_clock::now();
    const std::string name = cli.options().value("account-set", "AMDEMO");
    std::cout << "数据库服务: " << cli.server() << "\n";
    am::AccountSetOptions options;
    options.years = {kYear};
    options.demo = true;
    options.replace = true;
    bool madeUp = false;
    options.password = cli.newAccountSetPassword(madeUp);
    if (madeUp) std::cout << "账套登录口令 (AMASSET_PASSWORD): " << options.password << "\n";
    am::AccountSetAdmin(cli.adminServer()).create(name, options);
    std::cout << "演示账套 " << name << " 已创建 (" << kYear << " 年)\n";

    AccountSetSession session(cli, name);
    DemoYear year(session);
    year.useBothDepreciationTypes();
    ProgressBar bar("新增资产", DemoYear::kAssets);
    year.addAssets([&](const std::string& code) { bar.advance(code); });
    bar.finish("已新增 " + std::to_string(DemoYear::kAssets) + " 项资产");
    auto work = [&](YearPeriod p) { year.recordWork(p); };
    closePeriods(session, {kYear, 1}, {kYear, 6}, work);
    const DemoYear::Changes changes = year.changeMidYear();
    std::cout << "7 月变动: " << changes.impaired << " 项计提减值准备, " << changes.transferred
              << " 项部门调拨, " << changes.scrapped << " 项报废\n";
    closePeriods(session, {kYear, 7}, {kYear, 12}, work);

    std::cout << "\n";
    LedgerReports(session).registerAt({kYear, 12}, true).print(std::cout);
    std::cout << "\n";
    printDepreciation(session);

    // The year ends with the carry-forward into the next account set, which
    // then depreciates its first month.
    const std::string next = name + std::to_string(kYear + 1);
    options.years = {kYear + 1};
    options.demo = false;
    options.like = name;
    am::AccountSetAdmin(cli.adminServer()).create(next, options);
    std::cout << "\n下年账套 " << next << " 已创建, 结转 " << name << " → " << next << "\n";
    AccountSetSession nextSet(cli, next, true);
    if (carryForward(cli, nextSet, name, std::to_string(kYear + 1) + "-01-01", false) != 0)
        throw std::runtime_error("结转失败");
    const YearPeriod january{kYear + 1, 1};
    closePeriods(nextSet, january, january, work);
    std::cout << "\n";
    printDepreciation(nextSet);
    std::chrono::duration<double> took = std::chrono::steady_clock::now() - started;
    std::cout << "\n演示完成, 用时 " << static_cast<int>(took.count() + 0.5) << " 秒\n";
    return 0;
}

}  // namespace tk::tools
