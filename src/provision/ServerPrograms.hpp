// PostgreSQL's own programs (pg_dump, pg_restore, psql, pg_basebackup) run against one server.
#pragma once
#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "provision/ToolRun.hpp"

namespace tk::am {

// PostgreSQL's own programs run against the server of a connection string,
// under the time limit of a backup (TKAM_BACKUP_TIMEOUT seconds, else four
// hours). The server and login reach them in their environment, never on
// their command line, where every user of the machine could read a password.
// They never ask for a password. A program killed at the limit leaves its
// session running what it was waiting to do: those sessions are ended too.
class ServerPrograms {
  public:
    explicit ServerPrograms(std::string connection);

    // A program of this release of PostgreSQL.
    static std::string path(const std::string& program);
    // Sees each line the programs write on standard error. Their errors,
    // warnings, details and hints are kept for the message of a failure; the
    // rest is their talk (what --verbose says, notices).
    void onLine(std::function<void(const std::string& line)> see) { see_ = std::move(see); }
    // As ToolRun runs them.
    void run(const ToolRun::Program& program);
    void pipe(const ToolRun::Program& producer, std::string head, const ToolRun::Program& consumer,
              std::string tail);
    std::chrono::milliseconds left() const { return run_.left(); }
    // The table a verbose line of pg_dump or pg_restore names after `mark`
    // ("schema.table" in double quotes); "" when the line has no mark.
    static std::string tableNamed(const std::string& line, const std::string& mark);

    static constexpr int32_t kDefaultTimeoutSeconds = 4 * 3600;

  private:
    template <typename Run>
    void endingSessionsAtTheLimit(Run&& run);
    void endSessions() const noexcept;

    std::string connection_;
    std::string sessionName_;
    std::function<void(const std::string& line)> see_;
    ToolRun run_;
};

}  // namespace tk::am
