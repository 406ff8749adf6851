#include <cstdio>
#include <exception>
#include <iostream>
#include <string>

#include "AccountSetCommand.hpp"
#include "AdjustCommand.hpp"
#include "AssetCommand.hpp"
#include "CliContext.hpp"
#include "DemoCommand.hpp"
#include "EmbeddedServer.hpp"
#include "Options.hpp"
#include "PeriodCommand.hpp"
#include "PostCommand.hpp"
#include "ReportCommand.hpp"
#include "UpgradeCommand.hpp"
#include "connect/RunTimeError.hpp"

namespace {
using tk::tools::EmbeddedServer;
using tk::tools::Options;

int serverCommand(const tk::tools::CliContext& cli) {
    const Options& o = cli.options();
    std::string action = o.word(1);
    EmbeddedServer server = cli.embedded();
    if (action == "start") {
        server.start(o.flag("fresh"), !o.flag("fresh"));
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
    } else {
        std::cerr << "用法: amasset server start|stop|status|url [--data-dir 目录]\n";
        return 2;
    }
    return 0;
}

void usage() {
    std::cerr
        << "用法: amasset <命令> [参数]\n"
           "  server start|stop|status|url [--data-dir 目录]  管理内置数据库服务\n"
           "  accountset create|drop|list                   管理账套\n"
           "  asset add|list|show|alter|work|dispose       新增、列出、查看、变动、减少资产, "
           "登记工作量\n"
           "  period close --period yyyy-MM [--to yyyy-MM]  期间结账(计提折旧并过账)\n"
           "  post --rebuild                               重建资金来源日记账\n"
           "  amortise                                     折旧费用分摊\n"
           "  report register|depreciation|schedule|journal [--period yyyy-MM] [--summary] [--csv] "
           " 报表\n"
           "  demo                                         演示: 建账套, 新增一年的资产并结账\n"
           "  adjust [--from 原账套] [--keep-files]          执行数据调整脚本\n"
           "  sql [-f 脚本]                                SQL 控制台 (Oracle 语法)\n"
           "  upgrade --from 原账套 --to 新账套 --old-version 版本 [--new-version 版本] [--check]\n"
           "                                               升级固定资产数据\n"
           "全局参数: --server 连接串 --account-set 账套 --org 机构(默认 1) --data-dir 目录\n";
}

}  // namespace

int main(int argc, char** argv) {
    Options options(argc, argv, 1);
    std::string command = options.word(0);
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
        if (command == "upgrade") return tk::tools::upgradeCommand(cli);
        usage();
        return 2;
    } catch (const tk::RunTimeError& e) {
        std::cerr << "错误 " << e.number() << ": " << e.description() << "\n";
    } catch (const std::exception& e) {
        std::cerr << "错误: " << e.what() << "\n";
    }
    return 1;
}
