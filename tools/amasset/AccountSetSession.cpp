// Logs on to the named account set (an error when there is none) as its own login, for the
// organisation --org gives.
#include "AccountSetSession.hpp"

#include <cstdint>
#include <stdexcept>

#include "ledger/InputText.hpp"
#include "provision/AccountSetAdmin.hpp"

namespace tk::tools {
namespace {

std::string accountSetName(const Options& o, const std::string& fallbackName, bool fixedName) {
    std::string name =
        fixedName ? fallbackName : o.value("account-set", o.value("user", fallbackName));
    if (name.empty()) throw std::runtime_error("请用 --account-set 指定账套");
    return name;
}

std::shared_ptr<connect::Connection> logOn(const CliContext& cli, const std::string& name) {
    if (!am::AccountSetAdmin(cli.adminServer()).exists(name))
        throw std::runtime_error("账套不存在: " + name);
    auto conn = std::make_shared<connect::Connection>();
    conn->ServerName = cli.server();
    conn->UserName = am::AccountSetAdmin::schemaName(name);
    conn->Password = cli.accountSetPassword();
    conn->Open();
    return conn;
}

}  // namespace

AccountSetSession::AccountSetSession(const CliContext& cli, const std::string& fallbackName,
                                     bool fixedName)
    : LedgerSession(logOn(cli, accountSetName(cli.options(), fallbackName, fixedName)),
                    ledger::parseInteger(cli.options().value("org", "1"), 1, INT32_MAX, "机构编号"),
                    accountSetName(cli.options(), fallbackName, fixedName)) {}

}  // namespace tk::tools
