// The `amasset carryforward` command: the year-end carry-forward into the next account set.
#pragma once
#include <string>

#include "CliContext.hpp"

namespace tk::tools {

// amasset carryforward --from OLD --to NEW --date yyyy-MM-dd [--org N] [--check]:
// carries the organisation's register into the next account set (结转), with
// progress over the steps and the two sets' totals side by side; --check
// only tells whether it may run. Non-zero, with the reason, when it may not
// or did not.
int carryForwardCommand(const CliContext& cli);

class AccountSetSession;
// The same into the session's account set, from the account set `from`.
int carryForward(const CliContext& cli, const AccountSetSession& newSet, const std::string& from,
                 const std::string& date, bool checkOnly);

}  // namespace tk::tools
