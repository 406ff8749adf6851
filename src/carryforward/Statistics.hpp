#pragma once
#include <string>

namespace tk::am {

// Refreshes the planner's statistics of the register tables of one account
// set: a carry-forward fills them within its transaction, and the statements
// after it would otherwise be planned for the empty tables of before.
void RefreshStatistics(const std::string& schema);

}  // namespace tk::am
