// The `amasset accountset` command: account sets created, dropped, listed and secured.
#pragma once
#include "CliContext.hpp"

namespace tk::tools {

// amasset accountset create NAME [--years 2024,2025] [--demo] [--with-online-device]
//                               [--with-self-service] [--replace] | drop NAME | list
int accountSetCommand(const CliContext& cli);

}  // namespace tk::tools
