#pragma once
#include <string>

#include "Options.hpp"
#include "provision/EmbeddedServer.hpp"

namespace tk::tools {

using am::EmbeddedServer;

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

  private:
    const Options& options_;
};

}  // namespace tk::tools
