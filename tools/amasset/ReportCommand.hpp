// The `amasset report` command: register, depreciation, schedule and journal reports.
#pragma once
#include <optional>
#include <ostream>

#include "AccountSetSession.hpp"
#include "CliContext.hpp"

namespace tk::tools {

// amasset report register|depreciation|schedule|journal ...
int reportCommand(const CliContext& cli);

}  // namespace tk::tools
