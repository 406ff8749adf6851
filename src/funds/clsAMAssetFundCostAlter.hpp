// The clsAMAssetFundCostAlter class: a cost line of a funding-source version.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "funds/FundVersionLine.hpp"

namespace tk::am {

// A cost line of a funding-source version: per alteration method, account and
// currency the amounts, the accounts of the parallel (budget) entry and the
// auxiliary items.
class clsAMAssetFundCostAlter : public FundVersionLine<clsAMAssetFundCostAlter> {
  public:
    std::string_view className() const override { return "clsAMAssetFundCostAlter"; }
    static void describe(DispatchTable<clsAMAssetFundCostAlter>& t);
    static const LineTable<clsAMAssetFundCostAlter>& lineTable();
    static const RecordFields<clsAMAssetFundCostAlter>& fields();

    int32_t lngAMAssetFundCostAlterID = 0;
    int32_t lngAMAssetFundAlterID = 0;
    int32_t lngAMAssetMethodID = 0;
    int32_t lngAccountID = 0;
    int32_t lngCurrencyID = 0;
    double dblRate = 0;
    double dblCurrAmount = 0;
    double dblAmount = 0;
    double dblDepreciation = 0;
    double dblDecAmount = 0;
    int32_t lngBDebitAccountID = 0;
    int32_t lngBCreditAccountID = 0;
    int32_t bytQutlayNature = 0;
    int32_t lngCustomerID = 0;
    int32_t lngDepartmentID = 0;
    int32_t lngEmployeeID = 0;
    int32_t lngClassID1 = 0;
    int32_t lngClassID2 = 0;
    // Kept exactly as set. Unset it is the column's own default; an empty key
    // is stored as null, which a later LoadID cannot read.
    std::string strFlexibleID = " ";
};

}  // namespace tk::am
