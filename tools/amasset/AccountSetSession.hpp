#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "CliContext.hpp"
#include "YearPeriod.hpp"
#include "connect/Connection.hpp"
#include "depreciation/clsAMAssetDeprection.hpp"
#include "frame/TransactionRetry.hpp"

namespace tk::tools {

// The account set and organisation a command works in, logged in the way a
// host does: the thread's User and ConnBase point at it.
class AccountSetSession {
  public:
    // The account set named by --account-set (or --user), else `fallbackName`.
    explicit AccountSetSession(const CliContext& cli, const std::string& fallbackName = "");

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

// How a transaction ends when its work returns: a trial run keeps nothing.
enum class Ending { Commit, RollBack };

// Runs `work` inside one transaction of the session's connection, ended as
// `ending` says when it returns and rolled back when it throws; run again
// when it lost a race with another session.
template <typename Work>
auto inTransaction(const AccountSetSession& session, Work&& work, Ending ending = Ending::Commit) {
    return am::TransactionRetry(session.connection()).run(work, ending == Ending::Commit);
}

}  // namespace tk::tools
