// The backup commands: an account set to a file and back, the whole embedded server to a folder.
#pragma once
#include "CliContext.hpp"

namespace tk::tools {

// amasset accountset backup NAME [-o FILE]
int accountSetBackupCommand(const CliContext& cli);
// amasset accountset restore FILE [--as NAME] [--replace]
int accountSetRestoreCommand(const CliContext& cli);
// amasset server backup DIR
int serverBackupCommand(const CliContext& cli);

}  // namespace tk::tools
