// Running the amasset program for the tests: making and dropping its account
// set, collecting what it printed, and querying the set on its own connection.
#include "AmassetCli.hpp"

#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <future>
#include <sstream>
#include <stdexcept>

#include "TestDatabase.hpp"
#include "connect/Connection.hpp"
#include "provision/AccountSetAdmin.hpp"

namespace tk::test {
namespace {

std::string singleQuoted(const std::string& text) { return "'" + text + "'"; }

}  // namespace

std::vector<std::string> LastCsvRow(const std::string& csv) {
    std::string last, line;
    for (std::istringstream lines(csv); std::getline(lines, line);)
        if (!line.empty()) last = line;
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (char c : last) {
        if (c == '"')
            quoted = !quoted;
        else if (c == ',' && !quoted)
            fields.emplace_back();
        else
            fields.back() += c;
    }
    return fields;
}

AmassetCli::AmassetCli(const std::string& hint, const std::string& dataDir) {
    static std::atomic<int> made{0};
    set_ = hint + "_" + std::to_string(getpid()) + "_" + std::to_string(made++);
    serverName_ = dataDir.empty() ? testServer() : "host=" + dataDir + " dbname=amasset";
    adminName_ = serverName_ + " user=amasset";
    serverOption_ =
        dataDir.empty() ? "--server " + singleQuoted(adminName_) : "--data-dir " + dataDir;
    Outcome created = shell(program() + " accountset create " + set_ +
                            " --demo --years 2024 --replace " + serverOption_ + " 2>&1");
    if (created.status != 0) throw std::runtime_error(created.out);
}

AmassetCli::~AmassetCli() {
    try {
        am::AccountSetAdmin(adminName_).drop(set_);
    } catch (...) {
        // the private server it lived on may be gone already
    }
}

// The program sits in the build directory, the parent of this test's own.
std::string AmassetCli::program() {
    auto self = std::filesystem::read_symlink("/proc/self/exe");
    return (self.parent_path().parent_path() / "amasset").string();
}

std::string AmassetCli::commandLine(const std::string& args) const {
    return program() + " " + args + " --account-set " + set_ + " " + serverOption_ + " 2>&1";
}

Outcome AmassetCli::run(const std::string& args) const { return shell(commandLine(args)); }

std::vector<Outcome> AmassetCli::runSideBySide(const std::string& args, int processes,
                                               int times) const {
    const std::string loop = "for i in $(seq " + std::to_string(times) + "); do " +
                             commandLine(args) + " || exit 1; done";
    std::vector<std::future<Outcome>> running;
    for (int p = 0; p < processes; ++p)
        running.push_back(std::async(std::launch::async, [loop] { return shell(loop); }));
    std::vector<Outcome> outcomes;
    for (auto& run : running) outcomes.push_back(run.get());
    return outcomes;
}

Outcome AmassetCli::runOnServer(const std::string& args) {
    return shell(program() + " " + args + " --server " + singleQuoted(adminServer()) + " 2>&1");
}

Outcome AmassetCli::shell(const std::string& text) {
    Outcome run;
    FILE* pipe = popen(text.c_str(), "r");
    std::array<char, 4096> buffer;
    for (size_t n; (n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0;)
        run.out.append(buffer.data(), n);
    int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

double AmassetCli::scalar(const std::string& sql) const {
    std::string value = text(sql);
    return value.empty() ? 0 : std::stod(value);
}

std::string AmassetCli::text(const std::string& sql) const {
    connect::Connection conn;
    conn.ServerName = serverName_;
    conn.UserName = set_;
    conn.Open();
    auto rs = conn.GetRecordset(sql, 3, 1);
    return rs->eof() || rs->field(0).isNull() ? "" : rs->field(0).toText();
}

std::shared_ptr<connect::Connection> AmassetCli::holdTransaction() const {
    auto holder = std::make_shared<connect::Connection>();
    holder->ServerName = serverName_;
    holder->UserName = set_;
    holder->Open();
    holder->BeginTrans();
    return holder;
}

bool AmassetCli::untilOneWaits(const std::function<bool()>& running) const {
    const std::string waiting =
        "Select Count(*) From pg_stat_activity Where usename = current_user"
        " And wait_event_type = 'Lock'";
    while (running())
        if (scalar(waiting) > 0) return true;
    return false;
}

}  // namespace tk::test
