// A year-end carry-forward into the session's account set, with the totals that prove it.
#pragma once
#include <cstdint>
#include <string>

#include "carryforward/clsAMAssetTurn.hpp"
#include "ledger/LedgerSession.hpp"

namespace tk::ledger {

// An organisation's figures on one side of a carry-forward.
struct TurnTotals {
    double assets = 0, cost = 0, depreciation = 0, impairment = 0;
    double net() const { return cost - depreciation - impairment; }
    // The same count and the same amounts to the cent.
    bool agreesWith(const TurnTotals& other) const;
};

// A carry-forward from last year's account set into the session's, on a date:
// the run prepared from the two sets, and the totals that prove it, read
// from each set's own posting journal.
class YearEndTurn {
  public:
    // An error when the date is not written yyyy-MM-dd or falls in no period of the new set.
    YearEndTurn(const LedgerSession& newSet, const std::string& oldSetName,
                const std::string& date);

    am::clsAMAssetTurn& run() { return turn_; }
    // The old set's closing figures: its journal before the new set's first period.
    TurnTotals closing() const;
    // The new set's opening figures: the journal rows of its opening records.
    TurnTotals opening() const;

  private:
    // The sums over `journal` (a From clause with its conditions) and the count of assets.
    TurnTotals totals(const std::string& journal, const std::string& assetCount) const;

    const LedgerSession& newSet_;
    std::string oldSchema_;
    YearPeriod first_;  // the new set's first period
    am::clsAMAssetTurn turn_;
};

}  // namespace tk::ledger
