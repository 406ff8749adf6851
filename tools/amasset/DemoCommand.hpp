// The `amasset demo` command: a year of demo assets, closed, reported and carried forward.
#pragma once
#include "CliContext.hpp"

namespace tk::tools {

// amasset demo: a demo account set with a year of assets, closed and reported.
int demoCommand(const CliContext& cli);

}  // namespace tk::tools
