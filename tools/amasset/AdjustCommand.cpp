// The adjustment scripts run with a progress bar and the failed ones named; `sql` hands the
// process over to the console SQL tool logged on to the account set.
#include "AdjustCommand.hpp"

#include <unistd.h>

#include <iostream>
#include <optional>
#include <stdexcept>

#include "AccountSetSession.hpp"
#include "ProgressBar.hpp"
#include "adjust/ConsoleScript.hpp"
#include "adjust/clsAMAdjust.hpp"
#include "frame/ComponentFolder.hpp"
#include "frame/Context.hpp"
#include "provision/AccountSetAdmin.hpp"
#include "provision/CrossSetAccess.hpp"

namespace tk::tools {
namespace {

std::string joined(const std::vector<std::string>& names) {
    std::string text;
    for (const auto& name : names) text += (text.empty() ? "" : ", ") + name;
    return text;
}

}  // namespace

int adjustCommand(const CliContext& cli) {
    AccountSetSession session(cli);
    am::clsAMAdjust adjust;
    adjust.ConnBase = am::context().ConnBase;
    adjust.NewUser = session.connection().UserName;
    adjust.OldUser = am::AccountSetAdmin::schemaName(cli.options().value("from", session.name()));
    adjust.KeepScriptFiles = cli.options().flag("keep-files");
    am::CrossSetAccess readOld(cli.adminServer(), adjust.OldUser, adjust.NewUser);
    std::optional<ProgressBar> bar;
    adjust.onScript = [&](const std::string& name, size_t place, size_t total) {
        if (place == 1) bar.emplace("执行调整脚本", total);
        bar->advance(name);
    };
    adjust.UpdateScript();
    adjust.AdjustData();
    const auto& failed = adjust.failedScripts();
    std::string log = (am::ComponentFolder() / "log" / "DbSql.log").string();
    std::string summary = failed.empty()
                              ? "调整脚本已全部执行 (账套 " + session.name() + ")"
                              : std::to_string(failed.size()) +
                                    " 个调整脚本执行失败: " + joined(failed) + "; 详见 " + log;
    if (bar)
        bar->finish(summary);
    else
        std::cout << summary << "\n";
    return failed.empty() ? 0 : 1;
}

// The tool takes over this process; "user/" logs in without a password, as
// the embedded server needs none; on a --server server libpq takes the set's
// password from the environment.
int sqlCommand(const CliContext& cli) {
    const Options& o = cli.options();
    std::string name = o.value("account-set", o.value("user", ""));
    if (name.empty()) throw std::runtime_error("请用 --account-set 指定账套");
    if (!am::AccountSetAdmin(cli.adminServer()).exists(name))
        throw std::runtime_error("账套不存在: " + name);
    std::string tool = am::ConsoleScript::tool().string();
    std::string logon = am::AccountSetAdmin::schemaName(name) + "/@" + cli.server();
    std::vector<std::string> args{tool};
    if (o.word(1) == "-f") args.insert(args.end(), {"-f", o.word(2)});
    args.push_back(logon);
    if (std::string password = cli.accountSetPassword(); !password.empty())
        setenv("PGPASSWORD", password.c_str(), 1);
    std::vector<char*> argv;
    for (auto& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    execv(tool.c_str(), argv.data());
    throw std::runtime_error("无法启动控制台工具 " + tool);
}

}  // namespace tk::tools
