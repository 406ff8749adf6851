// The carry-forward steps that build each asset's opening records in the new account set.
#pragma once
#include <cstdint>
#include <string>

#include "carryforward/TurnScope.hpp"

namespace tk::am {

// The carry-forward steps that give each asset its starting point in the new
// account set (initial alteration, funding-source, cost, account, other-card
// and label records carrying the old set's closing figures), remove what has
// no place there, and recalculate and repost the organisation.
class TurnOpeningRecords {
  public:
    // `summaryTable`: the per-asset table of opening totals, with schema.
    TurnOpeningRecords(const TurnScope& scope, std::string summaryTable)
        : scope_(scope), summary_(std::move(summaryTable)) {}

    bool BuildOpeningRecords();
    bool RebuildBalances(std::string& strErrMsg);
    // The template of the carry-forward's receipt type in the new set, 0 when none.
    static int32_t GetSysTemplateID(int16_t receiptType);

  private:
    bool InsertInitialAlterations();
    bool CardStatements();
    std::string ClearedFlags() const;
    bool SummaryStatements();
    bool InsertInitialFundAlterations();
    bool StartUsage();
    bool FundStatements();
    bool OtherAndLabelStatements();
    void UpdateFundOpeningAmounts();
    bool CarryScheduleBasis();
    bool ReanchorLaterBalances();
    void UpdateCostRows(const std::string& fundAlterID, double amount, double depreciation,
                        double impairment);
    bool RecalculateAssets(std::string& strErrMsg);

    const TurnScope& scope_;
    std::string summary_;
};

}  // namespace tk::am
