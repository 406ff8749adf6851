// The shared upgrade steps: routines recompiled, asset tables emptied, scratch tables dropped,
// sequences rebuilt, templates fixed and the journal posted per organisation.
#include "upgrade/UpgradeSteps.hpp"

#include <vector>

#include "depreciation/clsAMAssetDaily.hpp"
#include "depreciation/clsAMAssetDeprection.hpp"
#include "frame/Context.hpp"
#include "frame/DataAccess.hpp"
#include "frame/Dictionary.hpp"
#include "frame/Log.hpp"
#include "frame/Settings.hpp"
#include "frame/SystemTemplates.hpp"
#include "upgrade/clsAMAssetUpdate.hpp"

namespace tk::am {
namespace {

constexpr int32_t kAssetModule = 11;

const char* const kAssetTables[] = {"AMAsset",
                                    "AMAssetAlter",
                                    "AMAssetFund",
                                    "AMAssetFundAlter",
                                    "AMAssetFundCostAlter",
                                    "AMAssetFundAccAlter",
                                    "AMAssetOther",
                                    "AMAssetOtherAlter",
                                    "AMAssetLabel",
                                    "AMAssetLabelAlter",
                                    "AMAssetLabelCustom",
                                    "AMAssetAux",
                                    "AMAssetDocument",
                                    "AMAssetImage",
                                    "AMAssetCustom",
                                    "AMAssetFundBalanceEx",
                                    "AMAssetFundBalance",
                                    "AMAssetFundBalanceAmortiseEx",
                                    "AMAssetFundBalanceAmortise",
                                    "AMAssetFundDaily",
                                    "AMAssetDepreciation"};

const char* const kSequencedTables[] = {"Organization",
                                        "Operator",
                                        "Account",
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
                                        "Voucher",
                                        "VoucherDetail",
                                        "Template",
                                        "TemplateFormat",
                                        "AMAssetType",
                                        "AMAssetNationalType",
                                        "AMAssetMethod",
                                        "AMAsset",
                                        "AMAssetAlter",
                                        "AMAssetFundAlter",
                                        "AMAssetFundCostAlter",
                                        "AMAssetFundAccAlter",
                                        "AMAssetOtherAlter",
                                        "AMAssetLabel",
                                        "AMAssetLabelAlter",
                                        "AMAssetAux",
                                        "AMAssetDocument",
                                        "AMAssetImage"};

std::vector<int32_t> OrganizationIDs() {
    RecordsetPtr rs = OpenRecordset(
        " SELECT a.lngOrganizationID FROM [NewUser]Organization a ORDER BY a.lngOrganizationID", 3,
        1);
    std::vector<int32_t> ids;
    for (; !rs->eof(); rs->moveNext()) ids.push_back(rs->field(0).toInt32());
    CloseRecordset(rs);
    return ids;
}

const char* const kScratchTables[] = {"AMAssetFundBalanceEx_Temp", "FixAlterID_Temp",
                                      "FixBalID_Temp", "FixBalIDx_Temp"};

// A column a re-run finds already there is answered with ORA-01430; that is fine.
bool AddColumn(const std::string& table, const std::string& column) {
    std::string errorText;
    return ExecuteSql("Alter Table [NewUser]" + table + " Add (" + column + ")", errorText) ||
           errorText.find("ORA-01430") != std::string::npos;
}

}  // namespace

void UpgradeSteps::ReportFailedCheck(const std::string& strErrMsg) {
    WriteLog(std::string(kCrLf) + strErrMsg + kCrLf, "check");
    update_.ShowWarning(strErrMsg + kCrLf + kCrLf +
                            "请将日志目录(C:\\Windows\\Norvex*\\log)提交给客服，" + kCrLf +
                            "先对固定资产数据调整后再升级，以保证升级后固定资产业务没有问题。",
                        "提醒");
}

bool UpgradeSteps::RunLogged(const std::string& sql) {
    std::string errorText;
    return ExecuteSql(sql, errorText);
}

bool UpgradeSteps::Counts(const std::string& countQuery) {
    RecordsetPtr rs = OpenRecordset(countQuery, 3, 1);
    int32_t count = rs->field("lngCount").toInt32();
    CloseRecordset(rs);
    return count > 0;
}

bool UpgradeSteps::RecompileRoutines() {
    update_.ReportProgress("编译固资函数...");
    bool compiled = true;
    for (const char* routine : kDepreciationRoutines)
        compiled = CompileFunction(routine, context().NewUser) && compiled;
    return compiled;
}

void UpgradeSteps::AddCreationColumns() {
    AddColumn("AMAsset", "strCreateDate Varchar2(10) Default ' ' Not Null");
    AddColumn("AMAsset", "strAMAssetNationalCode Varchar2(60) Default ' ' Not Null");
}

void UpgradeSteps::RecreateBalanceScratch() {
    RunLogged("Drop Table [NewUser]AMAssetFundBalanceEx_Temp");
    RunLogged(
        "Create Table [NewUser]AMAssetFundBalanceEx_Temp As Select * From "
        "[NewUser]AMAssetFundBalanceEx Where 1 = 0");
    AddColumn("AMAssetFundBalanceEx_Temp", "strAlterKey Varchar2(50) Default ' ' Not Null");
}

bool UpgradeSteps::EmptyAssetTables() {
    AddCreationColumns();
    RecreateBalanceScratch();
    for (const char* table : kAssetTables) {
        update_.ReportProgress(std::string("删除固资数据, ") + table + "...");
        if (!TruncateTable(table, context().NewUser)) return false;
    }
    return true;
}

void UpgradeSteps::DropScratchTables() {
    for (const char* table : kScratchTables)
        if (TableExists(table, context().NewUser))
            RunLogged("Drop Table [NewUser]" + std::string(table));
}

bool UpgradeSteps::EnablePhysicalAssets(const std::string& assets, std::string& strErrMsg) {
    update_.ReportProgress("启用实物资产...");
    const std::string started =
        " From (Select Distinct a.lngOrganizationID From " + assets +
        " a) a, [NewUser]Module m Where m.lngOrganizationID = a.lngOrganizationID"
        " And m.lngModuleID = 11 And m.bytStatus = 1";
    return Trapped("启用实物资产出错！", "ErpUpdateAMAsset:", strErrMsg, [&] {
        RecordsetPtr rs = OpenRecordset(
            "Select a.lngOrganizationID, m.intYear * 100 + m.bytPeriod As lngPeriod" + started, 3,
            1);
        for (; !rs->eof(); rs->moveNext()) {
            int32_t organization = rs->field("lngOrganizationID").toInt32();
            WriteSetting("固定资产", "启用实物资产", "1", "Long", kAssetModule, organization);
            WriteSetting("固定资产", "实物资产启用期间", rs->field("lngPeriod").toText(), "Long",
                         kAssetModule, organization);
        }
        CloseRecordset(rs);
        // the settings are written on a best-effort basis: read back what came of them
        bool missing =
            Counts("Select Count(*) As lngCount" + started +
                   " And Not Exists(Select 1 From [NewUser]Setting s Where s.lngModuleID = 11"
                   " And s.strSection = '固定资产' And s.strKey = '启用实物资产'"
                   " And s.strSetting = '1' And s.lngOrganizationID = a.lngOrganizationID)");
        return !missing ||
               Failed("启用实物资产出错！", "ErpUpdateAMAsset:", "设置未能写入", strErrMsg);
    });
}

bool UpgradeSteps::RebuildSequences(std::string& strErrMsg) {
    update_.ReportProgress("重建序列...");
    for (const char* table : kSequencedTables)
        if (!ResetSequence(table, context().NewUser))
            return Failed("重建序列出错！", "ErpUpdateAMAsset:", LastSqlError().description,
                          strErrMsg);
    return true;
}

bool UpgradeSteps::FixTemplatesAndReports(std::string& strErrMsg) {
    std::vector<std::string> statements;
    // Receipt type 50 (other alterations) keeps 4045; the card templates are type 51.
    for (const auto& [receiptType, systemTemplate] : SystemTemplates::byReceiptType()) {
        std::string id = std::to_string(systemTemplate);
        statements.push_back(" Update [NewUser]Template t Set t.lngSysTemplateID = " + id +
                             " Where t.lngReceiptTypeID = " + std::to_string(receiptType) +
                             " And t.lngSysTemplateID <> " + id);
    }
    RecordsetPtr rs =
        OpenRecordset(" SELECT 1  FROM [NewUser]MenuSchemeDetail m WHERE m.lngMenuID = 76", 3, 1);
    if (!IsRecordsetEmpty(rs))
        statements.push_back(
            " UPDATE [NewUser]Report r SET r.blnIsDetail = 1, r.lngParentID = 56"
            " WHERE r.bytGroup = 6 AND r.lngParentID = 76 AND r.lngViewID > 60000");
    CloseRecordset(rs);
    return RunAll(statements, "升级固定资产模板数据出错！", "ErpUpdateAMAsset:", strErrMsg);
}

std::string UpgradeSteps::StyleModelFill(const std::string& table) {
    return " Update [NewUser]" + table +
           " Set strStyleModel = Case When Trim(strAssetStyle) Is Not Null And"
           " Trim(strAssetModel) Is Not Null Then strAssetStyle || '-' || strAssetModel"
           " When Trim(strAssetStyle) Is Not Null Then strAssetStyle Else strAssetModel End"
           " Where Trim(strStyleModel) Is Null And (Trim(strAssetStyle) Is Not Null Or"
           " Trim(strAssetModel) Is Not Null)";
}

bool UpgradeSteps::LinkLabelVersions(std::string& errorText) {
    return ExecuteSql(
               " Update [NewUser]AMAssetLabelAlter t Set lngAMAssetLabelRecentAlterID ="
               " Nvl((Select p.lngAMAssetLabelAlterID From [NewUser]AMAssetLabelAlter p,"
               " [NewUser]AMAssetAlter c Where c.lngAMAssetAlterID = t.lngAMAssetAlterID"
               " And p.lngAMAssetLabelID = t.lngAMAssetLabelID"
               " And p.lngAMAssetAlterID = c.lngAMAssetRecentAlterID), 0)",
               errorText) &&
           ExecuteSql(
               " Update [NewUser]AMAssetLabel l Set lngAMAssetLabelInitAlterID ="
               " Nvl((Select Min(v.lngAMAssetLabelAlterID) From [NewUser]AMAssetLabelAlter v"
               " Where v.lngAMAssetLabelID = l.lngAMAssetLabelID), 0),"
               " lngAMAssetLabelLastAlterID ="
               " Nvl((Select Max(v.lngAMAssetLabelAlterID) From [NewUser]AMAssetLabelAlter v"
               " Where v.lngAMAssetLabelID = l.lngAMAssetLabelID), 0)",
               errorText);
}

bool UpgradeSteps::Failed(const std::string& message, const std::string& label,
                          const std::string& reason, std::string& strErrMsg) {
    strErrMsg = message + label + "#" + reason;
    return false;
}

bool UpgradeSteps::RunAll(const std::vector<std::string>& statements, const std::string& message,
                          const std::string& label, std::string& strErrMsg) {
    std::string errorText;
    for (const std::string& sql : statements)
        if (!ExecuteSql(sql, errorText)) return Failed(message, label, errorText, strErrMsg);
    return true;
}

bool UpgradeSteps::Trapped(const std::string& message, const std::string& label,
                           std::string& strErrMsg, const std::function<bool()>& step) {
    try {
        return step();
    } catch (...) {
        strErrMsg = AppendErrorText(ErrorInfo::current(), message + label);
        return false;
    }
}

// Assets with something left to depreciate by time, not disposed and never
// depreciated are calculated again as the upgrade rebuilds history.
bool UpgradeSteps::RecalculateUndepreciated(std::string& strErrMsg) {
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
    if (!calculated) strErrMsg = "重新计算资产折旧出错！" + depreciation.ErrorMessage();
    return calculated;
}

bool UpgradeSteps::PostDaily(std::string& strErrMsg) {
    clsAMAssetDaily daily;
    for (int32_t organization : OrganizationIDs())
        if (!daily.Execute(organization, strErrMsg)) return false;
    return true;
}

}  // namespace tk::am
