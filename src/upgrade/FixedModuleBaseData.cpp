// The reference data converted: ways of alteration with the presets and their templates,
// categories, and card-number rules turned into the categories' serial counters.
#include "upgrade/FixedModuleBaseData.hpp"

#include "frame/Conversion.hpp"
#include "frame/DataAccess.hpp"
#include "frame/Log.hpp"
#include "frame/PublicDef.hpp"
#include "frame/SystemTemplates.hpp"
#include "upgrade/UpgradeSteps.hpp"
#include "upgrade/clsAMAssetUpdate.hpp"

namespace tk::am {
namespace {

const char* const kLog = "固定资产升级";
const char* const kCodeRule =
    "[资产类别编码][资产类别资产前缀][机构+资产类别流水号][资产类别资产后缀]";
const char* const kLabelRule = "[资产类别编码][资产编码][机构+资产类别流水号]";

struct PresetMethod {
    int id;
    const char* code;
    const char* name;
    int alterType;
};

const PresetMethod kPresetMethods[] = {{17, "19", "财政拨款转入", 2},
                                       {18, "20", "科研基金转入", 2},
                                       {19, "21", "教学基金转入", 2},
                                       {20, "22", "自有基金转出", 3},
                                       {21, "23", "其它", 4}};

std::string MethodCopy(const std::string& table, const std::string& organization) {
    return " Insert Into [NewUser]AMAsset" + table + " (Select 1 As lngAMAssetCategoryID," +
           "lngFixedMethodID As lngAMAssetMethodID,strFixedMethodCode As strAMAssetMethodCode," +
           " strFixedMethodName As strAMAssetMethodName,blnIsInActive, 0 As blnIsSys," +
           "Decode(strFixedMethodType,'0',0,'1',1,0) As bytAssetAlterType,lngAccountID," +
           " lngVoucherTypeID,lngTemplateID,strRemark,strStartDate, 0 As lngTradeID" +
           organization + " From [OldUser]Fixed" + table + " Where Not Exists(Select 1 From " +
           "[NewUser]AMAsset" + table + " fm Where (fm.lngAMAssetMethodID = [OldUser]Fixed" +
           table + ".lngFixedMethodID OR fm.strAMAssetMethodCode = [OldUser]Fixed" + table +
           ".strFixedMethodCode)))";
}

// The categories of the older module: its depreciation type and method were
// texts, its life a period count or, for the workload method, a total work.
std::string CategoryCopy(const std::string& suffix) {
    bool overlay = !suffix.empty();
    std::string table = "AMAssetType" + suffix, source = "[OldUser]FixedType" + suffix;
    return " Insert Into [NewUser]" + table +
           " (lngAMAssetCategoryID, lngAMAssetTypeID, strAMAssetTypeCode, strAMAssetTypeName,"
           " strFullName, intLevel, blnIsDetail, blnIsInActive, blnIsSys, strStartDate,"
           " bytDepreciationType, bytDepreciationMethod, dblUseage, dblNetworthRate, dblDeprRate,"
           " bytCodeMethod, strCodePrefix, strCodeSuffix, strCodeRule, intCodeSerialNoDec,"
           " strCardRule, intCardSerialNoDec, strLabelRule, intLabelSerialNoDec,"
           " lngAssetAccountID, lngDepreciationAccountID, lngDecAccountID, lngClassID1,"
           " lngClassID2, strNotes, strNationalRule" +
           (overlay ? ", lngOrganizationID" : "") +
           ") Select 1, t.lngFixedTypeID, t.strFixedTypeCode, t.strFixedTypeName, t.strFullName,"
           " t.intLevel, t.blnIsDetail, t.blnIsInActive, 0, t.strStartDate,"
           " To_Number(t.strDepreciationType), To_Number(t.strDepreciationMethod),"
           " Decode(t.strDepreciationMethod, '3', t.dblTotalWork, t.intUseAge),"
           " t.dblNetworthRate, t.dblDeprRate, Decode(t.strCodeManner, '1', 2, '2', 1, 2),"
           " t.strCodePrefix, t.strCodeSuffix, '" +
           kCodeRule + "', t.intCodeSerialNoDec, '" + kCodeRule + "', t.intCardSerialNoDec, '" +
           kLabelRule +
           "', t.intLabelSerialNoDec, t.lngFixedAccountID, t.lngDeprectionAccountID,"
           " t.lngFixedDecAccountID, t.lngClassID1, t.lngClassID2, t.strNotes, '" +
           kCodeRule + "'" + (overlay ? ", t.lngOrganizationID" : "") + " From " + source +
           " t Where Not Exists(Select 1 From [NewUser]" + table +
           " n Where n.lngAMAssetTypeID = t.lngFixedTypeID" +
           (overlay ? " And n.lngOrganizationID = t.lngOrganizationID" : "") + ")";
}

}  // namespace

bool FixedModuleBaseData::CopyMethods(std::string& strErrMsg) {
    update_.ReportProgress("升级固资基础数据, AMAssetMethod...");
    UpgradeSteps::RunLogged(MethodCopy("Method", ""));
    UpgradeSteps::RunLogged(MethodCopy("MethodEx", ",lngOrganizationID"));
    AddPresetMethods(strErrMsg);
    for (const char* table : {"AMAssetMethod", "AMAssetMethodEx"}) {
        MapMethodTemplates(table);
        FillMissingMethodValues(table);
    }
    return true;
}

// A preset already in place is kept; one whose id or code another method
// holds cannot be added.
void FixedModuleBaseData::AddPresetMethods(std::string& strErrMsg) {
    for (const PresetMethod& preset : kPresetMethods) {
        std::string id = std::to_string(preset.id), code = preset.code;
        bool added = UpgradeSteps::RunLogged(
            " Insert Into [NewUser]AMAssetMethod (lngAMAssetCategoryID, lngAMAssetMethodID,"
            " strAMAssetMethodCode, strAMAssetMethodName, blnIsInActive, blnIsSys,"
            " bytAssetAlterType, lngAccountID, lngVoucherTypeID, lngTemplateID, strRemark,"
            " strStartDate, lngTradeID) Select 1, " +
            id + ", '" + code + "', '" + preset.name + "', 0, 1, " +
            std::to_string(preset.alterType) +
            ", 0, 0, 0, ' ', ' ', 0 From Dual Where Not Exists(Select 1 From"
            " [NewUser]AMAssetMethod m Where m.lngAMAssetMethodID = " +
            id + " And m.strAMAssetMethodCode = '" + code + "')");
        if (added) continue;
        std::string message = std::string("复制“") + preset.name + "”时出错，可能变动方式编号“" +
                              code + "”已经被占用！";
        WriteLog(message, kLog);
        strErrMsg += (strErrMsg.empty() ? "" : kCrLf) + message;
    }
}

// A migrated method takes the new template of its old template's name,
// receipt type and organisation, else the latest new template standing for
// the system template its old id named, else keeps its own.
void FixedModuleBaseData::MapMethodTemplates(const std::string& table) {
    UpgradeSteps::RunLogged(
        " Update [NewUser]" + table +
        " m Set lngTemplateID = Nvl((Select Max(n.lngTemplateID) From [NewUser]Template n,"
        " [OldUser]Template o Where o.lngTemplateID = m.lngTemplateID"
        " And n.strTemplateName = o.strTemplateName And n.lngReceiptTypeID = o.lngReceiptTypeID"
        " And n.lngOrganizationID = o.lngOrganizationID), Nvl((Select Max(n.lngTemplateID)"
        " From [NewUser]Template n Where n.lngSysTemplateID = m.lngTemplateID),"
        " m.lngTemplateID)) Where m.blnIsSys = 0 And m.lngTemplateID <> 0");
}

// A method without a voucher type takes the first one; without a template,
// the shared system template of its kind (additions, decreases, others).
void FixedModuleBaseData::FillMissingMethodValues(const std::string& table) {
    UpgradeSteps::RunLogged(" Update [NewUser]" + table +
                            " m Set lngVoucherTypeID = Nvl((Select Min(v.lngVoucherTypeID) From"
                            " [NewUser]VoucherType v), 0) Where m.lngVoucherTypeID = 0");
    UpgradeSteps::RunLogged(
        " Update [NewUser]" + table +
        " m Set lngTemplateID = Nvl((Select Max(t.lngTemplateID) From [NewUser]Template t"
        " Where t.lngOrganizationID = -1 And t.lngSysTemplateID = " +
        SystemTemplates::ofKindSql("m.bytAssetAlterType", "0", "1") +
        "), 0) Where m.lngTemplateID = 0");
}

bool FixedModuleBaseData::CopyCategories(std::string& strErrMsg) {
    update_.ReportProgress("升级固资基础数据, AMAssetType...");
    std::string errorText;
    bool copied = ExecuteSql(CategoryCopy(""), errorText) &&
                  ExecuteSql(CategoryCopy("Ex"), errorText) &&
                  ExecuteSql(
                      " Insert Into [NewUser]AMAssetTypeCustom (lngAMAssetTypeCustomID,"
                      " lngAMAssetTypeID, bytCustomType, strFieldName, strCaption, blnIsMust,"
                      " lngOrderNo) Select c.lngFixedCustomID, c.lngFixedTypeID, 0,"
                      " c.strFieldName, c.strCaption, c.blnIsMust, c.lngOrderNo"
                      " From [OldUser]FixedCustom c Where Exists(Select 1 From"
                      " [NewUser]AMAssetType t Where t.lngAMAssetTypeID = c.lngFixedTypeID)"
                      " And Not Exists(Select 1 From [NewUser]AMAssetTypeCustom n"
                      " Where n.lngAMAssetTypeCustomID = c.lngFixedCustomID)",
                      errorText);
    for (const char* table : {"AMAssetType", "AMAssetTypeEx"})
        for (const char* column :
             {"intCodeSerialNoDec", "intCardSerialNoDec", "intLabelSerialNoDec"})
            copied = copied && ExecuteSql(std::string(" Update [NewUser]") + table + " Set " +
                                              column + " = 1 Where " + column + " = 0",
                                          errorText);
    return copied || UpgradeSteps::Failed("升级固定资产类别出错！", "ErpUpdateAMAsset:", errorText,
                                          strErrMsg);
}

// The module's card-number rules of each organisation and category become
// the category's card rule and its serial counter (type 2). A rule counting
// over the whole set ([流水号]) or the organisation ([机构流水号]) gave its
// numbers to other categories too: its counter starts past the largest
// number the same rule gave in that scope, so no new card takes an old number.
bool FixedModuleBaseData::CopyCardSerials(std::string& strErrMsg) {
    update_.ReportProgress("升级固资基础数据, AMAssetTypeNo...");
    RecordsetPtr rs = OpenRecordset(
        "Select r.*, (Select Max(x.lngMaxNo) From [OldUser]ReceiptNoRule x"
        " Where x.lngReceiptTypeID = 170 And x.bytNoIndex = 1 And x.strNoRule = r.strNoRule"
        " And (x.lngOrganizationID = r.lngOrganizationID Or Instr(r.strNoRule, '[流水号]') > 0))"
        " As lngSharedMaxNo From [OldUser]ReceiptNoRule r Where r.lngReceiptTypeID = 170"
        " And r.bytNoIndex = 1 And r.lngOrganizationID > 0 And Exists(Select 1 From"
        " [NewUser]AMAssetType t Where t.lngAMAssetTypeID = r.lngFixedTypeID)",
        3, 1);
    std::string errorText;
    bool copied = true;
    for (; copied && !rs->eof(); rs->moveNext()) {
        std::string organization = rs->field("lngOrganizationID").toText(),
                    category = rs->field("lngFixedTypeID").toText(),
                    maxNo = rs->field("lngSharedMaxNo").toText();
        std::string key = " Where lngOrganizationID = " + organization +
                          " And lngAMAssetTypeID = " + category + " And bytSerialNoType = 2";
        std::string rule = ReplaceAll(
            ReplaceAll(rs->field("strNoRule").toText(), "[流水号]", "[机构+资产类别流水号]"),
            "[机构流水号]", "[机构+资产类别流水号]");
        copied = ExecuteSql(" Delete From [NewUser]AMAssetTypeNo" + key, errorText) &&
                 ExecuteSql(
                     " Insert Into [NewUser]AMAssetTypeNo (lngOrganizationID,"
                     " lngAMAssetTypeID, lngMaxSerialNo, bytSerialNoType) Values (" +
                         organization + ", " + category + ", " + maxNo + ", 2)",
                     errorText) &&
                 ExecuteSql(" Update [NewUser]AMAssetType Set intCardSerialNoDec = " +
                                rs->field("intDigit").toText() + ", strCardRule = '" +
                                QuoteSql(rule) + "' Where lngAMAssetTypeID = " + category,
                            errorText);
    }
    CloseRecordset(rs);
    return copied || UpgradeSteps::Failed("升级资产类别流水号出错！",
                                          "UpdateAMAssetTypeNo:", errorText, strErrMsg);
}

}  // namespace tk::am
