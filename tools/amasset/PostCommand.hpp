// The `amasset post` and `amasset amortise` commands.
#pragma once
#include "CliContext.hpp"

namespace tk::tools {

// amasset post --rebuild: the daily journal of the organisation posted again from scratch.
int postCommand(const CliContext& cli);
// amasset amortise: the depreciation apportioned to the accounts and departments that bear it.
int amortiseCommand(const CliContext& cli);

}  // namespace tk::tools
