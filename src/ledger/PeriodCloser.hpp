// The period-end work of an organisation: closes, trial depreciation, work, journal, apportioning.
#pragma once
#include <functional>
#include <string>

#include "ledger/LedgerSession.hpp"

namespace tk::ledger {

// The period-end work of an organisation, each step in one transaction: work
// entries, period ends in order, the journal rebuilt, the apportioning.
class PeriodCloser {
  public:
    using PeriodStep = std::function<void(YearPeriod)>;
    explicit PeriodCloser(const LedgerSession& session) : session_(session) {}

    // Runs the period end of each period from `from` to `to` as the host does,
    // each period in one transaction: post the period's card movements,
    // depreciate and apportion the charge to the accounts and departments
    // that bear it, post the depreciation. `beforeEach` runs first inside that
    // transaction (work entries of the period), `afterEach` once it is
    // committed. The periods of the organisation are closed by one session at
    // a time: `beforeWaiting` runs when another holds them. An error names the
    // period that failed.
    void close(YearPeriod from, YearPeriod to, const PeriodStep& beforeEach = {},
               const PeriodStep& afterEach = {},
               const std::function<void()>& beforeWaiting = {}) const;
    // Writes the period's depreciation and balances (WriteBalance) and nothing
    // else, inside the caller's transaction.
    void depreciate(YearPeriod period) const;
    // Depreciates the period and apportions it, inside the caller's
    // transaction: what its close would book, without posting.
    void charge(YearPeriod period) const;
    // The work an asset on the workload method did in a period.
    void recordWork(const std::string& assetCode, YearPeriod period, double work) const;
    // The daily journal of the organisation posted again from scratch.
    void rebuildJournal() const;
    // The latest closed period apportioned again to the accounts and
    // departments that bear it (each close apportions its own period).
    void amortise() const;

    // Told the name of each step of a close as it starts, to show where the time goes.
    std::function<void(const std::string&)> onStep;

  private:
    void step(const std::string& name) const {
        if (onStep) onStep(name);
    }
    void closeOne(YearPeriod period) const;
    void apportion(const std::string& whose) const;

    const LedgerSession& session_;
};

}  // namespace tk::ledger
