// The queries behind the ledger's reports and its forecast.
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ledger/LedgerRows.hpp"
#include "ledger/LedgerSession.hpp"

namespace tk::ledger {

// The queries behind the reports and the forecast, as rows.
class LedgerQueries {
  public:
    explicit LedgerQueries(const LedgerSession& session) : session_(session) {}

    // The assets in the register, by code; filtered by a category code prefix
    // and a department code when given.
    std::vector<AssetRow> assets(const std::optional<std::string>& category = std::nullopt,
                                 const std::optional<std::string>& department = std::nullopt) const;
    // An asset's latest version, its history, its depreciation and what its
    // sources carry.
    AssetDetail asset(const std::string& code) const;
    // The latest depreciated period; an error when there is none.
    YearPeriod latestRun() const;
    // The year of the latest depreciated period, else the account set's first.
    int32_t scheduleYear() const;
    // The register at the end of a period: every source's state summed from
    // the journal, by category, department and asset.
    std::vector<RegisterRow> register_(YearPeriod period) const;
    // The charges of the periods from `from` to `to` as apportioned to
    // account and department (and funding source when `byFund`), in period
    // order: what the books hold for closed periods, what a close would book
    // for open ones (run on trial, nothing kept).
    std::vector<DepreciationRow> depreciation(YearPeriod from, YearPeriod to, bool byFund) const;
    // The charges of the periods from `from` to `to` by asset category.
    std::vector<CategoryCharge> depreciationByCategory(YearPeriod from, YearPeriod to) const;
    // The depreciation of every asset month by month through one year, and
    // what is left after it. Periods not yet depreciated show what a period
    // end would charge now: the engine runs them on trial and nothing it
    // writes is kept.
    Schedule schedule(int32_t year) const;
    // One asset's journal: each movement and each period's depreciation with
    // the state of its funding source after it.
    std::vector<JournalRow> journal(const std::string& assetCode) const;
    // The organisation's first and last accounting period.
    std::pair<YearPeriod, YearPeriod> periodSpan() const;

  private:
    void describe(int32_t asset, int32_t version, int32_t category, AssetDetail& d) const;
    void describeCustom(
        const std::string& asset, int32_t category,
        const std::function<void(const std::string&, const std::string&)>& add) const;
    std::vector<DepreciationRow> apportionedCharges(YearPeriod from, YearPeriod to,
                                                    bool byFund) const;
    std::vector<ScheduleRow> scheduleRows(int32_t year) const;
    void addTrialYear(int32_t year) const;
    std::array<double, 12> netBookValues(int32_t year) const;

    const LedgerSession& session_;
};

}  // namespace tk::ledger
