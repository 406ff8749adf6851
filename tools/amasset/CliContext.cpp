// Server names and account-set passwords for the commands, the embedded server started on demand.
#include "CliContext.hpp"

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <random>

namespace tk::tools {

CliContext::CliContext(const Options& options) : options_(options) {}

EmbeddedServer CliContext::embedded() const {
    auto dir = options_.value("data-dir");
    return EmbeddedServer(dir ? std::filesystem::path(*dir) : EmbeddedServer::defaultDataDir());
}

bool ReportSetsNotSecured(const std::vector<std::string>& failures) {
    for (const std::string& failure : failures)
        std::cerr << "未能归入自己的登录或更新到本版本的" << failure << "\n";
    return failures.empty();
}

EmbeddedServer CliContext::runningServer() const {
    EmbeddedServer server = embedded();
    if (!server.running()) ReportSetsNotSecured(server.start(false, true));
    return server;
}

std::string CliContext::server() const {
    if (auto named = options_.value("server")) return *named;
    return runningServer().url();
}

std::string CliContext::adminServer() const {
    if (auto named = options_.value("server")) return *named;
    return runningServer().adminUrl(EmbeddedServer::kDatabase);
}

std::string CliContext::accountSetPassword() const {
    if (!options_.value("server")) return "";
    const char* password = std::getenv("AMASSET_PASSWORD");
    return password ? password : "";
}

std::string CliContext::newAccountSetPassword(bool& madeUp) const {
    std::string password = accountSetPassword();
    madeUp = options_.value("server") && password.empty();
    if (!madeUp) return password;
    std::random_device entropy;
    char hex[9];
    for (int i = 0; i < 3; ++i) {
        std::snprintf(hex, sizeof hex, "%08x", static_cast<unsigned>(entropy()));
        password += hex;
    }
    setenv("AMASSET_PASSWORD", password.c_str(), 1);
    return password;
}

}  // namespace tk::tools
