// The private PostgreSQL instance the tools start and stop by themselves.
#pragma once
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace tk::am {

// The private PostgreSQL instance the tools start by themselves: its own data
// directory, UTF8, a Unix socket in that directory only (no TCP), orafce and the
// Oracle compatibility objects installed. Run as root, the server runs as the
// unprivileged system user "amasset", since PostgreSQL refuses root.
class EmbeddedServer {
  public:
    explicit EmbeddedServer(std::filesystem::path dataDir);
    static std::filesystem::path defaultDataDir();

    // Initialises the directory when it is new; `fresh` wipes it first. The
    // account sets are brought under their own logins; those that could not
    // be come back, each with its reason.
    [[nodiscard]] std::vector<std::string> start(bool fresh, bool durable);
    void stop(bool remove);
    bool running() const;
    // Copies the whole running server (every database, with the WAL it needs
    // to start from the copy) into `dir`, new or empty, as pg_basebackup's tar
    // files base.tar and pg_wal.tar; `progress` hears the percentage done.
    void backup(const std::filesystem::path& dir, const std::function<void(int)>& progress) const;
    // The connection string (ServerName) of the account-set database.
    std::string url() const;
    // The connection string for administration (the server's superuser).
    std::string adminUrl(const std::string& database) const;

    static constexpr const char* kDatabase = "amasset";
    static constexpr const char* kSuperuser = "amasset";

  private:
    int pgTool(const std::string& tool, std::vector<std::string> args, bool quiet = false) const;
    void initialise(bool durable);
    void installDatabase() const;

    std::filesystem::path dataDir_;
};

}  // namespace tk::am
