// The amasset command-line tool: subcommands dispatched, help and version given, errors printed.
#include <cstdio>
#include <exception>
#include <iostream>
#include <string>

#include "AccountSetCommand.hpp"
#include "AdjustCommand.hpp"
#include "AssetCommand.hpp"
#include "BackupCommand.hpp"
#include "CarryForwardCommand.hpp"
#include "CliContext.hpp"
#include "CommandHelp.hpp"
#include "DemoCommand.hpp"
#include "Options.hpp"
#include "PeriodCommand.hpp"
#include "PostCommand.hpp"
#include "ReportCommand.hpp"
#include "UpgradeCommand.hpp"
#include "host/RunTimeError.hpp"
#include "provision/DatabaseFolder.hpp"
#include "provision/EmbeddedServer.hpp"

namespace {
using tk::am::EmbeddedServer;
using tk::tools::Options;

int serverCommand(const tk::tools::CliContext& cli) {
    const Options& o = cli.options();
    std::string action = o.word(1);
    EmbeddedServer server = cli.embedded();
    if (action == "start") {
        tk::tools::ReportSetsNotSecured(server.start(o.flag("fresh"), !o.flag("fresh")));
        std::cout << "数据库服务已启动: " << server.url() << "\n";
    } else if (action == "stop") {
        server.stop(o.flag("remove"));
        std::cout << "数据库服务已停止\n";
    } else if (action == "status") {
        bool up = server.running();
        std::cout << (up ? "运行中: " + server.url() : std::string("未运行")) << "\n";
        return up ? 0 : 3;
    } else if (action == "url") {
        std::cout << server.url() << "\n";
    } else if (action == "backup") {
        return tk::tools::serverBackupCommand(cli);
    } else {
        std::cerr << "用法: amasset server start|stop|status|url|backup [--data-dir 目录]\n";
        return 2;
    }
    return 0;
}

// `amasset --help asset` gives the command as the option's value.
int printHelp(const Options& o) {
    std::string command = o.word(0) == "help" ? o.word(1) : o.word(0);
    if (command.empty()) command = o.value("help", "");
    if (command.empty()) {
        tk::tools::CommandHelp::printOverview(std::cout);
        return 0;
    }
    if (tk::tools::CommandHelp::print(command, std::cout)) return 0;
    std::cerr << "未知命令: " << command << "\n";
    tk::tools::CommandHelp::printOverview(std::cerr);
    return 2;
}

// The version, and the schema folder account sets are created from.
int printVersion() {
    std::cout << "amasset " << TKAM_VERSION << "\n"
              << "账套脚本: " << tk::am::DatabaseFolder().string() << "\n";
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    Options options(argc, argv, 1);
    std::string command = options.word(0);
    if (options.flag("help") || command == "help") return printHelp(options);
    if (options.flag("version")) return printVersion();
    try {
        tk::tools::CliContext cli(options);
        if (command == "server") return serverCommand(cli);
        if (command == "accountset") return tk::tools::accountSetCommand(cli);
        if (command == "asset") return tk::tools::assetCommand(cli);
        if (command == "period") return tk::tools::periodCommand(cli);
        if (command == "post") return tk::tools::postCommand(cli);
        if (command == "amortise") return tk::tools::amortiseCommand(cli);
        if (command == "report") return tk::tools::reportCommand(cli);
        if (command == "demo") return tk::tools::demoCommand(cli);
        if (command == "adjust") return tk::tools::adjustCommand(cli);
        if (command == "sql") return tk::tools::sqlCommand(cli);
        if (command == "carryforward") return tk::tools::carryForwardCommand(cli);
        if (command == "upgrade") return tk::tools::upgradeCommand(cli);
        tk::tools::CommandHelp::printOverview(std::cerr);
        return 2;
    } catch (const tk::RunTimeError& e) {
        std::cerr << "错误 " << e.number() << ": " << e.description() << "\n";
    } catch (const std::exception& e) {
        std::cerr << "错误: " << e.what() << "\n";
    }
    return 1;
}
