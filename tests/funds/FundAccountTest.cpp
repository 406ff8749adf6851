// The accounts of a category and funding source: each kind from the nearest
// category up the code tree that sets it, else from the module's settings.
#include <gtest/gtest.h>

#include <array>

#include "FundsDatabase.hpp"
#include "funds/clsAMAssetFundAccount.hpp"

namespace tk::am {
namespace {

// Categories of the demo set: 01 房屋及建筑物 > 01-01 房屋 > 01-01-01 办公用房.
constexpr int32_t kRoot = 1, kParent = 2, kOffice = 3;
constexpr int32_t kGrant = 2, kOrganization = 1;

// Accounts of the demo set.
constexpr int32_t kFixedAssets = 3, kDepreciation = 4, kImpairment = 5, kInProgress = 6,
                  kClearing = 7, kPayable = 8, kLoans = 9, kCapital = 10, kReserve = 11,
                  kMissing = 999;

class FundAccounts : public FundsDatabase {
  protected:
    // Asset, Depreciation, Dec, Out, Pay, FixUp, Special, AddTo; 0 = not set.
    using Accounts = std::array<int32_t, 8>;

    static void setting(int32_t type, int32_t fund, const Accounts& a) {
        std::string values;
        for (int32_t id : a) values += "," + std::to_string(id);
        exec(
            "Insert Into [User]AMAssetFundAccSetting2(lngAMAssetFundAccSetting2ID,lngAMAssetTypeID,"
            "lngAMFundID,lngOrganizationID,lngAssetAccountID,lngDepreciationAccountID,"
            "lngDecAccountID,"
            "lngOutAccountID,lngPayAccountID,lngFixUpAccountID,lngSpecialAccountID,"
            "lngAddToAccountID)"
            " Values(" +
            std::to_string(GetNewID("AMAssetFundAccSetting2")) + "," + std::to_string(type) + "," +
            std::to_string(fund) + "," + std::to_string(kOrganization) + values + ")");
    }
    static void categoryAccounts(int32_t type, int32_t asset, int32_t depreciation, int32_t dec) {
        exec("Update [User]AMAssetType Set lngAssetAccountID = " + std::to_string(asset) +
             ", lngDepreciationAccountID = " + std::to_string(depreciation) +
             ", lngDecAccountID = " + std::to_string(dec) +
             " Where lngAMAssetTypeID = " + std::to_string(type));
    }
    static clsAMAssetFundAccount resolve(int32_t type, int32_t fund) {
        clsAMAssetFundAccount accounts;
        accounts.LoadID(type, fund, kOrganization);
        return accounts;
    }
};

TEST_F(FundAccounts, WithoutSettingsTheCategoryGivesItsThreeAndTheRestStayOpen) {
    clsAMAssetFundAccount accounts = resolve(kOffice, kGrant);
    EXPECT_EQ(accounts.lngAssetAccountID, kFixedAssets);
    EXPECT_EQ(accounts.strAssetAccount, "1601 固定资产");
    EXPECT_EQ(accounts.lngDepreciationAccountID, kDepreciation);
    EXPECT_EQ(accounts.strDecAccount, "1603 固定资产减值准备");
    EXPECT_EQ(accounts.lngOutAccountID, 0);
    EXPECT_EQ(accounts.strOutAccount, "");
    EXPECT_EQ(accounts.lngAddToAccountID, 0);
    EXPECT_EQ(accounts.strAddToAccount, "");
}

TEST_F(FundAccounts, EachKindComesFromTheNearestPlaceThatSetsIt) {
    categoryAccounts(kOffice, 0, 0, 0);
    categoryAccounts(kParent, 0, 0, kImpairment);
    categoryAccounts(kRoot, kFixedAssets, kDepreciation, kImpairment);
    setting(kOffice, kGrant, {0, 0, 0, 0, 0, 0, kLoans, 0});
    setting(kParent, kGrant, {0, kCapital, 0, 0, kPayable, 0, 0, 0});
    setting(kRoot, kGrant, {kReserve, 0, 0, kInProgress, kClearing, 0, 0, 0});
    setting(kParent, kGrant + 1, {0, 0, 0, 0, 0, kClearing, 0, 0});  // another source

    clsAMAssetFundAccount accounts = resolve(kOffice, kGrant);
    EXPECT_EQ(accounts.lngSpecialAccountID, kLoans);         // own setting
    EXPECT_EQ(accounts.lngDepreciationAccountID, kCapital);  // parent's setting
    EXPECT_EQ(accounts.strDepreciationAccount, "4001 实收资本");
    EXPECT_EQ(accounts.lngPayAccountID, kPayable);     // parent before root
    EXPECT_EQ(accounts.lngDecAccountID, kImpairment);  // parent's own account
    EXPECT_EQ(accounts.lngAssetAccountID, kReserve);   // root's setting before its account
    EXPECT_EQ(accounts.strAssetAccount, "4002 资本公积");
    EXPECT_EQ(accounts.lngOutAccountID, kInProgress);  // grandparent, parent has none
    EXPECT_EQ(accounts.strOutAccount, "1604 在建工程");
    EXPECT_EQ(accounts.lngFixUpAccountID, 0);
    EXPECT_EQ(accounts.strFixUpAccount, "");
}

TEST_F(FundAccounts, AnIdFoundEarlyStaysEvenWithoutItsAccountRow) {
    for (int32_t type : {kOffice, kParent, kRoot}) categoryAccounts(type, 0, 0, 0);
    setting(kOffice, kGrant, {kMissing, 0, 0, 0, 0, 0, 0, 0});
    setting(kRoot, kGrant, {kFixedAssets, 0, 0, 0, 0, 0, 0, 0});
    exec("Delete From [User]Setting Where strKey = '累计折旧科目'");

    clsAMAssetFundAccount accounts = resolve(kOffice, kGrant);
    EXPECT_EQ(accounts.lngAssetAccountID, kMissing);
    EXPECT_EQ(accounts.strAssetAccount, " ");         // code and name both missing around the blank
    EXPECT_EQ(accounts.lngDepreciationAccountID, 0);  // no module setting either
    EXPECT_EQ(accounts.strDepreciationAccount, "");
    EXPECT_EQ(accounts.lngDecAccountID, kImpairment);  // module setting
    EXPECT_EQ(accounts.strDecAccount, "1603 固定资产减值准备");
}

TEST_F(FundAccounts, TopLevelCodesGoStraightToTheModule) {
    constexpr int32_t kLand = 26;  // code "06": no ancestors
    categoryAccounts(kLand, 0, kDepreciation, 0);
    setting(kRoot, kGrant, {kReserve, 0, 0, kInProgress, 0, 0, 0, 0});

    clsAMAssetFundAccount accounts = resolve(kLand, kGrant);
    EXPECT_EQ(accounts.lngAssetAccountID, kFixedAssets);
    EXPECT_EQ(accounts.strAssetAccount, "1601 固定资产");
    EXPECT_EQ(accounts.strDepreciationAccount, "1602 累计折旧");
    EXPECT_EQ(accounts.lngOutAccountID, 0);
}

}  // namespace
}  // namespace tk::am
