// Reads and writes of the Setting table, and the multiple-funding-source test.
#include "frame/Settings.hpp"

#include "connect/Connection.hpp"
#include "frame/Context.hpp"
#include "frame/DataAccess.hpp"

namespace tk::am {
namespace {

constexpr int32_t kAssetModule = 11;

std::string SettingFilter(const std::string& section, const std::string& key, int32_t moduleID) {
    return " WHERE strSection='" + section + "' AND strKey='" + key +
           "' AND lngModuleId=" + std::to_string(moduleID);
}

}  // namespace

Variant ReadSetting(const std::string& key, const std::optional<std::string>& section,
                    const std::optional<Variant>& defaultValue,
                    const std::optional<int32_t>& moduleID,
                    const std::optional<int32_t>& organizationID) {
    std::string sql = "SELECT * FROM [User]Setting WHERE strKey='" + key + "'";
    if (section) sql += " AND strSection='" + *section + "'";
    if (moduleID) sql += " AND lngModuleID=" + std::to_string(*moduleID);
    if (organizationID.value_or(0) > 0)
        sql += " AND lngOrganizationID=" + std::to_string(*organizationID);
    RecordsetPtr rs = OpenRecordset(sql, connect::adOpenForwardOnly, connect::adLockReadOnly);
    Variant value = defaultValue.value_or(Variant(""));
    if (!IsRecordsetEmpty(rs)) value = rs->field("strSetting");
    connection().CloseRs(rs);
    return value;
}

void WriteSetting(const std::string& section, const std::string& key, const std::string& value,
                  const std::string& typeName, int32_t moduleID,
                  const std::optional<int32_t>& organizationID) {
    int32_t organization = organizationID.value_or(0);
    try {
        std::string sql = "SELECT * FROM [User]Setting" + SettingFilter(section, key, moduleID);
        if (organization > 0) sql += " AND lngOrganizationID=" + std::to_string(organization);
        RecordsetPtr rs = OpenRecordset(sql, connect::adOpenDynamic, connect::adLockOptimistic);
        if (IsRecordsetEmpty(rs)) {
            rs->addNew();
            rs->setField("lngModuleID", moduleID);
            rs->setField("strSection", section);
            rs->setField("strKey", key);
            rs->setField("lngOrganizationID", organization);
        }
        rs->setField("strSetting", value);
        rs->setField("StrTypeName", typeName);
        rs->update();
        connection().CloseRs(rs);
        // A negative organisation stands for all of them.
        if (organization < 0) {
            int32_t count = 0;
            bool ok = false;
            connection().ExecSql(
                ReplaceSchema("Update [User]Setting set strSetting ='" + value + "',StrTypeName='" +
                              typeName + "'" + SettingFilter(section, key, moduleID)),
                1, count, ok);
        }
    } catch (...) {
        // Reports nothing: the upgrade writes its settings on a best-effort basis.
    }
}

bool IsMultiFundEnabled(int32_t organizationID) {
    RecordsetPtr rs = OpenRecordset("SELECT strAccountSystem FROM [User]Business",
                                    connect::adOpenForwardOnly, connect::adLockReadOnly);
    bool multiFund = rs->field("strAccountSystem").toText() == "14";
    // The statement names only the account system; the trade is tested when a
    // recordset carries it.
    if (rs->hasField("lngTradeID"))
        multiFund = multiFund || rs->field("lngTradeID").toInt32() == 57;
    CloseRecordset(rs);
    if (multiFund) return true;
    return ReadSetting("启用多资金来源", "资产管理", Variant(false), kAssetModule, organizationID)
        .toBool();
}

}  // namespace tk::am
