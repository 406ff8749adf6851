#include <cstdio>
#include <exception>
#include <iostream>
#include <string>

#include "AccountSetCommand.hpp"
#include "CliContext.hpp"
#include "EmbeddedServer.hpp"
#include "Options.hpp"
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

int demo(const tk::tools::CliContext& cli) {
    std::cout << "内置数据库服务: " << cli.server() << "\n";
    return 0;
}

void usage() {
    std::cerr << "用法: amasset <命令> [参数]\n"
                 "  server start|stop|status|url [--data-dir 目录]  管理内置数据库服务\n"
                 "  accountset create|drop|list                   管理账套\n"
                 "  demo                                         演示\n";
}

}  // namespace

int main(int argc, char** argv) {
    Options options(argc, argv, 1);
    std::string command = options.word(0);
    try {
        tk::tools::CliContext cli(options);
        if (command == "server") return serverCommand(cli);
        if (command == "accountset") return tk::tools::accountSetCommand(cli);
        if (command == "demo") return demo(cli);
        usage();
        return 2;
    } catch (const tk::RunTimeError& e) {
        std::cerr << "错误 " << e.number() << ": " << e.description() << "\n";
    } catch (const std::exception& e) {
        std::cerr << "错误: " << e.what() << "\n";
    }
    return 1;
}
