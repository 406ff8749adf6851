// The older-module route: the reference data, then, once the old data passes its checks, the
// cards replayed with everything that hangs off them, their history written, the lines' texts
// rebuilt, the cards never depreciated calculated and the journal posted.
#include "upgrade/FixedModuleUpgrade.hpp"

#include "frame/DataAccess.hpp"
#include "upgrade/FixedAssetRecords.hpp"
#include "upgrade/FixedCardReplay.hpp"
#include "upgrade/FixedModuleBaseData.hpp"
#include "upgrade/FixedModuleHistory.hpp"
#include "upgrade/UpgradeCheck.hpp"
#include "upgrade/clsAMAssetUpdate.hpp"

namespace tk::am {
namespace {

const char* const kCards = "升级固定资产卡片和变动数据！";

// The account set's routine on every version: coefficients (1), department
// and account texts (2) or the currency text (3).
bool AllocationTexts(int part, const std::string& message, const std::string& label,
                     std::string& strErrMsg) {
    return UpgradeSteps::RunAll(
        {"Select [NewUser]AMAssetAllocationTexts(0, " + std::to_string(part) + ") From Dual"},
        message, label, strErrMsg);
}

}  // namespace

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
    return ReplayCards(strErrMsg) && WriteRecords(strErrMsg) && WriteHistory(strErrMsg) &&
           RebuildLineTexts(strErrMsg) &&
           steps_.EnablePhysicalAssets("[NewUser]AMAsset", strErrMsg) &&
           CalculateAndPost(strErrMsg) && steps_.RebuildSequences(strErrMsg);
}

bool FixedModuleUpgrade::ReplayCards(std::string& strErrMsg) {
    update_.ReportProgress("升级固定资产卡片和变动数据...");
    // the currencies the cost lines name
    return UpgradeSteps::RunAll(
               {" Insert Into [NewUser]Currencys Select * From [OldUser]Currencys o Where Not"
                " Exists (Select 1 From [NewUser]Currencys n Where n.lngCurrencyID ="
                " o.lngCurrencyID)"},
               kCards, "ErpUpdateAMAssetCard:", strErrMsg) &&
           UpgradeSteps::Trapped(kCards, "ErpUpdateAMAssetCard:", strErrMsg, [this] {
               FixedCardReplay(update_).Run();
               return true;
           });
}

bool FixedModuleUpgrade::WriteRecords(std::string& strErrMsg) {
    update_.ReportProgress("升级固定资产其它卡片、标签、自定义项、附属设备、图片和文档...");
    return FixedAssetRecords::WriteOtherCards(strErrMsg) &&
           FixedAssetRecords::WriteLabels(strErrMsg) &&
           FixedAssetRecords::WriteCustomValues(strErrMsg) &&
           FixedAssetRecords::CopyAuxiliaryEquipment(strErrMsg) &&
           FixedAssetRecords::CopyPictures(strErrMsg) &&
           FixedAssetRecords::CopyDocuments(strErrMsg);
}

bool FixedModuleUpgrade::WriteHistory(std::string& strErrMsg) {
    update_.ReportProgress("升级固定资产折旧数据...");
    return FixedModuleHistory::WriteBalances(strErrMsg) &&
           FixedModuleHistory::WriteApportionment(strErrMsg) &&
           FixedModuleHistory::WriteDepreciationRecords(strErrMsg);
}

bool FixedModuleUpgrade::RebuildLineTexts(std::string& strErrMsg) {
    update_.ReportProgress("更新费用系数和费用部门、费用科目、币种字符串...");
    return AllocationTexts(1, "更新费用系数出错！", "ErpUpdateDepartmentQuotiety:", strErrMsg) &&
           AllocationTexts(2, "更新费用部门,费用科目字符串出错！",
                           "ErpUpdateDepartmentAccountStr:", strErrMsg) &&
           AllocationTexts(3, "更新币种字符串出错！", "ErpUpdateDepartmentAccountStr:", strErrMsg);
}

// The old periods stay as the module booked them; a card it never
// depreciated is calculated as an addition, then the journal is posted.
bool FixedModuleUpgrade::CalculateAndPost(std::string& strErrMsg) {
    bool calculated =
        UpgradeSteps::Trapped("固定资产计提折旧出错！", "ErpUpdateAMAssetDepreciation:", strErrMsg,
                              [&] { return steps_.RecalculateUndepreciated(strErrMsg); });
    if (!calculated) return false;
    update_.ReportProgress("固资折旧登账...");
    std::string errorText;
    return UpgradeSteps::Trapped("固定资产登账出错！", "ErpUpdateAMAssetDaily:", strErrMsg, [&] {
        return UpgradeSteps::PostDaily(errorText) ||
               UpgradeSteps::Failed("固定资产登账出错！", "ErpUpdateAMAssetDaily:", errorText,
                                    strErrMsg);
    });
}

}  // namespace tk::am
