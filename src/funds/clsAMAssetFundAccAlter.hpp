// The clsAMAssetFundAccAlter class: where a funding-source version's depreciation
// is charged.
#pragma once
#include <cstdint>
#include <string_view>

#include "frame/RecordText.hpp"
#include "funds/FundVersionLine.hpp"

namespace tk::am {

// An account and department line of a funding-source version: where its
// depreciation, or a share of it, is charged.
class clsAMAssetFundAccAlter : public FundVersionLine<clsAMAssetFundAccAlter> {
  public:
    std::string_view className() const override { return "clsAMAssetFundAccAlter"; }
    static void describe(DispatchTable<clsAMAssetFundAccAlter>& t);
    static const LineTable<clsAMAssetFundAccAlter>& lineTable();
    static const RecordFields<clsAMAssetFundAccAlter>& fields();

    int32_t lngAMAssetFundAccAlterID = 0;
    int32_t lngAMAssetFundAlterID = 0;
    int32_t lngAccountID = 0;
    int32_t lngDepartmentID = 0;
    RecordText strFlexibleID{
        TextKind::Kept};  // a blank key is stored as one space, quotes as given
    int32_t lngOrderNo = 0;
    double dblQuotiety = 0;
    double dblRate = 0;
    int16_t blnDepreIncrease = 0;
};

}  // namespace tk::am
