// Asset categories: loading with display texts, defaults from the
// organisation's settings or built in, an organisation's own version, saving.
#include <gtest/gtest.h>

#include "RegisterTest.hpp"
#include "register/clsAMAssetType.hpp"

namespace tk::am::test {
namespace {

constexpr int32_t kLathe = 10;  // 02-01-01 机床: method 2, type 1, 120 months
constexpr int32_t kLand = 26;   // 06 土地: method 1, type 2

class AssetTypeTest : public RegisterTest {
  protected:
    // Clears the category's own defaults so that the settings apply.
    static void clearDefaults(int32_t category) {
        run("Update [User]AMAssetType Set bytDepreciationType = 0, bytDepreciationMethod = 0, "
            "dblUseage = 0, dblNetworthRate = 0, dblDeprRate = 0, lngDepreciationAccountID = 0, "
            "lngDecAccountID = 0 Where lngAMAssetTypeID = " +
            std::to_string(category));
    }
};

TEST_F(AssetTypeTest, LoadReadsColumnsAndJoinedDisplayTexts) {
    clsAMAssetType type;
    type.strDecAccount = "kept";
    type.LoadID(kLathe, 1);
    EXPECT_EQ(type.lngAMAssetTypeID, kLathe);
    EXPECT_EQ(type.strAMAssetTypeCode, "02-01-01");
    EXPECT_EQ(type.strAMAssetTypeName, "机床");
    EXPECT_EQ(type.bytDepreciationMethod, 2);
    EXPECT_DOUBLE_EQ(type.dblUseage, 120);
    EXPECT_EQ(type.intCardSerialNoDec, 4);
    EXPECT_EQ(type.lngOrganizationID, 1);
    EXPECT_EQ(type.strAssetAccount, "1601 固定资产");
    EXPECT_EQ(type.strDepreciationAccount, "1602 累计折旧");
    EXPECT_EQ(type.lngDecAccountID, 5);
    EXPECT_EQ(type.strDecAccount, "kept") << "no joined text for its own impairment account";
    EXPECT_EQ(type.lngClassID1, 1) << "the category has none: the setting's";
    EXPECT_EQ(type.strClass1, "01 经营用");
    EXPECT_EQ(type.strClass2, "01 日常经营");
}

TEST_F(AssetTypeTest, EmptyValuesComeFromTheOrganisationsSettings) {
    clearDefaults(kLathe);
    run("Update [User]Setting Set strSetting = '36' Where strKey = '预计使用期间' And "
        "lngOrganizationID = 2");
    clsAMAssetType type;
    type.LoadID(kLathe, 2);
    EXPECT_EQ(type.bytDepreciationtype, 1);
    EXPECT_EQ(type.bytDepreciationMethod, 2);
    EXPECT_DOUBLE_EQ(type.dblUseage, 36);
    EXPECT_DOUBLE_EQ(type.dblNetworthRate, 5);
    EXPECT_DOUBLE_EQ(type.dblDeprRate, 19);
    EXPECT_EQ(type.lngDepreciationAccountID, 4);
    EXPECT_EQ(type.strDepreciationAccount, "1602 累计折旧");
    EXPECT_EQ(type.lngDecAccountID, 5);
    EXPECT_EQ(type.strDecAccount, "1603 固定资产减值准备");
}

TEST_F(AssetTypeTest, AbsentSettingsGiveTheBuiltInDefaults) {
    clearDefaults(kLathe);
    run("Delete From [User]Setting");
    clsAMAssetType type;
    type.strClass1 = "old";
    type.LoadID(kLathe, 1);
    EXPECT_EQ(type.bytDepreciationtype, 0);
    EXPECT_EQ(type.bytDepreciationMethod, 1);
    EXPECT_DOUBLE_EQ(type.dblUseage, 0) << "method 1 has no service life";
    EXPECT_DOUBLE_EQ(type.dblDeprRate, 0);
    EXPECT_EQ(type.lngDepreciationAccountID, 0);
    EXPECT_EQ(type.strDepreciationAccount, "");
    EXPECT_EQ(type.lngClassID1, 0);
    EXPECT_EQ(type.strClass1, "");
}

TEST_F(AssetTypeTest, NoServiceLifeWithoutDepreciation) {
    run("Update [User]AMAssetType Set dblUseage = 99 Where lngAMAssetTypeID = " +
        std::to_string(kLand));
    run("Update [User]AMAssetType Set bytDepreciationType = 2 Where lngAMAssetTypeID = " +
        std::to_string(kLathe));
    clsAMAssetType type;
    type.LoadID(kLand, 1);
    EXPECT_DOUBLE_EQ(type.dblUseage, 0);
    type.LoadID(kLathe, 1);
    EXPECT_EQ(type.bytDepreciationMethod, 2);
    EXPECT_DOUBLE_EQ(type.dblUseage, 0);
}

TEST_F(AssetTypeTest, AnOrganisationSeesItsOwnVersion) {
    run("Insert Into [User]AMAssetTypeEx Select t.*, 2 From [User]AMAssetType t Where "
        "lngAMAssetTypeID = " +
        std::to_string(kLathe));
    run("Update [User]AMAssetTypeEx Set strAMAssetTypeName = '分公司机床'");
    clsAMAssetType type;
    type.LoadID(kLathe, 2);
    EXPECT_EQ(type.strAMAssetTypeName, "分公司机床");
    EXPECT_EQ(type.lngOrganizationID, 2);
    type.LoadID(kLathe, 1);
    EXPECT_EQ(type.strAMAssetTypeName, "机床");
}

TEST_F(AssetTypeTest, AMissingCategoryOrAFailedSaveLeavesThePropertiesButTheNewId) {
    clsAMAssetType type;
    type.strAMAssetTypeName = "未动";
    type.LoadID(999, 1);
    EXPECT_EQ(type.lngAMAssetTypeID, 999);
    EXPECT_EQ(type.strAMAssetTypeName, "未动");

    clsAMAssetType taken;
    taken.strAMAssetTypeCode = "01";
    EXPECT_EQ(taken.SaveCard(), 0);
    EXPECT_EQ(taken.lngAMAssetTypeID, 27);
}

TEST_F(AssetTypeTest, SaveInsertsFromTheSequenceThenUpdates) {
    clsAMAssetType type;
    type.strAMAssetTypeCode = "07";
    type.strAMAssetTypeName = "O'Reilly 专用";
    type.strFullName = "";
    type.bytCodeMethod = 2;
    type.strCodeRule = "[资产类别编码][流水号]";
    type.intCodeSerialNoDec = 3;
    type.dblNetworthRate = 4.5;
    type.strAssetAccount = "never saved";
    const int32_t id = type.SaveCard();
    ASSERT_EQ(id, 27) << "the demo's categories end at 26";
    const std::string row = "[User]AMAssetType Where lngAMAssetTypeID = 27";
    EXPECT_EQ(textOf("Select strAMAssetTypeName From " + row), "O'Reilly 专用");
    EXPECT_EQ(textOf("Select strFullName From " + row), " ");
    EXPECT_EQ(textOf("Select dblNetworthRate From " + row), "4.5");

    type.strAMAssetTypeName = "改名";
    type.intCodeSerialNoDec = 5;
    EXPECT_EQ(type.SaveCard(), 27);
    EXPECT_EQ(textOf("Select strAMAssetTypeName From " + row), "改名");
    EXPECT_EQ(numberOf("Select intCodeSerialNoDec From " + row), 5);
    EXPECT_EQ(countOf("[User]AMAssetType"), 27);
}

}  // namespace
}  // namespace tk::am::test
