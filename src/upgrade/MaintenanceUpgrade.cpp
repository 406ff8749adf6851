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

// A blank style-and-model text is made of the style and the model, or of
// whichever of the two is there.
void FillStyleModel(const std::string& table) {
    UpgradeSteps::RunLogged(
        " Update [NewUser]" + table +
        " Set strStyleModel = Case When Trim(strAssetStyle) Is Not Null And"
        " Trim(strAssetModel) Is Not Null Then strAssetStyle || '-' || strAssetModel"
        " When Trim(strAssetStyle) Is Not Null Then strAssetStyle Else strAssetModel End"
        " Where Trim(strStyleModel) Is Null And (Trim(strAssetStyle) Is Not Null Or"
        " Trim(strAssetModel) Is Not Null)");
}

// The shared template (organisation -1) of a system id, for a row whose
// template stands for none of the five.
void UseSystemTemplate(const std::string& table, const std::string& column,
                       const std::string& systemID) {
    UpgradeSteps::RunLogged(
        " Update [NewUser]" + table + " a Set " + column +
        " = Nvl((Select Max(t.lngTemplateID) From [NewUser]Template t"
        " Where t.lngOrganizationID = -1 And t.lngSysTemplateID = " +
        systemID + "), a." + column +
        ") Where Not Exists(Select 1 From [NewUser]Template t Where t.lngTemplateID = a." + column +
        " And t.lngSysTemplateID In (" + SystemTemplates::idList() + "))");
}

}  // namespace

bool MaintenanceUpgrade::Run(std::string& strErrMsg) {
    for (const char* table : {"AMAssetMethod", "AMAssetMethodEx"})
        FixedModuleBaseData::MapMethodTemplates(table);
    if (context().OldVer == kRelease) FillCreationColumns();
    FixTemplatesAndTexts();
    strErrMsg = "编译固定资产函数出错！";
    if (!steps_.RecompileRoutines()) return false;
    strErrMsg = "固定资产计提折旧出错！";
    if (!WriteBalances()) return false;
    strErrMsg = "重新计算资产折旧出错！";
    if (!Recalculate(strErrMsg)) return false;
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

void MaintenanceUpgrade::FixTemplatesAndTexts() {
    UseSystemTemplate("AMAssetAlter", "lngTemplateID",
                      SystemTemplates::ofVersionSql("a.blnIsInit", "a.bytAlterType"));
    UseSystemTemplate("AMAsset", "lngCardTemplateID", std::to_string(SystemTemplates::kCard));
    for (const char* table : {"AMAssetOther", "AMAssetOtherAlter"}) FillStyleModel(table);
    UpgradeSteps::FixTemplatesAndReports();
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

// Assets with something left to depreciate by time, not disposed and never
// depreciated are calculated again as the upgrade rebuilds history.
bool MaintenanceUpgrade::Recalculate(std::string& strErrMsg) {
    RecordsetPtr rs = OpenRecordset(
        "Select a.lngAMAssetID, a.lngOrganizationID, a.strAMAssetCode, a.strAMAssetName"
        " From [NewUser]AMAsset a, [NewUser]AMAssetAlter l"
        " Where l.lngAMAssetAlterID = a.lngAMAssetLastAlterID"
        " And Round(l.dblAmount - l.dblDepreciation - l.dblDecAmount - l.dblNetworth, 2) > 0"
        " And l.bytDepreciationMethod Not In (1, 3) And l.bytAlterType <> 2"
        " And Not Exists(Select 1 From [NewUser]AMAssetFundBalance b"
        " Where b.lngAMAssetID = a.lngAMAssetID) Order By a.lngAMAssetID",
        3, 1);
    int32_t total = rs->recordCount(), done = 0;
    clsAMAssetDeprection depreciation;
    bool calculated = true;
    for (; calculated && !rs->eof(); rs->moveNext()) {
        update_.ReportProgress(
            "重新计算折旧...(" + std::to_string(++done) + "/" + std::to_string(total) + ") " +
                rs->field("strAMAssetCode").toText() + " " + rs->field("strAMAssetName").toText(),
            false);
        calculated = depreciation.CaclDeprectionAdd(1, rs->field("lngAMAssetID").toInt32(),
                                                    rs->field("lngOrganizationID").toInt32());
    }
    CloseRecordset(rs);
    if (!calculated) strErrMsg += depreciation.ErrorMessage();
    return calculated;
}

}  // namespace tk::am
