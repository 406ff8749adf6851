// The generate_series script for straight-line assets with three funding sources and two
// account lines each, their sequences set and statistics gathered.
#include "GeneratedAssets.hpp"

namespace tk::bench {

std::string AssetsWithThreeSources(int count) {
    const std::string assets = "generate_series(1, " + std::to_string(count) + ") g";
    const std::string sources = assets + " CROSS JOIN generate_series(1, 3) f";
    return "INSERT INTO AMAsset (lngAMAssetID, strAMAssetCode, strAMAssetName, lngAMAssetTypeID,"
           " lngAMAssetInitAlterID, lngAMAssetLastAlterID, lngOrganizationID, lngDepartmentID)"
           " SELECT g, 'B' || g, '设备' || g, 10, g, g, 1, 3 FROM " +
           assets +
           ";"
           "INSERT INTO AMAssetAlter (lngAMAssetAlterID, lngAMAssetID, intYear, bytPeriod, strDate,"
           " lngAMAssetTypeID, lngDepartmentID, bytAlterType, bytDepreciationMethod, bytStatus,"
           " lngOrganizationID, dblAmount, dblUseage, dblAmountAlter)"
           " SELECT g, g, 2024, 1, '2024-01-15', 10, 3, 1, 2, 2, 1, 36000, 60, 36000 FROM " +
           assets +
           ";"
           "INSERT INTO AMAssetFundAlter (lngAMAssetFundAlterID, lngAMAssetAlterID, lngAMAssetID,"
           " lngAMFundID, intYear, bytPeriod, strDate, dblAmount, dblAmountAlter, bytAlterType,"
           " lngDepreciationAccountID, bytStatus, lngOrganizationID)"
           " SELECT 3 * (g - 1) + f, g, g, f, 2024, 1, '2024-01-15', 12000, 12000, 1, 4, 2, 1"
           " FROM " +
           sources +
           ";"
           "INSERT INTO AMAssetFund SELECT g, f, 3 * (g - 1) + f, 3 * (g - 1) + f FROM " +
           sources +
           ";"
           "INSERT INTO AMAssetFundAccAlter (lngAMAssetFundAccAlterID, lngAMAssetFundAlterID,"
           " lngAccountID, lngDepartmentID, lngOrderNo, dblQuotiety, dblRate)"
           " SELECT 2 * (3 * (g - 1) + f - 1) + k, 3 * (g - 1) + f, 12, 3, k, 1, 0.5 FROM " +
           sources +
           " CROSS JOIN generate_series(1, 2) k;"
           "SELECT setval('AMAsset_SEQ', " +
           std::to_string(count) + "), setval('AMAssetAlter_SEQ', " + std::to_string(count) +
           "), setval('AMAssetFundAlter_SEQ', " + std::to_string(3 * count) +
           "), setval('AMAssetFundAccAlter_SEQ', " + std::to_string(6 * count) + "); ANALYZE;";
}

}  // namespace tk::bench
