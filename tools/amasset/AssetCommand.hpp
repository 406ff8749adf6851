// The `amasset asset` command: assets added, listed, changed, disposed of, imported, exported.
#pragma once
#include "CliContext.hpp"

namespace tk::tools {

// amasset asset add|list ...
int assetCommand(const CliContext& cli);

}  // namespace tk::tools
