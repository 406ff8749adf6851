// The check queries of both routes, each with its title and message, and the run that logs the
// faults it finds and reports them.
#include "upgrade/UpgradeCheck.hpp"

#include "frame/DataAccess.hpp"
#include "frame/Log.hpp"
#include "frame/PublicDef.hpp"

namespace tk::am {

bool UpgradeCheck::CheckAMVersion(std::string& strErrMsg) {
    return Run({{"固定资产科目检查",
                 std::string("Select 1") + kCrLf + "  From [OldUser]AMAssetAlter a" + kCrLf +
                     " Where a.bytStatus <> 2" + kCrLf + "   And Rownum = 1",
                 "存在未审批的固定资产。"}},
               strErrMsg);
}

namespace {

// One row of the query is enough to report the item.
std::string FirstRow(const std::string& select) {
    return "Select 1 From (" + select + ") x" + kCrLf + " Where Rownum = 1";
}

// An account of `column` in `table` that has accounts below it.
UpgradeCheck::Item NotALeaf(const std::string& title, const std::string& table,
                            const std::string& column, const std::string& message) {
    std::string alias = table == "FixedCard" ? "fc" : "fa";
    return {title,
            "Select " + alias + "." + column + kCrLf + "  From [OldUser]" + table + " " + alias +
                ", [OldUser]Account a" + kCrLf + " Where " + alias + "." + column +
                " = a.lngAccountID" + kCrLf + "   And a.blnIsDetail = 0" + kCrLf +
                "   And Rownum = 1",
            message};
}

std::vector<UpgradeCheck::Item> FixedModuleItems() {
    return {
        NotALeaf("固定资产科目检查", "FixedCard", "lngFixedAccountID",
                 "存在非末级的固定资产科目。"),
        NotALeaf("累计折旧科目检查", "FixedCard", "lngDeprectionAccountID",
                 "存在非末级的累计折旧科目。"),
        NotALeaf("减值准备科目检查", "FixedCard", "lngFixedDecAccountID",
                 "存在非末级的减值准备科目。"),
        NotALeaf("固定基金科目检查", "FixedCard", "lngFixUpAccountID",
                 "存在非末级的固定基金科目。"),
        NotALeaf("专用基金科目检查", "FixedCard", "lngSpecialAccountID",
                 "存在非末级的专用基金科目。"),
        NotALeaf("折旧费用科目检查", "FixedAccount", "lngAccountID", "存在非末级的折旧费用科目。"),
        {"对应科目检查",
         FirstRow(
             "Select fm.lngFixedMethodID From [OldUser]FixedMethod fm Where fm.lngAccountID = 0"
             " Union All Select fm.lngFixedMethodID From [OldUser]FixedMethodEx fm"
             " Where fm.lngAccountID = 0"),
         "变动方式对应科目检查"},
        {"费用部门检查",
         FirstRow(
             "Select fa.lngFixedAlterID From [OldUser]FixedAlter fa Where Not Exists(Select 1"
             " From [OldUser]FixedDepartment fd Where fd.lngFixedAlterID = fa.lngFixedAlterID)"),
         "费用部门数据存在异常(有变动记录已在FixedDepartment表中丢失)"
         "，会导致折旧费用不能按部门分摊。"},
        {"部门检查",
         FirstRow("Select fd.lngDepartmentID From [OldUser]FixedDepartment fd"
                  " Where fd.lngDepartmentID > 0 And Not Exists(Select 1 From [OldUser]Department d"
                  " Where d.lngDepartmentID = fd.lngDepartmentID)"),
         "费用部门数据存在异常(有费用部门记录已在Department表中丢失)"
         "，会导致折旧费用按部门分摊失败。"},
        {"费用科目检查",
         FirstRow("Select fa.lngFixedAlterID From [OldUser]FixedAlter fa Where Not Exists(Select 1"
                  " From [OldUser]FixedAccount f Where f.lngFixedAlterID = fa.lngFixedAlterID)"),
         "费用科目数据存在异常(有变动记录已在FixedAccount表中丢失)"
         "，会导致折旧费用不能按科目分摊。"},
        {"科目检查",
         FirstRow("Select f.lngAccountID From [OldUser]FixedAccount f Where Not Exists(Select 1"
                  " From [OldUser]Account a Where a.lngAccountID = f.lngAccountID)"),
         "费用科目数据存在异常(有费用科目记录已在Account表中丢失)，会导致折旧费用凭证分摊失败。"},
        {"费用部门分摊比例检查",
         FirstRow("Select fd.lngFixedAlterID From [OldUser]FixedDepartment fd"
                  " Group By fd.lngFixedAlterID Having Abs(Sum(fd.dblRate) - 100) > 0.0001"),
         "存在分摊比例不为100%的费用部门，会导致部门分摊不平衡。"},
        {"费用科目分摊比例检查",
         FirstRow("Select f.lngFixedAlterID From [OldUser]FixedAccount f"
                  " Group By f.lngFixedAlterID, f.blnDepreincrease"
                  " Having Abs(Sum(f.dblRate) - 100) > 0.0001"),
         "存在分摊比例不为100%的费用科目，会导致科目分摊不平衡。"},
        {"折旧凭证检查",
         FirstRow(
             "Select fa.lngVoucherID From [OldUser]FixedAlter fa Where fa.lngVoucherID > 0"
             " And fa.dblPeriodDepreciation <> 0 Group By fa.lngVoucherID"
             " Having Sum(fa.dblPeriodDepreciation) <> Nvl((Select Sum(d.dblAmount)"
             " From [OldUser]FixedVoucherDetail d Where d.lngVoucherID = fa.lngVoucherID), 0)"),
         "折旧凭证金额和折旧金额不平，导致固定资产账实不符。"},
        {"折旧凭证检查",
         FirstRow(
             "Select fa.lngVoucherID From [OldUser]FixedAlter fa Where fa.lngVoucherID > 0"
             " And fa.dblPeriodDepreciation <> 0 And Not Exists(Select 1 From [OldUser]Voucher v"
             " Where v.lngVoucherID = fa.lngVoucherID)"),
         "折旧凭证已经丢失，导致固定资产账实不符。"},
        {"折旧检查",
         FirstRow(
             "Select fa.lngFixedAlterID From [OldUser]FixedAlter fa"
             " Where Round(fa.dblAmount - fa.dblDeprection - fa.dblFixedDecAlterBalance, 2) < 0"),
         "固定资产折旧存在多提导致净额为负。"}};
}

}  // namespace

bool UpgradeCheck::CheckFixedModule(std::string& strErrMsg) {
    return Run(FixedModuleItems(), strErrMsg);
}

bool UpgradeCheck::Run(const std::vector<Item>& items, std::string& strErrMsg) {
    WriteLog("固定资产数据完整性检查错误报告", "check", 1);
    std::vector<std::string> messages;
    for (const Item& item : items) {
        RecordsetPtr rs = OpenRecordset(item.sql, 3, 1);
        bool found = !IsRecordsetEmpty(rs);
        CloseRecordset(rs);
        if (!found) continue;
        WriteLog(item.title + kCrLf + ReplaceSchema(item.sql), "check");
        messages.push_back(item.message);
    }
    strErrMsg.clear();
    if (!messages.empty()) strErrMsg = std::string(kCrLf) + "固定资产数据检查错误报告：";
    for (const std::string& message : messages) strErrMsg += kCrLf + message;
    return strErrMsg.empty();
}

}  // namespace tk::am
