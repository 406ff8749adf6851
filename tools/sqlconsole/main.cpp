// sqlconsole: runs Oracle-dialect console scripts against an account set
// through the connection component, answering as Oracle's console client:
//   sqlconsole [-s] [-f FILE] user[/password]@server [@script]
#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "LineSource.hpp"
#include "Logon.hpp"
#include "ScriptInterpreter.hpp"
#include "SpoolBuffer.hpp"
#include "StatementRunner.hpp"
#include "connect/Connection.hpp"

namespace {
using namespace tk::console;

struct Arguments {
    bool silent = false;
    std::string logon, script, file;
};

Arguments parse(const std::vector<std::string>& words) {
    Arguments a;
    for (size_t i = 0; i < words.size(); ++i) {
        if (words[i] == "-s" || words[i] == "-S")
            a.silent = true;
        else if (words[i] == "-f" && i + 1 < words.size())
            a.file = words[++i];
        else if (words[i].starts_with("@"))
            a.script = words[i].substr(1);
        else
            a.logon = words[i];
    }
    return a;
}

std::shared_ptr<tk::connect::Connection> connect(const Logon& logon) {
    auto conn = std::make_shared<tk::connect::Connection>();
    conn->ServerName = logon.server;
    conn->UserName = logon.user;
    conn->Password = logon.password;
    conn->Open();
    return conn;
}

// Reads what the person or the pipe on standard input types.
void runInput(ScriptInterpreter& script, bool silent, TerminalLines& terminalLines) {
    bool terminal = isatty(STDIN_FILENO) && !silent;
    StreamLines pipe(std::cin);
    LineSource& lines = terminal ? static_cast<LineSource&>(terminalLines) : pipe;
    script.run(lines, std::filesystem::current_path(), terminal);
}

}  // namespace

int main(int argc, char** argv) {
    Arguments args = parse(std::vector<std::string>(argv + 1, argv + argc));
    if (args.logon.empty()) {
        std::cerr << "用法: sqlconsole [-s] [-f 文件] 用户[/口令]@服务 [@脚本]\n";
        return 2;
    }
    std::shared_ptr<tk::connect::Connection> conn;
    try {
        conn = connect(Logon::parse(args.logon));
    } catch (const tk::RunTimeError& e) {
        std::cout << "ERROR:\n" << e.description() << "\n";
        return 1;
    } catch (const std::exception& e) {
        std::cerr << e.what() << "\n";
        return 2;
    }
    SpoolBuffer spool(std::cout.rdbuf());
    std::ostream out(&spool);
    StatementRunner runner(conn, out);
    ScriptInterpreter script(runner, out, spool);
    // Only a person at a terminal can be asked for the value of an undefined &name.
    TerminalLines terminal;
    if (isatty(STDIN_FILENO)) script.askWith(&terminal);
    if (!args.file.empty()) {
        script.runFile(args.file);
    } else {
        if (!args.script.empty()) script.runFile(args.script);
        if (!script.exited()) runInput(script, args.silent, terminal);
    }
    return script.finish();
}
