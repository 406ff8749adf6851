#pragma once
#include <ostream>
#include <string>

#include "AccountSetSession.hpp"
#include "ReportCommand.hpp"

namespace tk::tools {

// The depreciation of every asset month by month through one year, and what
// is left after it. Periods not yet depreciated show what a period end would
// charge now: the engine runs them on trial and nothing it writes is kept.
void printSchedule(const AccountSetSession& session, int32_t year, ReportStyle style,
                   std::ostream& out);
// One asset's journal rows: each movement and each period's depreciation with
// the state of its funding source after it.
void printJournal(const AccountSetSession& session, const std::string& assetCode, ReportStyle style,
                  std::ostream& out);

}  // namespace tk::tools
