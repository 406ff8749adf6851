#include <cstdio>
#include <exception>
#include <iostream>
#include <string>

#include "EmbeddedServer.hpp"
#include "Options.hpp"
#include "connect/RunTimeError.hpp"

namespace {
using tk::tools::EmbeddedServer;
using tk::tools::Options;

EmbeddedServer embeddedServer(const Options& o) {
    auto dir = o.value("data-dir");
    return EmbeddedServer(dir ? std::filesystem::path(*dir) : EmbeddedServer::defaultDataDir());
}

// Some words take a value; "--fresh" and friends are flags. The parser takes the
// next word as a value unless it is an option itself.
int serverCommand(const Options& o) {
    std::string action = o.word(1);
    EmbeddedServer server = embeddedServer(o);
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

int demo(const Options& o) {
    EmbeddedServer server = embeddedServer(o);
    server.start(false, true);
    std::cout << "内置数据库服务: " << server.url() << "\n";
    return 0;
}

void usage() {
    std::cerr << "用法: amasset <命令> [参数]\n"
                 "  server start|stop|status|url [--data-dir 目录]  管理内置数据库服务\n"
                 "  demo                                         演示\n";
}

}  // namespace

int main(int argc, char** argv) {
    Options options(argc, argv, 1);
    std::string command = options.word(0);
    try {
        if (command == "server") return serverCommand(options);
        if (command == "demo") return demo(options);
        usage();
        return 2;
    } catch (const tk::RunTimeError& e) {
        std::cerr << "错误 " << e.number() << ": " << e.description() << "\n";
    } catch (const std::exception& e) {
        std::cerr << "错误: " << e.what() << "\n";
    }
    return 1;
}
