// The late-bound class through which a host reaches the ledger's operations and queries.
#pragma once
#include <cstdint>

#include "host/Dispatchable.hpp"
#include "ledger/LedgerSession.hpp"

namespace tk::am {

// The ledger's operations and queries for a host that binds late: each
// operation is one transaction on the thread's connection (set through
// Interface.ConnBase), each query returns its rows as text, one line a row,
// cells separated by tabs, the column titles first. WriteReport(kind, file,
// format) writes the register, depreciation or schedule report as the command
// line does: "html" (the page with its charts), "csv" or "text".
class clsAMLedger : public DispatchableBase<clsAMLedger> {
  public:
    std::string_view className() const override { return "clsAMLedger"; }
    static void describe(DispatchTable<clsAMLedger>& t);

    int32_t Organization = 1;

    ledger::LedgerSession session() const { return ledger::LedgerSession::ofThread(Organization); }
};

}  // namespace tk::am
