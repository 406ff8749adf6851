#pragma once
#include <functional>

#include "AccountSetSession.hpp"
#include "CliContext.hpp"

namespace tk::tools {

// amasset period close --period yyyy-MM [--to yyyy-MM]
int periodCommand(const CliContext& cli);

// Runs the period end of each period from `from` to `to` as the host does,
// each period in one transaction: post the period's card movements, depreciate,
// post the depreciation. `beforeEach` runs first inside that transaction (work
// entries of the period). An error names the period that failed.
void closePeriods(const AccountSetSession& session, YearPeriod from, YearPeriod to,
                  const std::function<void(YearPeriod)>& beforeEach = {});
// Writes the period's depreciation and balances (WriteBalance) and nothing else.
void depreciatePeriod(const AccountSetSession& session, YearPeriod period);

}  // namespace tk::tools
