#include "funds/clsAMAssetFundCostAlter.hpp"

#include "frame/ClassRegistry.hpp"

namespace tk::am {

namespace {
using Self = clsAMAssetFundCostAlter;
}  // namespace

const FieldLayout<Self>& clsAMAssetFundCostAlter::layout() {
    static const FieldLayout<Self> instance(
        "AMAssetFundCostAlter", "lngAMAssetFundCostAlterID",
        {
            {"lngAMAssetFundCostAlterID", &Self::lngAMAssetFundCostAlterID},
            {"lngAMAssetFundAlterID", &Self::lngAMAssetFundAlterID},
            {"lngAMAssetMethodID", &Self::lngAMAssetMethodID},
            {"lngAccountID", &Self::lngAccountID},
            {"lngCurrencyID", &Self::lngCurrencyID},
            {"dblRate", &Self::dblRate},
            {"dblCurrAmount", &Self::dblCurrAmount},
            {"dblAmount", &Self::dblAmount},
            {"dblDepreciation", &Self::dblDepreciation},
            {"dblDecAmount", &Self::dblDecAmount},
            // The only column the update sets without blanks around "=".
            {"lngBDebitAccountID", &Self::lngBDebitAccountID, UpdateForm::Compact},
            {"lngBCreditAccountID", &Self::lngBCreditAccountID},
            {"bytQutlayNature", &Self::bytQutlayNature},
            {"lngCustomerID", &Self::lngCustomerID},
            {"lngDepartmentID", &Self::lngDepartmentID},
            {"lngEmployeeID", &Self::lngEmployeeID},
            {"lngClassID1", &Self::lngClassID1},
            {"lngClassID2", &Self::lngClassID2},
            {"strFlexibleID", &Self::strFlexibleID},
        });
    return instance;
}

void clsAMAssetFundCostAlter::describe(DispatchTable<Self>& t) { describeLine(t); }

}  // namespace tk::am

using tk::am::clsAMAssetFundCostAlter;
TKAM_REGISTER_CLASS(clsAMAssetFundCostAlter)
