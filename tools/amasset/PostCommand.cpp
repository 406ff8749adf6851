// The organisation's daily journal rebuilt, or its depreciation apportioned, with a line saying so.
#include "PostCommand.hpp"

#include <iostream>

#include "AccountSetSession.hpp"
#include "ledger/PeriodCloser.hpp"

namespace tk::tools {

int postCommand(const CliContext& cli) {
    if (!cli.options().flag("rebuild")) {
        std::cerr << "用法: amasset post --rebuild\n";
        return 2;
    }
    AccountSetSession session(cli);
    ledger::PeriodCloser(session).rebuildJournal();
    std::cout << "资金来源日记账已重建 (机构 " << session.organization() << ")\n";
    return 0;
}

int amortiseCommand(const CliContext& cli) {
    AccountSetSession session(cli);
    ledger::PeriodCloser(session).amortise();
    std::cout << "折旧费用已分摊 (机构 " << session.organization() << ")\n";
    return 0;
}

}  // namespace tk::tools
