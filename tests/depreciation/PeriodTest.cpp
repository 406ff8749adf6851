// Writing, re-running and taking back a period; increased depreciation and
// its apportionment over the account lines.
#include "DepreciationFixture.hpp"
#include "depreciation/clsAMAssetAmortise.hpp"

namespace tk::am::test {
namespace {

class PeriodTest : public DepreciationTest {
  protected:
    std::string Balances(int32_t yearPeriod) {
        auto rs = conn->GetRecordset(
            "Select lngAMAssetID, lngAMFundID, dblInitDepreciation, dblDepreciation,"
            " intInitPeriods, intPeriods From AMAssetFundBalance"
            " Where intYear * 100 + bytPeriod = " +
                std::to_string(yearPeriod) + " Order By 1, 2",
            3, 1);
        std::string text;
        for (; !rs->eof(); rs->moveNext())
            for (int i = 0; i < rs->fieldCount(); ++i)
                text += rs->field(i).toText() + (i + 1 < 6 ? "," : ";");
        return text;
    }
    // The apportionment's figures, without the ids a rewrite draws anew.
    std::string SortedText(const std::string& table) {
        std::string text;
        for (const std::string& row : tk::test::SortedRows(
                 *conn,
                 "Select lngAccountID, lngDepartmentID, bytDirection, dblAmount From " + table))
            text += row + "\n";
        return text;
    }
    double Count(const std::string& table, const std::string& where) {
        return Scalar("Select Count(*) From " + table + " Where " + where);
    }
    // Account lines of every funding-source version of an asset.
    void AddLines(int32_t asset, const std::string& lines) {
        Execute(
            "Insert Into AMAssetFundAccAlter(lngAMAssetFundAccAlterID, lngAMAssetFundAlterID, "
            "lngAccountID,"
            " lngDepartmentID, lngOrderNo, dblQuotiety, dblRate, blnDepreIncrease)"
            " Select AMAssetFundAccAlter_SEQ.NEXTVAL, fa.lngAMAssetFundAlterID, l.acc, l.dep, "
            "l.ord, l.quo,"
            " l.rate, l.inc From AMAssetFundAlter fa, (" +
            lines + ") l Where fa.lngAMAssetID = " + std::to_string(asset));
    }
};

TEST_F(PeriodTest, RunningAPeriodAgainReplacesItsFiguresAndItsRecord) {
    int32_t asset = AddAsset(AssetPlan::Of(2, 36000, 0, 36));
    RunPeriods(2024, 1, 3);
    std::string first = Balances(202403);
    RecordWork(asset, 2024, 3, 10);
    EXPECT_TRUE(depreciation.WriteBalance(0, 2024, 3, "2024-03-31", "again", false, 7, 1, kOrg));
    EXPECT_EQ(Balances(202403), first);
    EXPECT_EQ(Count("AMAssetDepreciation", "intYear = 2024 And bytPeriod = 3"), 1);
    EXPECT_EQ(Scalar("Select lngVoucherID From AMAssetDepreciation Where bytPeriod = 3"), 7);
    EXPECT_EQ(Scalar("Select dblDepreciation From AMAssetDepreciation Where bytPeriod = 3"), 1000);
    EXPECT_EQ(Scalar("Select dblWork From AMAssetFundBalance Where bytPeriod = 3"), 10)
        << "work recorded since";
    EXPECT_EQ(Count("AMAssetFundDaily", "YearPeriod = 202403 And blnFromDepreciation = 1"), 1)
        << "a posted period is posted again";
}

TEST_F(PeriodTest, AnEarlierPeriodIsRefusedAndLeftAsItWas) {
    int32_t asset = AddAsset(AssetPlan::Of(2, 36000, 0, 36));
    RunPeriods(2024, 1, 3);
    std::string second = Balances(202402);
    EXPECT_FALSE(depreciation.WriteBalance(0, 2024, 2, "2024-02-29", "late", false, 0, 1, kOrg));
    EXPECT_EQ(Balances(202402), second);
    EXPECT_FALSE(depreciation.CaclDeprectionWork(0, 2024, 2, asset, 5, kOrg));
}

TEST_F(PeriodTest, TakingBackTheLatestPeriodRemovesItAndRestoresTheWorkingCopy) {
    AddAsset(AssetPlan::Of(2, 36000, 0, 36));
    RunPeriods(2024, 1, 3);
    std::string third = Balances(202403);
    EXPECT_TRUE(depreciation.WriteBalance(2, 2024, 3, "", "", false, 0, 0, kOrg));
    EXPECT_EQ(Count("AMAssetFundBalance", "bytPeriod = 3"), 0);
    EXPECT_EQ(Count("AMAssetDepreciation", "bytPeriod = 3"), 0);
    EXPECT_EQ(Count("AMAssetFundDaily", "YearPeriod = 202403 And blnFromDepreciation = 1"), 0);
    EXPECT_EQ(Scalar("Select Max(bytPeriod) From AMAssetFundBalanceEx"), 2);
    EXPECT_FALSE(depreciation.WriteBalance(2, 2024, 1, "", "", false, 0, 0, kOrg))
        << "only the latest";
    EXPECT_TRUE(depreciation.WriteBalance(0, 2024, 3, "2024-03-31", "", false, 0, 1, kOrg));
    EXPECT_EQ(Balances(202403), third);
}

TEST_F(PeriodTest, AnAlterationEnteredAfterTheRunRewritesThatPeriod) {
    UsePublicSectorRule();
    int32_t asset = AddAsset(AssetPlan::Of(2, 60000, 0, 60, 22));
    RunPeriods(2024, 1, 3);
    Alter(asset, {.period = 3, .impairmentChange = 11600});
    EXPECT_EQ(Scalar("Select dblDepreciation From AMAssetFundBalance Where bytPeriod = 3"), 800)
        << "(60,000 - 11,600 - 2,000) / 58, public-sector rule";
    EXPECT_EQ(Scalar("Select dblDeprection From AMAssetFundDaily Where YearPeriod = 202403 And "
                     "blnFromDepreciation = 1"),
              800);
    EXPECT_EQ(Scalar("Select dblDepreciation From AMAssetFundBalance Where bytPeriod = 2"), 1000);
}

TEST_F(PeriodTest, RecalculatingOneAssetRewritesItsOwnRowsOnly) {
    const int32_t rewritten = AddAsset(AssetPlan::Of(2, 36000, 0, 36));
    const int32_t other = AddAsset(AssetPlan::Of(2, 60000, 0, 60));
    AddLines(other, "Select 18 acc, 1 dep, 1 ord, 1 quo, 100 rate, 0 inc From Dual");
    RunPeriods(2024, 1, 2);
    clsAMAssetAmortise amortise;
    std::string message;
    ASSERT_TRUE(amortise.Execute(kOrg, message));
    const std::string february = Balances(202402);
    const std::string others = "lngAMAssetID = " + std::to_string(other) + " And bytPeriod = 2";
    const std::string own = "lngAMAssetID = " + std::to_string(rewritten) + " And bytPeriod = 2";
    const std::vector<std::string> tables = {"AMAssetFundBalance", "AMAssetFundBalanceEx",
                                             "AMAssetFundBalanceAmortise",
                                             "AMAssetFundBalanceAmortiseEx"};
    std::vector<double> before;
    for (const auto& table : tables) before.push_back(Count(table, others));

    ASSERT_TRUE(depreciation.CaclDeprectionAdd(1, rewritten, kOrg));
    EXPECT_EQ(Balances(202402), february) << "the same figures, 1,000 and 1,000";
    for (size_t i = 0; i < tables.size(); ++i)
        EXPECT_EQ(Count(tables[i], others), before[i]) << tables[i];
    EXPECT_EQ(Count("AMAssetFundBalanceEx", own), 1);
    EXPECT_EQ(Scalar("Select Sum(dblAmount) From AMAssetFundBalanceAmortise Where bytDirection = "
                     "1 And " +
                     own),
              1000)
        << "apportioned again, unapportioned for want of lines";
    EXPECT_EQ(Count("AMAssetFundBalanceAmortiseEx", own), 2);
    EXPECT_EQ(Count("AMAssetFundDaily", "YearPeriod = 202402 And blnFromDepreciation = 1"), 2)
        << "posted again for the rewritten asset, kept for the other";
}

// One asset's statements are planned once and serve every asset after it,
// whichever organisation it keeps its books in: each asset recalculated alone,
// one after the other, gets back the rows its organisation's close gave it, to
// the cent and line by line, and leaves every other asset's as they were.
TEST_F(PeriodTest, AssetsRecalculatedAloneGetTheRowsTheirClosedPeriodGaveThem) {
    constexpr int32_t kOther = 2;
    AssetPlan split = AssetPlan::Of(2, 36001, 0, 36);
    split.fundCosts = {24000.67, 12000.33};
    AssetPlan van = AssetPlan::Of(2, 48000, 2400, 48);
    van.org = kOther;
    van.department = 7;
    van.fundCosts = {30000.01, 17999.99};
    const std::vector<std::pair<int32_t, int32_t>> assets = {
        {AddAsset(split), kOrg},
        {AddAsset(van), kOther},
        {AddAsset(AssetPlan::Of(4, 60000, 0, 60)), kOrg},
        {AddAsset(AssetPlan::Of(2, 18000, 600, 24)), kOrg}};
    AddLines(assets[0].first,
             "Select 18 acc, 1 dep, 1 ord, 1 quo, 60.5 rate, 0 inc From Dual Union All "
             "Select 19, 3, 2, 1, 39.5, 0 From Dual");
    AddLines(assets[1].first, "Select 16 acc, 7 dep, 1 ord, 1 quo, 100 rate, 0 inc From Dual");
    AddLines(assets[2].first, "Select 18 acc, 3 dep, 1 ord, 1 quo, 100 rate, 0 inc From Dual");
    for (int32_t org : {kOrg, kOther}) {
        RunPeriods(2024, 1, 3, org);
        clsAMAssetAmortise amortise;
        std::string message;
        ASSERT_TRUE(amortise.Execute(org, message)) << message;
    }
    const std::vector<std::string> rowsOf = {
        "Select lngAMFundID, lngAMAssetFundAlterID, dblInitDepreciation, dblDepreciation, "
        "intPeriods, dblBasisShare From AMAssetFundBalance Where bytPeriod = 3 And lngAMAssetID = ",
        "Select lngAMFundID, dblDepreciation, dblMonthDepreciationAmount From "
        "AMAssetFundBalanceEx Where bytPeriod = 3 And lngAMAssetID = ",
        "Select lngAMFundID, dblDeprection, dblDeprectionAlter, dblTotalDeprection, "
        "intTotalDepredPeriods, dblTotalAmount From AMAssetFundDaily Where YearPeriod = 202403 "
        "And lngAMAssetID = ",
        "Select lngAMFundID, lngAMAssetFundAccAlterID, bytDirection, lngAccountID, "
        "lngDepartmentID, dblAmount, strRemark From AMAssetFundBalanceAmortise Where bytPeriod = "
        "3 And lngAMAssetID = ",
        "Select lngAMFundID, bytDirection, lngAccountID, dblAmount From "
        "AMAssetFundBalanceAmortiseEx Where bytPeriod = 3 And lngAMAssetID = "};
    auto rows = [&](int32_t asset) {
        std::vector<std::string> all;
        for (const std::string& query : rowsOf)
            for (const std::string& row :
                 tk::test::SortedRows(*conn, query + std::to_string(asset)))
                all.push_back(row);
        return all;
    };
    std::vector<std::vector<std::string>> closed;
    for (const auto& [asset, org] : assets) closed.push_back(rows(asset));
    ASSERT_GT(closed[0].size(), 12u) << "two sources, two lines each, posted and apportioned";
    ASSERT_GT(closed[1].size(), 8u) << "organisation 2's asset, posted and apportioned";

    for (size_t i = 0; i < assets.size(); ++i) {
        ASSERT_TRUE(depreciation.CaclDeprectionAdd(1, assets[i].first, assets[i].second))
            << depreciation.ErrorMessage();
        EXPECT_EQ(rows(assets[i].first), closed[i]) << "asset " << i + 1;
    }
    for (size_t i = 0; i < assets.size(); ++i)
        EXPECT_EQ(rows(assets[i].first), closed[i]) << "asset " << i + 1 << " after the others";
}

TEST_F(PeriodTest, IncreasedDepreciationFollowsTheFlaggedLinesAndIsApportioned) {
    int32_t asset = AddAsset(AssetPlan::Of(2, 120000, 0, 60));
    AddLines(asset,
             "Select 18 acc, 1 dep, 1 ord, 1 quo, 50 rate, 0 inc From Dual Union All"
             " Select 16 acc, 5 dep, 2 ord, 2 quo, 30 rate, 0 inc From Dual Union All"
             " Select 13 acc, 3 dep, 3 ord, 1 quo, 20 rate, 1 inc From Dual");
    RunPeriod(2024, 1);
    EXPECT_TRUE(depreciation.WriteBalance(0, 2024, 2, "2024-02-29", "", true, 0, 1, kOrg));
    EXPECT_EQ(
        Scalar("Select dblIncreaseDepreciation From AMAssetFundBalanceEx Where bytPeriod = 2"),
        400);

    Execute("Update Business Set lngTradeID = 32");
    clsAMAssetAmortise amortise;
    std::string message = "kept";
    EXPECT_TRUE(amortise.Execute(kOrg, message));
    EXPECT_EQ(message, "kept");
    // 1,600 over the shares 50 and 30, whatever the coefficients; the 400
    // increase on its own line.
    EXPECT_EQ(Scalar("Select dblAmount From AMAssetFundBalanceAmortise Where lngAccountID = 18"),
              1000);
    EXPECT_EQ(Scalar("Select dblAmount From AMAssetFundBalanceAmortise Where lngAccountID = 16"),
              600);
    EXPECT_EQ(Scalar("Select dblAmount From AMAssetFundBalanceAmortise Where lngAccountID = 13"),
              400);
    EXPECT_EQ(
        Scalar("Select Sum(dblAmount) From AMAssetFundBalanceAmortise Where bytDirection = 2"),
        2000);
    EXPECT_EQ(Count("AMAssetFundBalanceAmortise a",
                    "Not Exists (Select 1 From AMAssetFundBalanceAmortiseEx x"
                    " Where x.lngAMAssetFundBalanceAmortiseID ="
                    " a.lngAMAssetFundBalanceAmortiseID)"),
              0);
}

TEST_F(PeriodTest, OutsideTrade32TheIncreaseIsClearedBeforeApportioning) {
    int32_t asset = AddAsset(AssetPlan::Of(2, 120000, 0, 60));
    AddLines(asset,
             "Select 18 acc, 1 dep, 1 ord, 0 quo, 1 rate, 0 inc From Dual Union All"
             " Select 16 acc, 5 dep, 2 ord, 0 quo, 2 rate, 0 inc From Dual Union All"
             " Select 13 acc, 3 dep, 3 ord, 0 quo, 20 rate, 1 inc From Dual");
    RunPeriod(2024, 1);
    EXPECT_TRUE(depreciation.WriteBalance(0, 2024, 2, "2024-02-29", "", true, 0, 1, kOrg));
    clsAMAssetAmortise amortise;
    std::string message;
    EXPECT_TRUE(amortise.Execute(kOrg, message));
    EXPECT_EQ(Scalar("Select dblIncreaseDepreciation From AMAssetFundBalanceEx"), 0);
    EXPECT_EQ(Scalar("Select dblAmount From AMAssetFundBalanceAmortise Where lngAccountID = 18"),
              666.67);
    EXPECT_EQ(Scalar("Select dblAmount From AMAssetFundBalanceAmortise Where lngAccountID = 16"),
              1333.33)
        << "the heaviest line takes the remainder";
    EXPECT_EQ(Count("AMAssetFundBalanceAmortise", "lngAccountID = 13"), 0);

    const std::string apportioned = SortedText("AMAssetFundBalanceAmortise");
    ASSERT_TRUE(depreciation.CaclDeprectionAdd(1, asset, kOrg));
    EXPECT_EQ(SortedText("AMAssetFundBalanceAmortise"), apportioned)
        << "recalculated, the asset is apportioned as its period was, its increase cleared";
}

}  // namespace
}  // namespace tk::am::test
