// The `amasset period close` command, and the closing of periods with progress it shares.
#pragma once
#include <functional>

#include "AccountSetSession.hpp"
#include "CliContext.hpp"

namespace tk::tools {

// amasset period close --period yyyy-MM [--to yyyy-MM]
int periodCommand(const CliContext& cli);

// The ledger's period ends from `from` to `to` with a progress bar and a
// summary line; `beforeEach` runs inside each period's transaction.
void closePeriods(const AccountSetSession& session, YearPeriod from, YearPeriod to,
                  const std::function<void(YearPeriod)>& beforeEach = {});

}  // namespace tk::tools
