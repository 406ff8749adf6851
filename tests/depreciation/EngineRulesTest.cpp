// The rules the routines keep for every caller: what would break the books is
// refused with its code and reason, writing nothing.
#include "DepreciationFixture.hpp"

namespace tk::am::test {
namespace {

class EngineRulesTest : public DepreciationTest {
  protected:
    // Everything the engine writes, in one figure that any new row moves.
    double EngineRows() {
        return Scalar(
            "Select (Select Count(*) From AMAssetFundBalance) + (Select Count(*) From "
            "AMAssetFundBalanceEx) + (Select Count(*) From AMAssetFundDaily) + (Select Count(*) "
            "From AMAssetDepreciation) + (Select Coalesce(Sum(dblDepreciation), 0) From "
            "AMAssetFundBalance) From dual");
    }
    // The routine's own result code, asked directly.
    int Code(const std::string& call) {
        return static_cast<int>(Scalar("Select " + call + " From dual"));
    }
    // The change saved last is refused by the alteration routine with `code`
    // and a reason containing `reason`; nothing is written.
    void ExpectAlterationRefused(int32_t asset, int code, const std::string& reason) {
        double before = EngineRows();
        EXPECT_FALSE(depreciation.CaclDeprectionAlter(0, asset, kOrg));
        EXPECT_NE(depreciation.ErrorMessage().find(reason), std::string::npos)
            << depreciation.ErrorMessage();
        EXPECT_EQ(Code("AMAssetCalcAlter(0, " + std::to_string(asset) + ", 1)"), code);
        EXPECT_EQ(EngineRows(), before) << reason;
    }
    void ExpectAdditionRefused(const AssetPlan& plan, const std::string& reason) {
        int32_t asset = SaveAsset(plan);
        double before = EngineRows();
        EXPECT_FALSE(depreciation.CaclDeprectionAdd(0, asset, kOrg)) << reason;
        EXPECT_NE(depreciation.ErrorMessage().find(reason), std::string::npos)
            << depreciation.ErrorMessage();
        EXPECT_EQ(Code("AMAssetCalcAdd(0, " + std::to_string(asset) + ", 1)"), 5);
        EXPECT_EQ(EngineRows(), before) << reason;
    }
};

TEST_F(EngineRulesTest, ChangesOutOfDateOrderAreRefused) {
    int32_t asset = AddAsset(AssetPlan::Of(2, 120000, 0, 60));
    int32_t other = AddAsset(AssetPlan::Of(2, 120000, 0, 60));
    RunPeriods(2024, 1, 6);
    SaveChange(asset, {.period = 3, .costChange = 500});
    ExpectAlterationRefused(asset, 2, "期间 2024-03 已计提折旧, 只能记入 2024-06 及以后的期间");

    Alter(other, {.period = 8});
    SaveChange(other, {.period = 7, .department = 5});
    ExpectAlterationRefused(other, 2, "早于资产最近一次变动的日期 2024-08-15");
}

TEST_F(EngineRulesTest, NothingChangesAfterADisposal) {
    int32_t asset = AddAsset(AssetPlan::Of(2, 12000, 0, 12));
    Alter(asset, {.period = 2, .alterType = 2});
    SaveChange(asset, {.period = 3, .costChange = 100});
    ExpectAlterationRefused(asset, 5, "资产已于 2024-02-15 减少");
}

TEST_F(EngineRulesTest, PeriodsCloseInOrderWithoutGaps) {
    AddAsset(AssetPlan::Of(2, 12000, 0, 12));
    auto close = [&](int16_t period) {
        return depreciation.WriteBalance(0, 2024, period, "2024-03-31", "计提折旧", false, 0, 1,
                                         kOrg);
    };
    EXPECT_FALSE(close(2)) << "the first run is the first accounting period";
    EXPECT_NE(depreciation.ErrorMessage().find("期间 2024-01 尚未结账"), std::string::npos)
        << depreciation.ErrorMessage();
    RunPeriod(2024, 1);
    double before = EngineRows();
    EXPECT_FALSE(close(3));
    EXPECT_NE(depreciation.ErrorMessage().find("期间 2024-02 尚未结账, 请从该期间开始"),
              std::string::npos)
        << depreciation.ErrorMessage();
    EXPECT_EQ(Code("AMAssetDeprection(0, 2024, 3, '2024-03-31', 'x', 0, 0, 1, 1)"), 2);
    EXPECT_EQ(EngineRows(), before);
    EXPECT_TRUE(close(2));
}

TEST_F(EngineRulesTest, VersionsThatCannotBeDepreciatedAreRefused) {
    RunPeriod(2024, 1);
    ExpectAdditionRefused(AssetPlan::Of(9, 1000, 0, 12), "折旧方法 9 不存在");
    ExpectAdditionRefused(AssetPlan::Of(6, 1000, 0, 12), "固定余额递减法须有大于 0 的净残值");
    AssetPlan noSource = AssetPlan::Of(2, 1000, 0, 12);
    int32_t bare = SaveAsset(noSource);
    Execute("Delete From AMAssetFund Where lngAMAssetID = " + std::to_string(bare));
    EXPECT_FALSE(depreciation.CaclDeprectionAdd(0, bare, kOrg));
    EXPECT_NE(depreciation.ErrorMessage().find("资产没有资金来源"), std::string::npos);

    int32_t lathe = AddAsset(AssetPlan::Of(2, 1000, 0, 12));
    SaveChange(lathe, {.period = 2, .method = 3});
    ExpectAlterationRefused(lathe, 5, "须同时变更使用期间或工作总量");

    // Neither the card, its category nor the module gives a life.
    Execute("Update AMAssetType Set dblUseage = 0 Where lngAMAssetTypeID = 10");
    Execute("Update Setting Set strSetting = '0' Where strKey = '预计使用期间'");
    ExpectAdditionRefused(AssetPlan::Of(2, 1000, 0, 0), "使用期间必须大于 0");
}

TEST_F(EngineRulesTest, TakingAnAdditionBackLeavesNoRowAndCorrectsTheRunTotals) {
    int32_t kept = AddAsset(AssetPlan::Of(2, 12000, 0, 12));
    int32_t gone = AddAsset(AssetPlan::Of(2, 24000, 0, 12));
    RunPeriods(2024, 1, 3);
    Execute("Delete From AMAsset Where lngAMAssetID = " + std::to_string(gone));
    EXPECT_FALSE(depreciation.CaclDeprectionAdd(2, gone, kOrg)) << "the card is gone";
    EXPECT_NE(depreciation.ErrorMessage().find("已不存在"), std::string::npos);
    std::string of = " Where lngAMAssetID = " + std::to_string(gone);
    EXPECT_EQ(Scalar("Select (Select Count(*) From AMAssetFundBalance" + of +
                     ") + (Select Count(*) From AMAssetFundBalanceEx" + of +
                     ") + (Select Count(*) From AMAssetFundDaily" + of + ") From dual"),
              0);
    EXPECT_EQ(Scalar("Select Count(*) From AMAssetDepreciation d Where d.dblDepreciation <>"
                     " (Select Coalesce(Sum(b.dblDepreciation), 0) From AMAssetFundBalance b"
                     " Where b.intYear = d.intYear And b.bytPeriod = d.bytPeriod)"),
              0);
    EXPECT_EQ(Scalar("Select Sum(dblDepreciation) From AMAssetDepreciation"), 2000)
        << "February and March of the asset kept";
    EXPECT_FALSE(Charges(kept).empty());
}

// A straight-line asset of 120,000 with a residual value of 10,000 over
// twelve months, depreciated February to July: 55,000.00.  August, still
// open, charges 9,166.67 more on the old figures before a change dated in
// August takes effect in September, so 64,166.67 is what the change meets.
class NetValueTest : public EngineRulesTest {
  protected:
    int32_t asset = AddAsset(AssetPlan::Of(2, 120000, 10000, 12));
    void SetUp() override { RunPeriods(2024, 1, 7); }
    // The change is refused, and its host takes the version back again.
    void Refused(const Change& change, const std::string& reason) {
        std::string version = std::to_string(SaveChange(asset, change));
        ExpectAlterationRefused(asset, 5, reason);
        Execute(
            "Update AMAsset Set lngAMAssetLastAlterID = (Select lngAMAssetRecentAlterID From "
            "AMAssetAlter Where lngAMAssetAlterID = " +
            version + ")");
        Execute(
            "Update AMAssetFund Set lngAMAssetFundLastAlterID = (Select "
            "y.lngAMAssetFundRecentAlterID From AMAssetFundAlter y Where "
            "y.lngAMAssetFundAlterID = AMAssetFund.lngAMAssetFundLastAlterID)");
        Execute("Delete From AMAssetFundAlter Where lngAMAssetAlterID = " + version);
        Execute("Delete From AMAssetAlter Where lngAMAssetAlterID = " + version);
        EXPECT_TRUE(depreciation.CaclDeprectionAlter(2, asset, kOrg));
    }
    static Change August(double cost, double impairment, double residual) {
        return {.period = 8,
                .costChange = cost,
                .impairmentChange = impairment,
                .residualChange = residual};
    }
};

// A cost cut below what is depreciated by the change is refused with the figures.
TEST_F(NetValueTest, ACostCutOrAResidualAboveTheNetValueIsRefusedAndOneBelowItKept) {
    Refused(August(-60000, 0, -10000),
            "变动后净值为负 (-4,166.67): 原值 60,000.00, 累计折旧 64,166.67, "
            "减值准备 0.00, 净残值 0.00; 原值至少应为 64,166.67");
    Refused(August(0, 0, 46000), "净残值至多为 55,833.33");
    Alter(asset, August(0, 0, 45833.33));
    RunPeriods(2024, 8, 6);
    EXPECT_NEAR(Scalar("Select Sum(dblDepreciation) From AMAssetFundBalance"), 64166.67, 0.001)
        << "a residual value at the net value leaves nothing more to depreciate";
}

TEST_F(NetValueTest, AnImpairmentMayPassTheResidualValueButNotZero) {
    Alter(asset, August(0, 50000, 0));
    Refused(August(0, 5900, 0), "减值准备至多为 55,833.33");
    RunPeriods(2024, 8, 5);
    EXPECT_NEAR(Scalar("Select Sum(dblDepreciation) From AMAssetFundBalance"), 64166.67, 0.001)
        << "nothing more once the impairment leaves 5,833.33, below the residual value";
}

}  // namespace
}  // namespace tk::am::test
