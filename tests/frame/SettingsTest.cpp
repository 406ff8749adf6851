// The Setting table: reading by organisation, section and module, writing
// for one or every organisation, multiple funding sources, the settings object.
#include <gtest/gtest.h>

#include "TestDatabase.hpp"
#include "frame/Context.hpp"
#include "frame/Settings.hpp"
#include "frame/clsAMAssetSetting.hpp"

namespace tk::am {
namespace {

constexpr int32_t kAssetModule = 11;

class SettingTable : public ::testing::Test {
  protected:
    test::TestSchema schema{"setting"};

    void SetUp() override {
        context() = Context{};
        context().User = schema.name();
        context().ConnBase = schema.connect();
        schema.admin(
            "CREATE TABLE Setting (lngModuleID integer NOT NULL DEFAULT 0, lngOrganizationID "
            "integer NOT NULL DEFAULT 0, strSection varchar(100), strKey varchar(100), strSetting "
            "varchar(2000), StrTypeName varchar(50))");
    }
    void TearDown() override { context() = Context{}; }

    void put(int32_t organization, const std::string& key, const std::string& value,
             const std::string& section = "固定资产", int32_t module = kAssetModule) {
        insert(module, organization, section, key, "'" + value + "'");
    }
    void putNull(int32_t organization, const std::string& key) {
        insert(kAssetModule, organization, "固定资产", key, "NULL");
    }
    std::string stored(const std::string& where, const std::string& column = "strSetting") {
        auto rs = context().ConnBase->GetRecordset(
            "SELECT " + column + " FROM Setting WHERE " + where, 3, 1);
        return rs->eof() ? "<none>" : rs->field(0).toText();
    }

