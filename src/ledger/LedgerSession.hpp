// The account set and organisation the ledger works in, and the lookups it needs there.
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "connect/Connection.hpp"
#include "depreciation/clsAMAssetDeprection.hpp"
#include "ledger/YearPeriod.hpp"

namespace tk::ledger {

// The account set and organisation the ledger works in, logged in the way a
// host does: the thread's User and ConnBase point at the connection.
class LedgerSession {
  public:
    // An error when the organisation does not exist in the account set.
    LedgerSession(std::shared_ptr<connect::Connection> connection, int32_t organization,
                  std::string name = "");
    // The connection the host handed to this thread.
    static LedgerSession ofThread(int32_t organization);

    connect::Connection& connection() const { return *conn_; }
    const std::string& name() const { return name_; }
    int32_t organization() const { return organization_; }

    // The first column of the first row, or nothing when there is no row or it is null.
    std::optional<std::string> lookup(const std::string& sql) const;
    double number(const std::string& sql) const;
    // The period of the organisation a date falls in; an error outside AccountPeriod.
    YearPeriod periodOfDate(const std::string& date) const;
    // An error when the organisation has no such period.
    void requirePeriod(const YearPeriod& period) const;
    // The organisation's asset of that code; an error when there is none.
    int32_t assetID(const std::string& code) const;
    // The last day of a period, as the period table gives it.
    std::string periodEnd(const YearPeriod& period) const;
    // The organisation's latest depreciated period, if any.
    std::optional<YearPeriod> latestDepreciated() const;
    // The organisation's periods after its latest depreciated one, in order,
    // through the end of `throughYear` when given.
    std::vector<YearPeriod> openPeriods(std::optional<int32_t> throughYear = std::nullopt) const;

  private:
    std::string name_;
    int32_t organization_ = 0;
    std::shared_ptr<connect::Connection> conn_;
};

// Throws `what` with the engine's reason when its operation did not succeed.
void requireEngine(bool done, const am::clsAMAssetDeprection& engine, const std::string& what);

}  // namespace tk::ledger
