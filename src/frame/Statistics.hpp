// Refreshing the planner's statistics of tables a carry-forward or an upgrade fills.
#pragma once
#include <initializer_list>
#include <string>

namespace tk::am {

// Refreshes the planner's statistics of tables of one account set: a
// carry-forward or an upgrade fills them within its transaction, and the
// statements after it would otherwise be planned for the empty tables of
// before. Without tables named, every register table the carry-forward writes.
void RefreshStatistics(const std::string& schema, std::initializer_list<const char*> tables = {});

}  // namespace tk::am
