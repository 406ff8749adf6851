#include "CliContext.hpp"

namespace tk::tools {

CliContext::CliContext(const Options& options) : options_(options) {}

EmbeddedServer CliContext::embedded() const {
    auto dir = options_.value("data-dir");
    return EmbeddedServer(dir ? std::filesystem::path(*dir) : EmbeddedServer::defaultDataDir());
}

std::string CliContext::server() const {
    if (auto named = options_.value("server")) return *named;
    EmbeddedServer server = embedded();
    if (!server.running()) server.start(false, true);
    return server.url();
}

std::string CliContext::adminServer() const {
    if (auto named = options_.value("server")) return *named;
    EmbeddedServer server = embedded();
    if (!server.running()) server.start(false, true);
    return server.adminUrl(EmbeddedServer::kDatabase);
}

}  // namespace tk::tools
