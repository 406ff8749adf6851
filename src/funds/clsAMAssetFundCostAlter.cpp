// The table and columns of the cost lines, and their registration.
#include "funds/clsAMAssetFundCostAlter.hpp"

#include "frame/ClassRegistry.hpp"

namespace tk::am {
namespace {

using Self = clsAMAssetFundCostAlter;

constexpr std::string_view kColumns[] = {"lngAMAssetFundCostAlterID",
                                         "lngAMAssetFundAlterID",
                                         "lngAMAssetMethodID",
                                         "lngAccountID",
                                         "lngCurrencyID",
                                         "dblRate",
                                         "dblCurrAmount",
                                         "dblAmount",
                                         "dblDepreciation",
                                         "dblDecAmount",
                                         "lngBDebitAccountID",
                                         "lngBCreditAccountID",
                                         "bytQutlayNature",
                                         "lngCustomerID",
                                         "lngDepartmentID",
                                         "lngEmployeeID",
                                         "lngClassID1",
                                         "lngClassID2",
                                         "strFlexibleID"};

}  // namespace

const LineTable<Self>& clsAMAssetFundCostAlter::lineTable() {
    static const LineTable<Self> table{"AMAssetFundCostAlter", &Self::lngAMAssetFundCostAlterID,
                                       kColumns, "lngBDebitAccountID"};
    return table;
}

const RecordFields<Self>& clsAMAssetFundCostAlter::fields() {
    static const RecordFields<Self> fields = {
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
        {"lngBDebitAccountID", &Self::lngBDebitAccountID},
        {"lngBCreditAccountID", &Self::lngBCreditAccountID},
        {"bytQutlayNature", &Self::bytQutlayNature},
        {"lngCustomerID", &Self::lngCustomerID},
        {"lngDepartmentID", &Self::lngDepartmentID},
        {"lngEmployeeID", &Self::lngEmployeeID},
        {"lngClassID1", &Self::lngClassID1},
        {"lngClassID2", &Self::lngClassID2},
        {"strFlexibleID", &Self::strFlexibleID},
    };
    return fields;
}

void clsAMAssetFundCostAlter::describe(DispatchTable<Self>& t) { describeLine(t); }

}  // namespace tk::am

using tk::am::clsAMAssetFundCostAlter;
TKAM_REGISTER_CLASS(clsAMAssetFundCostAlter)
