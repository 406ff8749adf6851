// The `amasset adjust` and `amasset sql` commands: adjustment scripts and the console SQL tool.
#pragma once
#include "CliContext.hpp"

namespace tk::tools {

// amasset adjust: the adjustment scripts run against the account set, with
// progress and the failed scripts named; non-zero when any failed.
int adjustCommand(const CliContext& cli);
// amasset sql: the console SQL tool opened on the account set, at the prompt
// or on a script (-f FILE).
int sqlCommand(const CliContext& cli);

}  // namespace tk::tools
