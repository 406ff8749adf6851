// The carry-forward prepared from the two account sets, and each set's journal summed on either
// side of the new set's first period.
#include "ledger/YearEndTurn.hpp"

#include "frame/Context.hpp"
#include "frame/Conversion.hpp"
#include "provision/AccountSetAdmin.hpp"

namespace tk::ledger {

bool TurnTotals::agreesWith(const TurnTotals& other) const {
    return assets == other.assets && am::formatAmount(cost) == am::formatAmount(other.cost) &&
           am::formatAmount(depreciation) == am::formatAmount(other.depreciation) &&
           am::formatAmount(impairment) == am::formatAmount(other.impairment);
}

YearEndTurn::YearEndTurn(const LedgerSession& newSet, const std::string& oldSetName,
                         const std::string& date)
    : newSet_(newSet),
      oldSchema_(am::AccountSetAdmin::schemaName(oldSetName)),
      first_(newSet.periodOfDate(date)) {
    am::context().OldUser = oldSchema_;
    am::context().NewUser = newSet.connection().UserName;
    turn_.scope.organization = newSet.organization();
    turn_.scope.turnDate = date;
    turn_.scope.prevDay();  // refuses a date not written yyyy-MM-dd
    turn_.scope.turnYear = static_cast<int16_t>(first_.year);
    turn_.scope.turnPeriod = static_cast<uint8_t>(first_.period);
    turn_.scope.startDate = newSet
                                .lookup("Select strStartDate From " + oldSchema_ +
                                        ".Organization Where lngOrganizationID = " +
                                        std::to_string(newSet.organization()))
                                .value_or("");
}

TurnTotals YearEndTurn::closing() const {
    const std::string where =
        " Where d.lngOrganizationID = " + std::to_string(newSet_.organization()) +
        " And d.YearPeriod < " + std::to_string(first_.key());
    const std::string journal = " From " + oldSchema_ + ".AMAssetFundDaily d" + where;
    return totals(journal, "Select Count(*) From (Select d.lngAMAssetID" + journal +
                               " Group By d.lngAMAssetID Having Sum(d.dblAmountAlter) <> 0) x");
}

TurnTotals YearEndTurn::opening() const {
    const std::string journal =
        " From AMAssetFundDaily d, AMAssetFundAlter fa Where fa.lngAMAssetFundAlterID = "
        "d.lngAMAssetFundAlterID And fa.blnIsInit = 1 And d.lngOrganizationID = " +
        std::to_string(newSet_.organization());
    return totals(journal, "Select Count(Distinct d.lngAMAssetID)" + journal);
}

TurnTotals YearEndTurn::totals(const std::string& journal, const std::string& assetCount) const {
    TurnTotals t;
    t.cost = newSet_.number("Select Sum(d.dblAmountAlter)" + journal);
    t.depreciation = newSet_.number("Select Sum(d.dblDeprection + d.dblDeprectionAlter)" + journal);
    t.impairment = newSet_.number("Select Sum(d.dblDecAmountAlter)" + journal);
    t.assets = newSet_.number(assetCount);
    return t;
}

}  // namespace tk::ledger
