// The backup commands: an account set to a file and back.
#pragma once
#include "CliContext.hpp"

namespace tk::tools {

// amasset accountset backup NAME [-o FILE]
int accountSetBackupCommand(const CliContext& cli);
// amasset accountset restore FILE [--as NAME] [--replace]
int accountSetRestoreCommand(const CliContext& cli);

}  // namespace tk::tools
