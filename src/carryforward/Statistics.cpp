#include "carryforward/Statistics.hpp"

#include "connect/Session.hpp"
#include "frame/Context.hpp"

namespace tk::am {

void RefreshStatistics(const std::string& schema) {
    std::string tables;
    for (const char* table :
         {"AMAsset", "AMAssetAlter", "AMAssetFund", "AMAssetFundAlter", "AMAssetFundCostAlter",
          "AMAssetFundAccAlter", "AMAssetFundDaily", "AMAssetFundBalance", "AMAssetFundBalanceEx",
          "AMAssetOther", "AMAssetOtherAlter", "AMAssetLabel", "AMAssetLabelAlter"})
        tables += (tables.empty() ? "" : ", ") + schema + "." + table;
    connection().session().runNative("ANALYZE " + tables);
}

}  // namespace tk::am
