// Account-set administration from the command line, and the older module's demo data that a demo
// upgrade starts from.
#include "AccountSetCommand.hpp"

#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <stdexcept>

#include "BackupCommand.hpp"
#include "connect/Connection.hpp"
#include "connect/Session.hpp"
#include "ledger/InputText.hpp"
#include "provision/AccountSetAdmin.hpp"

namespace tk::tools {
namespace {

int currentYear() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local.tm_year + 1900;
}

std::vector<int> parseYears(const std::string& text) {
    std::vector<int> years;
    std::stringstream in(text);
    std::string item;
    while (std::getline(in, item, ',')) {
        years.push_back(ledger::parseInteger(item, 1900, 2999, "会计年度"));
    }
    return years;
}

// The older fixed-asset module's tables in place of this component's, with a
// small company booked in them over the years: the source of a demo upgrade.
void fillOlderModuleDemo(const CliContext& cli, const std::string& name,
                         const std::vector<int>& years) {
    std::filesystem::path folder = am::DatabaseFolder() / ".." / "examples" / "older_module";
    connect::Connection conn;
    conn.ServerName = cli.server();
    conn.UserName = am::AccountSetAdmin::schemaName(name);
    conn.Password = cli.accountSetPassword();
    conn.Open();
    std::string script = "SET search_path TO " + conn.UserName + ", oracompat, public;";
    for (const char* file : {"fixed_tables.sql", "company.sql"})
        if (std::ifstream in{(folder / file).lexically_normal()}; in)
            script += std::string(std::istreambuf_iterator<char>(in), {});
        else
            throw std::runtime_error("找不到演示数据: " + (folder / file).string());
    conn.session().runScript(script + "SELECT FixedModuleCompany(0.17, 36, " +
                             std::to_string(years.front()) + ", " + std::to_string(years.size()) +
                             ", 0);");
}

}  // namespace

int accountSetCommand(const CliContext& cli) {
    const Options& o = cli.options();
    std::string action = o.word(1), name = o.word(2);
    if (action == "backup") return accountSetBackupCommand(cli);
    if (action == "restore") return accountSetRestoreCommand(cli);
    if ((action == "create" || action == "drop") && name.empty()) {
        std::cerr << "用法: amasset accountset " << action << " 账套名\n";
        return 2;
    }
    am::AccountSetAdmin admin(cli.adminServer());
    if (action == "create") {
        am::AccountSetOptions options;
        options.years = parseYears(o.value("years", std::to_string(currentYear())));
        const bool olderModule = o.flag("older-module-demo");
        options.demo = o.flag("demo") || olderModule;
        options.onlineDevice = o.flag("with-online-device");
        options.selfService = o.flag("with-self-service");
        options.replace = o.flag("replace");
        options.like = o.value("like", "");
        bool madeUp = false;
        options.password = cli.newAccountSetPassword(madeUp);
        if (!options.like.empty() && !admin.exists(options.like))
            throw std::runtime_error("参照账套不存在: " + options.like);
        admin.create(name, options);
        if (olderModule) fillOlderModuleDemo(cli, name, options.years);
        std::cout << "账套 " << name << (olderModule ? " (旧固定资产模块演示数据)" : "")
                  << " 已创建\n";
        if (madeUp)
            std::cout << "账套登录口令 (只显示这一次, 登录时以环境变量 AMASSET_PASSWORD 给出): "
                      << options.password << "\n";
    } else if (action == "drop") {
        admin.drop(name);
        std::cout << "账套 " << name << " 已删除\n";
    } else if (action == "secure") {
        if (!name.empty()) {
            admin.secure(name);
            std::cout << "账套 " << name << " 已只归本账套登录所有\n";
        } else if (!ReportSetsNotSecured(admin.secureAll())) {
            return 1;
        } else {
            std::cout << "全部账套 已只归本账套登录所有\n";
        }
    } else if (action == "list") {
        for (const auto& set : admin.list())
            std::cout << set.name << "\t" << set.tables << " 张表\n";
    } else {
        std::cerr << "用法: amasset accountset create|drop|list|secure|backup|restore\n";
        return 2;
    }
    return 0;
}

}  // namespace tk::tools
