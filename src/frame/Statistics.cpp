// One ANALYZE over the named register tables of a schema, or over all the carry-forward writes.
#include "frame/Statistics.hpp"

#include "frame/DataAccess.hpp"

namespace tk::am {

void RefreshStatistics(const std::string& schema, std::initializer_list<const char*> tables) {
    static const std::initializer_list<const char*> kRegister = {
        "AMAsset",          "AMAssetAlter",         "AMAssetFund",
        "AMAssetFundAlter", "AMAssetFundCostAlter", "AMAssetFundAccAlter",
        "AMAssetFundDaily", "AMAssetFundBalance",   "AMAssetFundBalanceEx",
        "AMAssetOther",     "AMAssetOtherAlter",    "AMAssetLabel",
        "AMAssetLabelAlter"};
    std::string list;
    for (const char* table : tables.size() ? tables : kRegister)
        list += (list.empty() ? "" : ", ") + schema + "." + table;
    RunNative("ANALYZE " + list);
}

}  // namespace tk::am
