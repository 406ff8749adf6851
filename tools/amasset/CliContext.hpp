// How every subcommand reaches the database: a named server or the embedded one.
#pragma once
#include <string>
#include <vector>

#include "Options.hpp"
#include "provision/EmbeddedServer.hpp"

namespace tk::tools {

using am::EmbeddedServer;

// Names on standard error the account sets that could not be brought under
// their own logins or up to date; true when there were none.
bool ReportSetsNotSecured(const std::vector<std::string>& failures);

// What every subcommand needs to reach the database: the server named by
// --server, or else the embedded one, started on demand.
class CliContext {
  public:
    explicit CliContext(const Options& options);
    const Options& options() const { return options_; }
    EmbeddedServer embedded() const;
    // ServerName of the account-set database.
    std::string server() const;
    // Connection string with the right to create account sets.
    std::string adminServer() const;
    // The account set's login password on a server given with --server, from
    // AMASSET_PASSWORD (never on the command line, where others could read it);
    // the embedded server takes none.
    std::string accountSetPassword() const;
    // The password a new account set's login gets on a --server server: the
    // one given, else one made up here and kept for this process's own logins.
    // `madeUp` tells whether the operator must be shown it.
    std::string newAccountSetPassword(bool& madeUp) const;
    // The embedded server, started when it is not running.
    EmbeddedServer runningServer() const;

  private:
    const Options& options_;
};

}  // namespace tk::tools
