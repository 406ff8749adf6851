// The older-module route: the reference data, then, once the old data passes its checks, the
// cards replayed and their history written.
#include "upgrade/FixedModuleUpgrade.hpp"

#include "frame/DataAccess.hpp"
#include "upgrade/FixedCardReplay.hpp"
#include "upgrade/FixedModuleBaseData.hpp"
#include "upgrade/FixedModuleHistory.hpp"
#include "upgrade/UpgradeCheck.hpp"
#include "upgrade/clsAMAssetUpdate.hpp"

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
    bool converted = ConvertCards(strErrMsg);
    steps_.DropScratchTables();
    return converted;
}

bool FixedModuleUpgrade::ConvertCards(std::string& strErrMsg) {
    strErrMsg = "编译固定资产函数出错！";
    if (!steps_.RecompileRoutines()) return false;
    strErrMsg = "删除固定资产数据出错！";
    if (!steps_.EmptyAssetTables()) return false;
    strErrMsg.clear();
    update_.ReportProgress("升级固定资产卡片和变动数据...");
    // the currencies the cost lines name
    UpgradeSteps::RunLogged(
        " Insert Into [NewUser]Currencys Select * From [OldUser]Currencys o Where Not Exists"
        " (Select 1 From [NewUser]Currencys n Where n.lngCurrencyID = o.lngCurrencyID)");
    try {
        FixedCardReplay(update_).Run();
    } catch (...) {
        strErrMsg = AppendErrorText(ErrorInfo::current(), "ErpUpdateAMAssetCard:");
        return false;
    }
    update_.ReportProgress("升级固定资产折旧数据...");
    bool written = FixedModuleHistory::CopyAssetRecords(strErrMsg) &&
                   FixedModuleHistory::WriteBalances(strErrMsg) &&
                   FixedModuleHistory::WriteApportionment(strErrMsg) &&
                   FixedModuleHistory::WriteDepreciationRecords(strErrMsg);
    if (!written) return false;
    update_.ReportProgress("固资折旧登账...");
    std::string errorText;
    if (!UpgradeSteps::PostDaily(errorText)) {
        strErrMsg = "固定资产登账出错！#" + errorText;
        return false;
    }
    steps_.RebuildSequences();
    return true;
}

}  // namespace tk::am
