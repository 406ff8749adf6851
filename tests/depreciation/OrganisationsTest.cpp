// Two organisations keep their books in one account set: whatever the engine,
// the posting or the apportionment does for one leaves every row of the
// other as it was.
#include "DepreciationFixture.hpp"
#include "OrganizationRows.hpp"
#include "depreciation/clsAMAssetAmortise.hpp"
#include "depreciation/clsAMAssetDaily.hpp"

namespace tk::am::test {
namespace {

class OrganisationsTest : public DepreciationTest {
  protected:
    static constexpr int32_t kOther = 2;

    // Organisation 2's own assets, with account lines, its first quarter
    // closed and apportioned, like organisation 1's below.
    void SetUp() override {
        AssetPlan van = AssetPlan::Of(2, 48000, 2400, 48);
        van.org = kOther;
        van.department = 7;
        van.fundCosts = {30000, 18000};
        AddLines(AddAsset(van), 16, 7);
        AssetPlan copier = AssetPlan::Of(5, 36000, 0, 36, 22);
        copier.org = kOther;
        copier.department = 6;
        AddAsset(copier);
        Close(2024, 1, 3, kOther);
        other_ = tk::test::RowsOfOrganization(accountSet.name(), kOther);
        ASSERT_GT(other_["amassetfundbalanceamortise"].size(), 0u);
    }

    void AddLines(int32_t asset, int32_t account, int32_t department) {
        Execute(
            "Insert Into AMAssetFundAccAlter(lngAMAssetFundAccAlterID, lngAMAssetFundAlterID,"
            " lngAccountID, lngDepartmentID, lngOrderNo, dblQuotiety, dblRate, blnDepreIncrease)"
            " Select AMAssetFundAccAlter_SEQ.NEXTVAL, lngAMAssetFundAlterID, " +
            std::to_string(account) + ", " + std::to_string(department) +
            ", 1, 1, 100, 0 From AMAssetFundAlter Where lngAMAssetID = " + std::to_string(asset));
    }
    // Periods closed as the host closes them, each apportioned.
    void Close(int32_t year, int16_t period, int count, int32_t org) {
        for (int16_t p = period; p < period + count; ++p) {
            RunPeriod(year, p, org);
            std::string message;
            EXPECT_TRUE(clsAMAssetAmortise().Execute(org, message));
        }
    }
    void ExpectOtherAsItWas(const std::string& after) {
        EXPECT_EQ(
            tk::test::ChangedRows(other_, tk::test::RowsOfOrganization(accountSet.name(), kOther)),
            "")
            << "organisation 2 changed by " << after;
    }

  private:
    tk::test::OrganizationRows other_;
};

TEST_F(OrganisationsTest, WhatRunsForOneOrganisationLeavesTheOthersRowsAsTheyWere) {
    AssetPlan lathe = AssetPlan::Of(2, 120000, 6000, 120);
    lathe.fundCosts = {72000, 48000};
    const int32_t asset = AddAsset(lathe);
    AddLines(asset, 13, 3);
    AssetPlan lorry = AssetPlan::Of(3, 80000, 0, 100000);
    const int32_t worked = AddAsset(lorry);
    ExpectOtherAsItWas("additions");
    Close(2024, 1, 2, kOrg);
    ExpectOtherAsItWas("closing and apportioning two periods");

    RecordWork(worked, 2024, 2, 1500);
    Alter(asset, {.period = 2, .impairmentChange = 3000});
    Alter(worked, {.period = 3, .alterType = 2});
    ExpectOtherAsItWas("work, an alteration and a disposal in the latest closed period");
    EXPECT_TRUE(depreciation.CaclDeprectionUpdate(0, 0, 0, kOrg));
    ExpectOtherAsItWas("the general recalculation");

    std::string message;
    EXPECT_TRUE(clsAMAssetDaily().Execute(kOrg, message)) << message;
    ExpectOtherAsItWas("the journal rebuilt");
    EXPECT_TRUE(clsAMAssetAmortise().Execute(kOrg, message));
    ExpectOtherAsItWas("the apportionment again");
    EXPECT_TRUE(depreciation.WriteBalance(2, 2024, 2, "", "", false, 0, 0, kOrg));
    ExpectOtherAsItWas("the latest period taken back");
    EXPECT_TRUE(depreciation.CaclDeprectionAdd(2, asset, kOrg));
    ExpectOtherAsItWas("an addition taken back");
}

}  // namespace
}  // namespace tk::am::test
