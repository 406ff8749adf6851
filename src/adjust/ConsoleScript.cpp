// Writes a script and its console wrapper into the run's folder, runs the tool with the password
// on its standard input, and tells a failure by the marks in the console's output.
#include "adjust/ConsoleScript.hpp"

#include <unistd.h>

#include <atomic>
#include <fstream>

#include "adjust/DOSOutputs.hpp"
#include "adjust/FileSystem.hpp"
#include "connect/ServerText.hpp"
#include "connect/Session.hpp"
#include "frame/ComponentFolder.hpp"
#include "frame/Conversion.hpp"

namespace tk::am {
namespace fs = std::filesystem;
namespace {

// One word for the shell-like splitting of the command line, whatever it holds.
std::string quoted(const std::string& word) { return "'" + ReplaceAll(word, "'", "'\\''") + "'"; }

bool endsWithSlash(const std::string& text) {
    size_t last = text.find_last_not_of(" \t\r\n");
    return last != std::string::npos && text[last] == '/';
}

void writeFile(const fs::path& file, const std::string& text) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << text;
}

}  // namespace

ConsoleScript::ConsoleScript(const connect::Connection& login, fs::path folder,
                             int32_t timeoutSeconds)
    : login_(login), folder_(std::move(folder)), timeoutSeconds_(timeoutSeconds) {}

fs::path ConsoleScript::tool() { return ComponentFolder() / "sqlconsole"; }

std::string ConsoleScript::commandLine(const connect::Connection& login, const fs::path& script) {
    return quoted(tool().string()) + " -s " +
           quoted(login.UserName + "@" + connect::ServerText::withoutPassword(login.ServerName)) +
           " @" + quoted(script.string());
}

bool ConsoleScript::failed(const std::string& output) {
    for (const char* mark : {"警告：", "LRM-", "ORA-", "SP2-"})
        if (output.find(mark) != std::string::npos) return true;
    return false;
}

ConsoleScript::Outcome ConsoleScript::run(const std::string& fileName,
                                          const std::string& text) const {
    if (!PathExists(tool().string())) return {"找不到控制台工具 " + tool().string(), true};
    fs::path wrapper = writeWrapper(writeScript(fileName, text));
    DOSOutputs dos;
    dos.TrimNullString = true;
    // the password reaches the tool on its input, never its command line or environment
    dos.StandardInput =
        (login_.Password.empty() ? connect::ServerText::passwordOf(login_.ServerName)
                                 : login_.Password) +
        "\n";
    dos.TimeoutSeconds = timeoutSeconds_;
    const std::string sessions = sessionName();
    dos.Environment = {"PGAPPNAME=" + sessions};
    std::string output = dos.ExecuteCommand(commandLine(login_, wrapper));
    if (dos.TimedOut) {
        endSessions(sessions);
        return {output + "\n控制台工具运行超过 " + std::to_string(timeoutSeconds_) + " 秒, 已终止",
                true};
    }
    if (dos.ExitStatus != 0)
        return {output + "\n控制台工具退出状态 " + std::to_string(dos.ExitStatus), true};
    return {output, failed(output)};
}

// A name for the sessions of one run of the tool, unique on the server.
std::string ConsoleScript::sessionName() {
    static std::atomic<unsigned> runs{0};
    return "tkam-script-" + std::to_string(getpid()) + "-" + std::to_string(++runs);
}

// A killed tool's session goes on with the statement it was running (one
// waiting for a lock would carry it out once the lock is free): it is ended
// here, and its statement rolled back.
void ConsoleScript::endSessions(const std::string& name) const {
    login_.session().runNative(
        "SELECT pg_terminate_backend(pid, 10000) FROM pg_stat_activity"
        " WHERE application_name = '" +
        name + "'");
}

fs::path ConsoleScript::writeScript(const std::string& fileName, const std::string& text) const {
    fs::path file = folder_ / fs::path(fileName).filename();
    writeFile(file, endsWithSlash(text) ? text : text + "\n/");
    return file;
}

fs::path ConsoleScript::writeWrapper(const fs::path& script) const {
    static const char* kSettings[] = {
        "--不分页",
        "set pages 0;",
        "--不显示每行的列名",
        "set heading off;",
        "--关闭返回结果",
        "--set feedback off;",
        "--设置最大输出大小",
        "set long 545128448;",
        "--去除重定向行尾空格",
        "set trimspool on;",
        "--关闭出错返回信息",
        "--set termout off;",
        "--设置每行最大输出宽度",
        "set linesize 2000;",
        "--折行显示,当sql语句长度大于linesize时,是否另起新行显示,否则输出行多余字符被切除",
        "set wrap on;",
        "--去除每行后面多余的空格",
        "set trims on;",
        "--关闭每个sql语句花费的执行时间",
        "set timing off;",
        "--取消校验",
        "set verify off;",
        "--空行不是语句结束",
        "set sqlblanklines on;",
        "--设置日志输出"};
    std::string text;
    for (const char* line : kSettings) text += std::string(line) + "\n";
    text += "--spool " + (folder_ / "sqlplus.log").string() + ";\n";
    text += "@" + script.string() + "\n--spool off;\nexit;\n";
    fs::path wrapper = folder_ / "sqlplus.sql";
    writeFile(wrapper, text);
    return wrapper;
}

}  // namespace tk::am