  private:
    void insert(int32_t module, int32_t organization, const std::string& section,
                const std::string& key, const std::string& literal) {
        schema.admin("INSERT INTO Setting VALUES (" + std::to_string(module) + ", " +
                     std::to_string(organization) + ", '" + section + "', '" + key + "', " +
                     literal + ", 'String')");
    }
};

// Reading

TEST_F(SettingTable, ReadsTheOrganisationsRowOrAnyRowWithoutOrganisationAsStored) {
    put(1, "折旧类型", "3");
    put(2, "折旧类型", "4");
    EXPECT_EQ(ReadSetting("折旧类型", std::string("固定资产"), {}, kAssetModule, 2).toText(), "4");
    schema.admin("DELETE FROM Setting WHERE lngOrganizationID = 1");
    EXPECT_EQ(ReadSetting("折旧类型", std::string("固定资产"), {}, kAssetModule, 0).toText(), "4");
    putNull(1, "统计");
    EXPECT_TRUE(
        ReadSetting("统计", std::string("固定资产"), Variant("0"), kAssetModule, 1).isNull());
}

TEST_F(SettingTable, SectionAndModuleNarrowTheSearch) {
    put(1, "折旧类型", "9", "其他", kAssetModule);
    put(1, "折旧类型", "8", "固定资产", 3);
    EXPECT_EQ(
        ReadSetting("折旧类型", std::string("固定资产"), Variant("d"), kAssetModule, 1).toText(),
        "d");
    EXPECT_EQ(ReadSetting("折旧类型", std::string("其他")).toText(), "9");
    Variant none = ReadSetting("无此项");
    EXPECT_EQ(none.type(), Variant::Type::Text);
    EXPECT_EQ(none.toText(), "");
}

// Writing

TEST_F(SettingTable, WriteAddsAMissingRowWithItsScope) {
    put(2, "启用多资金来源", "0", "资产管理");
    WriteSetting("资产管理", "启用多资金来源", "1", "Boolean", kAssetModule, 4);
    EXPECT_EQ(stored("lngOrganizationID = 4 AND lngModuleID = 11 AND strSection = '资产管理' AND "
                     "strKey = '启用多资金来源' AND StrTypeName = 'Boolean'"),
              "1");
    EXPECT_EQ(stored("lngOrganizationID = 2"), "0");
}

TEST_F(SettingTable, WriteForOrganisationMinusOneUpdatesEveryOrganisation) {
    put(1, "年折旧率", "5");
    put(2, "年折旧率", "5");
    put(2, "预计净残值率", "5");
    WriteSetting("固定资产", "年折旧率", "7", "Double", kAssetModule, -1);
    EXPECT_EQ(stored("lngOrganizationID = 1 AND strKey = '年折旧率'"), "7");
    EXPECT_EQ(stored("lngOrganizationID = 2 AND strKey = '年折旧率'"), "7");
    EXPECT_EQ(stored("strKey = '预计净残值率'"), "5");
    EXPECT_EQ(stored("true", "count(*)"), "3");
}

TEST_F(SettingTable, WriteForAllWithoutRowsCreatesOneUnderTheNegativeId) {
    WriteSetting("固定资产", "年折旧率", "7", "Double", kAssetModule, -1);
    EXPECT_EQ(stored("lngOrganizationID = -1"), "7");
    EXPECT_EQ(stored("true", "count(*)"), "1");
    schema.admin("DROP TABLE Setting");
    EXPECT_NO_THROW(WriteSetting("固定资产", "年折旧率", "7", "Double", kAssetModule, 1));
}

// Multiple funding sources

class MultiFund : public SettingTable {
  protected:
    void business(const std::string& accountSystem) {
        schema.admin(
            "CREATE TABLE Business (strAccountSystem varchar(10), lngTradeID integer);"
            "INSERT INTO Business VALUES ('" +
            accountSystem + "', 0)");
    }
    void enable(const std::string& value) { put(1, "启用多资金来源", value, "资产管理"); }
};

TEST_F(MultiFund, AccountSystem14IsAlwaysMultiFund) {
    business("14");
    enable("0");
    EXPECT_TRUE(IsMultiFundEnabled(1));
}

TEST_F(MultiFund, OtherwiseTheSettingDecides) {
    business("13");
    EXPECT_FALSE(IsMultiFundEnabled(1));
    enable("True");
    EXPECT_TRUE(IsMultiFundEnabled(1));
    EXPECT_FALSE(IsMultiFundEnabled(2));
    schema.admin("UPDATE Setting SET strSetting = '-1'");
    EXPECT_TRUE(IsMultiFundEnabled(1));
}

TEST_F(MultiFund, EmptyBusinessTableIsAnError) {
    schema.admin("CREATE TABLE Business (strAccountSystem varchar(10), lngTradeID integer)");
    EXPECT_THROW(IsMultiFundEnabled(1), RunTimeError);
}

// The settings object

class AssetSetting : public SettingTable {
  protected:
    clsAMAssetSetting setting;
};

TEST_F(AssetSetting, AnOrganisationWithoutRowsGetsTheDefaults) {
    put(2, "固定资产科目", "9");
    setting.LoadID(1);
    EXPECT_EQ(setting.lngAssetAccountID, 0);
    EXPECT_EQ(setting.bytDepreciationtype, 1);
    EXPECT_EQ(setting.bytDepreciationMethod, 2);
    EXPECT_EQ(setting.dblUsage, 0);
    EXPECT_EQ(setting.strCodBarTemplateID, "");
    EXPECT_EQ(setting.blnDepartmentMust, 0);
    EXPECT_FALSE(setting.blnStartAMAssetLabel);
}

TEST_F(AssetSetting, ANullValueStopsTheLoadAtItsKey) {
    put(1, "固定资产科目", "5");
    putNull(1, "累计折旧科目");
    put(1, "折旧类型", "3");
    setting.lngDepreciationAccountID = 77;
    setting.bytDepreciationtype = 9;
    setting.strAssetAccount = "旧";
    setting.LoadID(1);
    EXPECT_EQ(setting.lngAssetAccountID, 5);
    EXPECT_EQ(setting.lngDepreciationAccountID, 77);
    EXPECT_EQ(setting.bytDepreciationtype, 9);
    EXPECT_EQ(setting.strAssetAccount, "旧");
}

TEST_F(AssetSetting, DisplayTextsAreLookedUpForPositiveIds) {
    schema.admin(
        "CREATE TABLE Account (lngAccountID int, strAccountCode text, strAccountName text);"
        "INSERT INTO Account VALUES (5, '1601', '固定资产'), (6, '1602', '累计折旧');"
        "CREATE TABLE Template (lngTemplateID int, strTemplateName text);"
        "INSERT INTO Template VALUES (3, '卡片模板');"
        "CREATE TABLE AMAssetMethod (lngAMAssetMethodID int, strAMAssetMethodCode text, "
        "strAMAssetMethodName text);"
        "CREATE TABLE AMAssetMethodEx AS SELECT *, 1 AS lngOrganizationID FROM AMAssetMethod;"
        "INSERT INTO AMAssetMethod VALUES (8, '01', '购入');"
        "INSERT INTO AMAssetMethodEx VALUES (8, '01', '自建', 1)");
    put(1, "固定资产科目", "5");
    put(1, "累计折旧科目", "6");
    put(1, "固资查阅模板", "3");
    put(1, "固资增加方式", "8");
    setting.strDecAccount = "保留";
    setting.LoadID(1);
    EXPECT_EQ(setting.strAssetAccount, "1601 固定资产");
    EXPECT_EQ(setting.strDepreciationAccount, "1602 累计折旧");
    EXPECT_EQ(setting.strCardTemplate, "卡片模板");
    EXPECT_EQ(setting.strAddMethod, "01 自建");
    EXPECT_EQ(setting.strDecAccount, "保留");
}

}  // namespace
}  // namespace tk::am
