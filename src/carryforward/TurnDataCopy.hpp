// The carry-forward steps that clear the new account set and copy the register into it.
#pragma once
#include <string>

#include "carryforward/TurnScope.hpp"

namespace tk::am {

// The carry-forward steps that prepare the new account set and copy the
// organisation's register into it from the old one. Each step stops at its
// first failing statement and reports false; the rows keep their ids.
class TurnDataCopy {
  public:
    explicit TurnDataCopy(const TurnScope& scope) : scope_(scope) {}

    bool CompileFunctions();
    // Removes the organisation's rows, children before their parents.
    bool ClearNewAccountSet(std::string& strErrMsg);
    // Whole tables, for an organisation that started on the carry-forward date.
    bool CopyAllTables();
    bool CopyAssetRegister();
    // The non-initial alterations of the new first period and later, after
    // the per-asset summary of opening totals has been built.
    bool CopyCurrentAlterations();
    bool CopyLaterBalances();
    bool ResetSequences();

    // The summary table of opening totals, with schema.
    std::string summaryTable() const;

  private:
    bool BuildDailySummary();
    bool copy(const std::string& table, const std::string& condition);

    const TurnScope& scope_;
};

}  // namespace tk::am
