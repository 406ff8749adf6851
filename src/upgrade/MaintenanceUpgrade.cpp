// The maintenance route: templates and texts fixed, creation columns filled, the latest balances
// written again, assets never depreciated recalculated, and the journal posted.
#include "upgrade/MaintenanceUpgrade.hpp"

#include "depreciation/clsAMAssetDeprection.hpp"
#include "frame/Context.hpp"
#include "frame/Conversion.hpp"
#include "frame/DataAccess.hpp"
#include "frame/SystemTemplates.hpp"
#include "upgrade/FixedModuleBaseData.hpp"
#include "upgrade/UpgradeSteps.hpp"
#include "upgrade/clsAMAssetUpdate.hpp"

namespace tk::am {
namespace {

const char* const kRelease = "a.83.20130430";

// The shared template (organisation -1) of a system id, for a row whose
// template stands for none of the five.
std::string UseSystemTemplate(const std::string& table, const std::string& column,
                              const std::string& systemID) {
    return " Update [NewUser]" + table + " a Set " + column +
           " = Nvl((Select Max(t.lngTemplateID) From [NewUser]Template t"
           " Where t.lngOrganizationID = -1 And t.lngSysTemplateID = " +
           systemID + "), a." + column +
           ") Where Not Exists(Select 1 From [NewUser]Template t Where t.lngTemplateID = a." +
           column + " And t.lngSysTemplateID In (" + SystemTemplates::idList() + "))";
}

}  // namespace

bool MaintenanceUpgrade::Run(std::string& strErrMsg) {
    for (const char* table : {"AMAssetMethod", "AMAssetMethodEx"})
        FixedModuleBaseData::MapMethodTemplates(table);
    if (context().OldVer == kRelease) FillCreationColumns();
    if (!FixTemplatesAndTexts(strErrMsg)) return false;
    strErrMsg = "编译固定资产函数出错！";
    if (!steps_.RecompileRoutines()) return false;
    strErrMsg = "固定资产计提折旧出错！";
    if (!WriteBalances()) return false;
    if (!steps_.RecalculateUndepreciated(strErrMsg)) return false;
    strErrMsg = "固定资产登账出错！";
    if (!UpgradeSteps::PostDaily(strErrMsg)) return false;
    strErrMsg.clear();
    return true;
}

void MaintenanceUpgrade::FillCreationColumns() {
    UpgradeSteps::AddCreationColumns();
    for (const char* column : {"strCreateDate", "strAMAssetNationalCode"}) {
        std::string source = std::string(column) == "strCreateDate" ? "strDate" : column;
        UpgradeSteps::RunLogged(std::string(" Update [NewUser]AMAsset a Set ") + column +
                                " = Nvl((Select f." + source +
                                " From [NewUser]AMAssetAlter f Where f.lngAMAssetAlterID ="
                                " a.lngAMAssetInitAlterID), ' ')");
    }
}

bool MaintenanceUpgrade::FixTemplatesAndTexts(std::string& strErrMsg) {
    return UpgradeSteps::RunAll(
               {UseSystemTemplate("AMAssetAlter", "lngTemplateID",
                                  SystemTemplates::ofVersionSql("a.blnIsInit", "a.bytAlterType")),
                UseSystemTemplate("AMAsset", "lngCardTemplateID",
                                  std::to_string(SystemTemplates::kCard)),
                UpgradeSteps::StyleModelFill("AMAssetOther"),
                UpgradeSteps::StyleModelFill("AMAssetOtherAlter")},
               "升级固定资产模板数据出错！", "ErpUpdateAMAsset:", strErrMsg) &&
           UpgradeSteps::FixTemplatesAndReports(strErrMsg);
}

// Each organisation's latest depreciated period is written again from the
// register as it now stands.
bool MaintenanceUpgrade::WriteBalances() {
    RecordsetPtr rs = OpenRecordset(
        "Select d.lngOrganizationID, Max(d.intYear * 100 + d.bytPeriod) As lngPeriod"
        " From [NewUser]AMAssetDepreciation d Group By d.lngOrganizationID",
        3, 1);
    clsAMAssetDeprection depreciation;
    bool written = true;
    for (; written && !rs->eof(); rs->moveNext()) {
        int32_t period = rs->field("lngPeriod").toInt32();
        written = depreciation.WriteBalance(0, static_cast<int16_t>(period / 100),
                                            static_cast<int16_t>(period % 100), "", "", false, 0, 0,
                                            rs->field("lngOrganizationID").toInt32());
    }
    CloseRecordset(rs);
    return written;
}

}  // namespace tk::am
