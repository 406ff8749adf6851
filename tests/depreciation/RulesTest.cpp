// The rules around a schedule: depreciation types at addition and disposal,
// changes in estimate, and the residual value floor.
#include <cmath>

#include "DepreciationFixture.hpp"

namespace tk::am::test {
namespace {

class RuleTest : public DepreciationTest {
  protected:
    // 办公设备 of organisation 1 follows the public-sector rule.
    void PublicSectorOfficeEquipment() { UsePublicSectorRule(); }
    int64_t TotalCents(int32_t asset) {
        int64_t total = 0;
        for (auto [period, charge] : Charges(asset)) total += Cents(charge);
        return total;
    }
};

// A straight-line asset of each rule added in March and decreased in August.
TEST_F(RuleTest, EachRuleHasItsFirstAndLastMonthCharged) {
    PublicSectorOfficeEquipment();
    std::vector<int32_t> assets;
    for (int32_t category : {10, 22}) {
        AssetPlan plan = AssetPlan::Of(2, 12000, 0, 12, category);
        plan.period = 3;
        assets.push_back(AddAsset(plan));
    }
    RunPeriods(2024, 1, 7);
    for (int32_t asset : assets) Alter(asset, {.period = 8, .alterType = 2});
    RunPeriods(2024, 8, 3);
    std::map<int32_t, double> enterprise = {{202403, 0},    {202404, 1000}, {202405, 1000},
                                            {202406, 1000}, {202407, 1000}, {202408, 1000}};
    EXPECT_EQ(Charges(assets[0]), enterprise)
        << "from the month after addition to the month of disposal, no rows once it is gone";
    std::map<int32_t, double> publicSector = {{202403, 1000}, {202404, 1000}, {202405, 1000},
                                              {202406, 1000}, {202407, 1000}, {202408, 0}};
    EXPECT_EQ(Charges(assets[1]), publicSector)
        << "from the month of addition, not that of disposal";
}

TEST_F(RuleTest, CostIncreaseRecomputesLaterMonthsOnTheCarryingAmountOverTheRemainingLife) {
    int32_t asset = AddAsset(AssetPlan::Of(2, 120000, 0, 60));
    RunPeriods(2024, 1, 5);
    auto before = Charges(asset);
    Alter(asset, {.period = 6, .costChange = 12000});
    RunPeriods(2024, 6, 60);
    auto after = Charges(asset);
    for (auto [period, charge] : before)
        EXPECT_EQ(after[period], charge) << "past period " << period;
    EXPECT_EQ(Cents(after[202406]), 200000)
        << "the month of the change still runs on the old figures";
    // From July: 132,000 - 10,000 already charged, over the 55 periods left.
    int64_t year = std::llround(122000.0 * 12 / 55 * 100);
    EXPECT_EQ(Cents(after[202407]), std::llround(year / 12.0));
    EXPECT_EQ(Cents(after[202408]), std::llround(year * 2 / 12.0) - std::llround(year / 12.0));
    EXPECT_EQ(TotalCents(asset), 13200000) << "the whole life ends at the new cost exactly";
}

// (60,000 - 11,000 - 5,000) / 55 from the next month, or under the
// public-sector rule from the impairment's own month.
TEST_F(RuleTest, ImpairmentLowersTheChargeFromTheMonthTheRuleSays) {
    PublicSectorOfficeEquipment();
    const int32_t enterprise = AddAsset(AssetPlan::Of(2, 60000, 0, 60));
    const int32_t publicSector = AddAsset(AssetPlan::Of(2, 60000, 0, 60, 22));
    RunPeriods(2024, 1, 5);
    for (int32_t asset : {enterprise, publicSector})
        Alter(asset, {.period = 6, .impairmentChange = 11000});
    RunPeriods(2024, 6, 3);
    auto charges = Charges(enterprise);
    EXPECT_EQ(charges[202406], 1000);
    EXPECT_EQ(charges[202407], 800);
    EXPECT_EQ(charges[202408], 800);
    EXPECT_EQ(Charges(publicSector)[202406], 800);
}

TEST_F(RuleTest, AnOpeningRecordContinuesFromItsUsageAndStopsAtTheResidualValue) {
    AssetPlan plan = AssetPlan::Of(2, 10000, 500, 60);
    plan.opening = true;
    plan.openingDepreciation = 9000;
    plan.startUsage = 58;
    int32_t asset = AddAsset(plan);
    RunPeriods(2024, 1, 4);
    std::map<int32_t, double> expected = {{202401, 250}, {202402, 250}, {202403, 0}, {202404, 0}};
    EXPECT_EQ(Charges(asset), expected) << "an opening record is depreciated in its own period";
    EXPECT_EQ(Scalar("Select dblInitDepreciation + dblDepreciation From AMAssetFundBalance"
                     " Where intYear = 2024 And bytPeriod = 4 And lngAMAssetID = " +
                     std::to_string(asset)),
              9500);
}

TEST_F(RuleTest, ImpairmentBelowTheResidualValueEndsTheDepreciation) {
    int32_t asset = AddAsset(AssetPlan::Of(2, 10000, 1000, 10));
    RunPeriods(2024, 1, 3);
    Alter(asset, {.period = 3, .impairmentChange = 7500});
    RunPeriods(2024, 4, 3);
    std::map<int32_t, double> expected = {{202401, 0}, {202402, 900}, {202403, 900},
                                          {202404, 0}, {202405, 0},   {202406, 0}};
    EXPECT_EQ(Charges(asset), expected);
}

TEST_F(RuleTest, ALifeShortenedBelowTheUsedPeriodsTakesTheRestAtOnce) {
    int32_t asset = AddAsset(AssetPlan::Of(2, 12000, 0, 24));
    RunPeriods(2024, 1, 6);
    Alter(asset, {.period = 6, .life = 4});
    RunPeriods(2024, 7, 2);
    auto charges = Charges(asset);
    EXPECT_EQ(charges[202407], 9500);
    EXPECT_EQ(charges[202408], 0);
}

}  // namespace
}  // namespace tk::am::test
