// Restoring an account set from its backup file, all or nothing, on this server or another.
#pragma once
#include <filesystem>
#include <string>

#include "provision/AccountSetBackup.hpp"
#include "provision/BackupManifest.hpp"

namespace tk::am {

struct RestoreOptions {
    std::string as;        // the set's name once restored; the backed-up set's when empty
    bool replace = false;  // a set of that name is replaced, once the new one is whole
    std::string password;  // the login's, as `accountset create` takes it
};

// Restores an account set from its backup file in one transaction: the
// archive is restored under a name of its own, each table checked against
// the manifest's row count and checksum, then renamed into place (an old set
// of that name dropped only then, with `replace`), given its own login and
// brought up to this release's tables and routines as `secure` brings a set.
// A failure anywhere, a file cut short or changed, or a time limit passed,
// leaves the server as it was.
class AccountSetRestore {
  public:
    explicit AccountSetRestore(std::string adminServer);

    // Returns the manifest of the file restored.
    BackupManifest restore(const std::filesystem::path& file, const RestoreOptions& options,
                           const BackupProgress& progress = {});

  private:
    std::string adminServer_;
};

}  // namespace tk::am
