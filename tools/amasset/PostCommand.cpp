#include "PostCommand.hpp"

#include <iostream>
#include <stdexcept>

#include "AccountSetSession.hpp"
#include "depreciation/clsAMAssetAmortise.hpp"
#include "depreciation/clsAMAssetDaily.hpp"

namespace tk::tools {
namespace {

// Runs one of the organisation-wide processes in a transaction; its error
// text, if any, goes into the message.
template <typename Process>
void runWhole(const AccountSetSession& session, const std::string& what) {
    inTransaction(session, [&] {
        Process process;
        std::string error;
        if (!process.Execute(session.organization(), error))
            throw std::runtime_error(what + "失败" +
                                     (error.empty() ? std::string() : ": " + error));
        return 0;
    });
}

}  // namespace

int postCommand(const CliContext& cli) {
    if (!cli.options().flag("rebuild")) {
        std::cerr << "用法: amasset post --rebuild\n";
        return 2;
    }
    AccountSetSession session(cli);
    runWhole<am::clsAMAssetDaily>(session, "重建资金来源日记账");
    std::cout << "资金来源日记账已重建 (机构 " << session.organization() << ")\n";
    return 0;
}

int amortiseCommand(const CliContext& cli) {
    AccountSetSession session(cli);
    runWhole<am::clsAMAssetAmortise>(session, "折旧费用分摊");
    std::cout << "折旧费用已分摊 (机构 " << session.organization() << ")\n";
    return 0;
}

}  // namespace tk::tools
