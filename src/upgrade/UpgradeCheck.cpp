#include "upgrade/UpgradeCheck.hpp"

#include "frame/PublicDef.hpp"
#include "frame/Utility.hpp"

namespace tk::am {

bool UpgradeCheck::CheckAMVersion(std::string& strErrMsg) {
    return Run({{"固定资产科目检查",
                 std::string("Select 1") + kCrLf + "  From [OldUser]AMAssetAlter a" + kCrLf +
                     " Where a.bytStatus <> 2" + kCrLf + "   And Rownum = 1",
                 "存在未审批的固定资产。"}},
               strErrMsg);
}

bool UpgradeCheck::CheckFixedModule(std::string& strErrMsg) {
    WriteLog("固定资产数据完整性检查错误报告", "check", 1);
    strErrMsg = "暂不支持检查旧固定资产模块(Fixed…表)的数据。";
    return false;
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
