// The table and columns of the account and department lines, and their
// registration.
#include "funds/clsAMAssetFundAccAlter.hpp"

#include "frame/ClassRegistry.hpp"

namespace tk::am {
namespace {

using Self = clsAMAssetFundAccAlter;

constexpr std::string_view kColumns[] = {"lngAMAssetFundAccAlterID",
                                         "lngAMAssetFundAlterID",
                                         "lngAccountID",
                                         "lngDepartmentID",
                                         "strFlexibleID",
                                         "lngOrderNo",
                                         "dblQuotiety",
                                         "dblRate",
                                         "blnDepreIncrease"};

}  // namespace

const LineTable<Self>& clsAMAssetFundAccAlter::lineTable() {
    static const LineTable<Self> table{
        "AMAssetFundAccAlter", &Self::lngAMAssetFundAccAlterID, kColumns, {}};
    return table;
}

const RecordFields<Self>& clsAMAssetFundAccAlter::fields() {
    static const RecordFields<Self> fields = {
        {"lngAMAssetFundAccAlterID", &Self::lngAMAssetFundAccAlterID},
        {"lngAMAssetFundAlterID", &Self::lngAMAssetFundAlterID},
        {"lngAccountID", &Self::lngAccountID},
        {"lngDepartmentID", &Self::lngDepartmentID},
        {"strFlexibleID", &Self::strFlexibleID},
        {"lngOrderNo", &Self::lngOrderNo},
        {"dblQuotiety", &Self::dblQuotiety},
        {"dblRate", &Self::dblRate},
        {"blnDepreIncrease", &Self::blnDepreIncrease},
    };
    return fields;
}

void clsAMAssetFundAccAlter::describe(DispatchTable<Self>& t) { describeLine(t); }

}  // namespace tk::am

using tk::am::clsAMAssetFundAccAlter;
TKAM_REGISTER_CLASS(clsAMAssetFundAccAlter)
