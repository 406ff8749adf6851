// The ledger session a command works in, on the account set its options name.
#pragma once
#include <string>

#include "CliContext.hpp"
#include "ledger/LedgerSession.hpp"
#include "ledger/Transaction.hpp"

namespace tk::tools {

using ledger::Ending;
using ledger::inTransaction;
using ledger::requireEngine;
using ledger::YearPeriod;

// The ledger session of the account set and organisation a command names.
class AccountSetSession : public ledger::LedgerSession {
  public:
    // The account set named by --account-set (or --user), else `fallbackName`;
    // with `fixedName`, `fallbackName` whatever the options say.
    explicit AccountSetSession(const CliContext& cli, const std::string& fallbackName = "",
                               bool fixedName = false);
};

}  // namespace tk::tools
