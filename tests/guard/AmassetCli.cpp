#include "AmassetCli.hpp"

#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <stdexcept>

#include "TestDatabase.hpp"
#include "provision/AccountSetAdmin.hpp"

namespace tk::test {
namespace {

std::string quoted(const std::string& text) { return "'" + text + "'"; }

}  // namespace

AmassetCli::AmassetCli(const std::string& hint) {
    static std::atomic<int> made{0};
    set_ = hint + "_" + std::to_string(getpid()) + "_" + std::to_string(made++);
    Outcome created =
        shell(program() + " accountset create " + set_ +
              " --demo --years 2024 --replace --server " + quoted(adminServer()) + " 2>&1");
    if (created.status != 0) throw std::runtime_error(created.out);
    conn_ = std::make_shared<connect::Connection>();
    conn_->ServerName = testServer();
    conn_->UserName = set_;
    conn_->Open();
}

AmassetCli::~AmassetCli() {
    conn_.reset();
    am::AccountSetAdmin(adminServer()).drop(set_);
}

// The program sits in the build directory, the parent of this test's own.
std::string AmassetCli::program() {
    auto self = std::filesystem::read_symlink("/proc/self/exe");
    return (self.parent_path().parent_path() / "amasset").string();
}

std::string AmassetCli::commandLine(const std::string& args) const {
    return program() + " " + args + " --account-set " + set_ + " --server " +
           quoted(adminServer()) + " 2>&1";
}

Outcome AmassetCli::run(const std::string& args) const { return shell(commandLine(args)); }

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
    auto rs = conn_->GetRecordset(sql, 3, 1);
    return rs->eof() || rs->field(0).isNull() ? 0 : rs->field(0).toDouble();
}

}  // namespace tk::test
