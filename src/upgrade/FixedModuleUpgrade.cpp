#include "upgrade/FixedModuleUpgrade.hpp"

#include "frame/Utility.hpp"
#include "upgrade/FixedModuleBaseData.hpp"
#include "upgrade/UpgradeCheck.hpp"

namespace tk::am {

bool FixedModuleUpgrade::Run(std::string& strErrMsg) {
    FixedModuleBaseData base(update_);
    bool copied = base.CopyMethods(strErrMsg) && base.CopyCategories(strErrMsg) &&
                  base.CopyCardSerials(strErrMsg);
    if (!copied ||
        !UpgradeSteps::Counts("SELECT Count(lngFixedCardID) As lngCount FROM [OldUser]FixedCard"))
        return copied;
    if (!UpgradeCheck::CheckFixedModule(strErrMsg)) {
        steps_.ReportFailedCheck(strErrMsg);
        return false;
    }
    strErrMsg = "升级固定资产卡片和变动数据！暂不支持转换旧固定资产模块的卡片和变动数据。";
    return false;
}

}  // namespace tk::am
