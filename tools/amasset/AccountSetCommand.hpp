// The `amasset accountset` command: account sets created, dropped, listed, secured, backed up
// and restored.
#pragma once
#include "CliContext.hpp"

namespace tk::tools {

// amasset accountset create NAME [--years 2024,2025] [--demo] [--with-online-device]
//                               [--with-self-service] [--replace] | drop NAME | list
//                    | backup NAME [-o FILE] | restore FILE [--as NAME] [--replace]
int accountSetCommand(const CliContext& cli);

}  // namespace tk::tools
