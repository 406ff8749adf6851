#pragma once
#include "CliContext.hpp"

namespace tk::tools {

// amasset asset add|list ...
int assetCommand(const CliContext& cli);

}  // namespace tk::tools
