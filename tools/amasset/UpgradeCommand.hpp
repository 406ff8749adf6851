// The `amasset upgrade` command: older data moved into a new account set.
#pragma once
#include "CliContext.hpp"

namespace tk::tools {

// amasset upgrade --from OLD --to NEW --old-version V [--new-version V] [--check]
int upgradeCommand(const CliContext& cli);

}  // namespace tk::tools
