#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace tk::am {

// A double as plain decimal text, the shortest that reads back to the same value.
std::string DecimalText(double value);
// The id without its sign; a negative id asks for a deletion.
int32_t AbsoluteId(int32_t id);
// Runs the statements in order and stops at the first that fails; what ran stays done.
bool ExecuteEach(const std::vector<std::string>& statements);

}  // namespace tk::am
