// The old set's journal grouped by asset and funding source, a temporary table of one run.
#pragma once
#include <string>

#include "carryforward/TurnScope.hpp"

namespace tk::am {

// The old set's journal of the organisation before the carry-forward date,
// grouped by asset and funding source in one pass: each source's opening
// amounts (its rows summed) and its last row, and its part of the summary of
// opening totals. A temporary table of the run's transaction, so that a
// failure leaves nothing.
inline constexpr const char* kSourceJournal = "TurnSourceJournal";

void BuildSourceJournal(const TurnScope& scope);
// Dropped once read, so that a host's transaction can run the carry-forward again.
void DropSourceJournal();

}  // namespace tk::am
