// The earlier-release route: checks, emptied tables, base data and assets copied, templates,
// balances and depreciation records, the journal posted, vouchers linked, sequences rebuilt.
#include "upgrade/EarlierReleaseUpgrade.hpp"

#include "depreciation/clsAMAssetDaily.hpp"
#include "frame/Context.hpp"
#include "frame/Conversion.hpp"
#include "frame/DataAccess.hpp"
#include "frame/Dictionary.hpp"
#include "frame/SystemTemplates.hpp"
#include "frame/TableCopier.hpp"
#include "upgrade/EarlierReleaseAssetCopy.hpp"
#include "upgrade/UpgradeCheck.hpp"
#include "upgrade/UpgradeSteps.hpp"
#include "upgrade/clsAMAssetUpdate.hpp"

namespace tk::am {
namespace {

// In the order they refer to each other; AMAssetState comes from the base schema.
const char* const kBaseTables[] = {"Organization",
                                   "OperatorGroup",
                                   "Operator",
                                   "OrgOperatorAllot",
                                   "Account",
                                   "AccountEx",
                                   "CustomerType",
                                   "Customer",
                                   "Department",
                                   "EmployeeType",
                                   "Employee",
                                   "Class1",
                                   "Class2",
                                   "ItemUnitGroup",
                                   "ItemUnit",
                                   "Location",
                                   "Country",
                                   "Integrality",
                                   "MaintainType",
                                   "FaultType",
                                   "VoucherType",
                                   "Template",
                                   "TemplateFormat",
                                   "Setting",
                                   "AMAssetCategory",
                                   "AMAssetType",
                                   "AMAssetNationalType",
                                   "AMAssetTypeNo",
                                   "AMAssetTypeCustom",
                                   "AMAssetState",
                                   "AMAssetMethod",
                                   "AMAssetFundAccSetting",
                                   "AMFund",
                                   "Adjust"};

bool Failed(const std::string& message, const std::string& errorText, std::string& strErrMsg) {
    strErrMsg = message + "#" + errorText;
    return false;
}

// "Class1" and "Class2" share the class columns.
std::string ColumnStem(const std::string& table) {
    return table == "Class1" || table == "Class2" ? "Class" : table;
}

// Rows whose id, code or name the new schema already has are left out.
std::string NotYetThere(const std::string& table) {
    std::string stem = ColumnStem(table), condition;
    for (const std::string& column :
         {"lng" + stem + "ID", "str" + stem + "Code", "str" + stem + "Name"}) {
        if (!ColumnExists(table, column, context().NewUser)) continue;
        condition += std::string(condition.empty() ? "" : " And ") +
                     "Not Exists(Select 1 From [NewUser]" + table + " a Where a." + column +
                     " = [OldUser]" + table + "." + column + ")";
    }
    return condition;
}

}  // namespace

bool EarlierReleaseUpgrade::Run(std::string& strErrMsg) {
    bool succeeded =
        !UpgradeSteps::Counts("SELECT Count(lngAMAssetID) As lngCount FROM [OldUser]AMAsset") ||
        RunSteps(strErrMsg);
    steps_.DropScratchTables();
    return succeeded;
}

bool EarlierReleaseUpgrade::RunSteps(std::string& strErrMsg) {
    if (!UpgradeCheck::CheckAMVersion(strErrMsg)) {
        steps_.ReportFailedCheck(strErrMsg);
        return false;
    }
    strErrMsg = "编译固定资产函数出错！";
    if (!steps_.RecompileRoutines()) return false;
    strErrMsg = "删除固定资产数据出错！";
    if (!steps_.EmptyAssetTables()) return false;
    strErrMsg.clear();
    CopyBaseData();
    std::string errorText;
    EarlierReleaseAssetCopy assets([this](const std::string& tables) {
        update_.ReportProgress("升级固资变动数据, " + tables + "...");
    });
    if (!assets.Run(errorText)) return Failed("升级固定资产变动数据出错！", errorText, strErrMsg);
    bool copied = CopyTemplates(strErrMsg) && CopyBalances(strErrMsg) &&
                  CopyDepreciationRecords(strErrMsg) && PostDaily(strErrMsg) &&
                  LinkVouchers(strErrMsg);
    if (!copied || !UpgradeSteps::FixTemplatesAndReports(strErrMsg) ||
        !steps_.EnablePhysicalAssets("[OldUser]AMAsset", strErrMsg) ||
        !steps_.RebuildSequences(strErrMsg))
        return false;
    strErrMsg.clear();
    return true;
}

// A base table that cannot be copied is in the "errSql" log and does not stop the run.
void EarlierReleaseUpgrade::CopyBaseData() {
    for (const char* table : kBaseTables) {
        update_.ReportProgress(std::string("升级固资基础数据, ") + table + "...");
        CopyBaseTable(table);
    }
}

void EarlierReleaseUpgrade::CopyBaseTable(const std::string& table) {
    std::string condition = NotYetThere(table), errorText;
    if (table != "AMAssetState") {
        CopyTable(table, condition, errorText);
        return;
    }
    std::string fromBase = ReplaceAll(condition, "[OldUser]AMAssetState.", "b.");
    UpgradeSteps::RunLogged(
        "Insert Into [NewUser]AMAssetState Select b.* From [BaseUser]AMAssetState b" +
        (fromBase.empty() ? "" : " Where " + fromBase));
}

// Versions take the system template of their kind: 4048 opening records,
// 4044 additions, 4046 decreases, 4045 other alterations.
bool EarlierReleaseUpgrade::CopyTemplates(std::string& strErrMsg) {
    update_.ReportProgress("升级固资模板, Template...");
    std::string errorText;
    if (ExecuteSql(" Update [NewUser]AMAssetAlter a Set lngTemplateID = Nvl((Select"
                   " Max(t.lngTemplateID) From [NewUser]Template t Where t.lngSysTemplateID = " +
                       SystemTemplates::ofVersionSql("a.blnIsInit", "a.bytAlterType") + "), 0)",
                   errorText))
        return true;
    return Failed("升级固定资产模板数据出错！", errorText, strErrMsg);
}

bool EarlierReleaseUpgrade::CopyBalances(std::string& strErrMsg) {
    update_.ReportProgress("升级固资折旧数据...");
    std::string errorText;
    bool copied = CopyTable(
        "AMAssetFundBalanceEx,AMAssetFundBalance,AMAssetFundBalanceAmortiseEx,"
        "AMAssetFundBalanceAmortise",
        "", errorText);
    for (const char* table : {"AMAssetFundBalanceAmortiseEx", "AMAssetFundBalanceAmortise"})
        copied = copied && ExecuteSql(std::string(" Update [NewUser]") + table +
                                          " Set strRemark = Decode(bytDirection, 1, '折旧费用分摊',"
                                          " '累计折旧分摊')",
                                      errorText);
    return copied || Failed("升级固定资产折旧数据出错！", errorText, strErrMsg);
}

bool EarlierReleaseUpgrade::CopyDepreciationRecords(std::string& strErrMsg) {
    update_.ReportProgress("升级固资折旧记录...");
    std::string errorText;
    return CopyTable("AMAssetDepreciation", "", errorText) ||
           Failed("升级固定资产折旧记录出错！", errorText, strErrMsg);
}

// The journal is posted again from the copied cards, sources and balances.
bool EarlierReleaseUpgrade::PostDaily(std::string& strErrMsg) {
    for (const char* pass : {"固资增加登账...", "固资折旧登账...", "固资变动登账..."})
        update_.ReportProgress(pass);
    std::string errorText;
    clsAMAssetDaily daily;
    return daily.Execute(0, errorText) ||
           UpgradeSteps::Failed("固定资产登账出错！", "HrpUpdateAMAssetDaily:", errorText,
                                strErrMsg);
}

// A voucher id whose voucher is gone is cleared; depreciation rows point at
// their period's depreciation voucher.
bool EarlierReleaseUpgrade::LinkVouchers(std::string& strErrMsg) {
    std::string errorText;
    bool linked = true;
    for (const char* table : {"AMAssetAlter", "AMAssetFundAlter"})
        linked = linked && ExecuteSql(std::string(" Update [NewUser]") + table +
                                          " x Set lngVoucherID = 0 Where x.lngVoucherID <> 0"
                                          " And Not Exists(Select 1 From [NewUser]Voucher v"
                                          " Where v.lngVoucherID = x.lngVoucherID"
                                          " And v.lngVoucherSourceID In (14, 15))",
                                      errorText);
    for (const char* rows : {"AMAssetDepreciation x", "AMAssetFundBalance x",
                             "AMAssetFundDaily x Where x.blnFromDepreciation = 1"}) {
        std::string table = rows, where;
        if (size_t at = table.find(" Where"); at != std::string::npos) {
            where = table.substr(at);
            table.erase(at);
        }
        linked = linked &&
                 ExecuteSql(" Update [NewUser]" + table +
                                " Set lngVoucherID = Nvl((Select Max(v.lngVoucherID)"
                                " From [NewUser]Voucher v Where v.lngVoucherSourceID = 15"
                                " And v.lngOrganizationID = x.lngOrganizationID"
                                " And v.intYear = x.intYear And v.bytPeriod = x.bytPeriod), 0)" +
                                where,
                            errorText);
    }
    return linked || Failed("升级固定资产凭证记录出错！", errorText, strErrMsg);
}

}  // namespace tk::am
