#include "funds/clsAMAssetFundAccAlter.hpp"

#include "frame/ClassRegistry.hpp"

namespace tk::am {

namespace {
using Self = clsAMAssetFundAccAlter;
}  // namespace

const FieldLayout<Self>& clsAMAssetFundAccAlter::layout() {
    static const FieldLayout<Self> instance("AMAssetFundAccAlter", "lngAMAssetFundAccAlterID",
                                            {
                                                {"lngAMAssetFundAccAlterID", &Self::lngAMAssetFundAccAlterID},
                                                {"lngAMAssetFundAlterID", &Self::lngAMAssetFundAlterID},
                                                {"lngAccountID", &Self::lngAccountID},
                                                {"lngDepartmentID", &Self::lngDepartmentID},
                                                {"strFlexibleID", &Self::strFlexibleID},
                                                {"lngOrderNo", &Self::lngOrderNo},
                                                {"dblQuotiety", &Self::dblQuotiety},
                                                {"dblRate", &Self::dblRate},
                                                {"blnDepreIncrease", &Self::blnDepreIncrease},
                                            });
    return instance;
}

void clsAMAssetFundAccAlter::describe(DispatchTable<Self>& t) { describeLine(t); }

}  // namespace tk::am

using tk::am::clsAMAssetFundAccAlter;
TKAM_REGISTER_CLASS(clsAMAssetFundAccAlter)
