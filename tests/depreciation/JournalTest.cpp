// The posting journal: its sums against balances and cards, idempotent
// posting, and the rebuild giving what month-by-month posting gave.
#include "DepreciationFixture.hpp"
#include "depreciation/clsAMAssetDaily.hpp"

namespace tk::am::test {
namespace {

const char* kJournalColumns =
    "lngAMAssetID, lngAMAssetAlterID, lngAMFundID, lngAMAssetFundAlterID, YearPeriod, strDate, "
    "bytAlterType,"
    " blnFromDepreciation, dblAmountAlter, dblDeprection, dblDeprectionAlter, dblDecAmountAlter,"
    " dblNetworthAlter, dblTotalAmount, dblTotalDeprection, dblTotalDecAmount, dblTotalNetWorth, "
    "dblWork,"
    " dblWorkAlter, intPeriods, intPeriodAlter, dblTotalWorks, intTotalPeriods, "
    "dblTotalDepredWorks,"
    " intTotalDepredPeriods, lngVoucherID, lngOrganizationID";

class JournalTest : public DepreciationTest {
  protected:
    // Nine months of an organisation: opening records, two funding sources,
    // work, cost increases, impairment, a change of life, an adjustment of the
    // accumulated depreciation, decreases under both depreciation types, every
    // period posted as the host posts it.
    void RunNineMonths() {
        UsePublicSectorRule();
        AssetPlan opening = AssetPlan::Of(2, 50000, 2000, 60);
        opening.opening = true;
        opening.openingDepreciation = 10000;
        opening.startUsage = 12;
        opening.fundCosts = {30000, 20000};
        int32_t opened = AddAsset(opening);
        int32_t truck = AddAsset(AssetPlan::Of(3, 300000, 12000, 400000, 16));
        int32_t declining = 0, disposed = AddAsset(AssetPlan::Of(2, 24000, 0, 24));
        int32_t shortened = AddAsset(AssetPlan::Of(2, 12000, 0, 24)), publicSector = 0;
        for (int16_t period = 1; period <= 9; ++period) {
            if (period == 2) {
                AssetPlan plan = AssetPlan::Of(4, 80000, 3200, 48);
                plan.period = 2;
                plan.fundCosts = {50000, 30000};
                declining = AddAsset(plan);
            }
            if (period == 3) {
                AssetPlan plan = AssetPlan::Of(2, 36000, 0, 36, 22);
                plan.period = 3;
                publicSector = AddAsset(plan);
            }
            if (period == 4) Alter(declining, {.period = 4, .costChange = 8000});
            if (period == 5) Alter(disposed, {.period = 5, .alterType = 2});
            if (period == 5) Alter(shortened, {.period = 5, .life = 12});
            if (period == 6) Alter(declining, {.period = 6, .impairmentChange = 5000});
            if (period == 6) Alter(opened, {.period = 6, .depreciationChange = 1500});
            if (period == 7) Alter(publicSector, {.period = 7, .alterType = 2});
            if (period >= 2) RecordWork(truck, 2024, period, 7000.0 * period);
            RunPeriod(2024, period);
        }
    }

    // Rows of (what, expected, actual); each pair must agree to the cent.
    void ExpectPairs(const std::string& sql) {
        auto rs = conn->GetRecordset(sql, 3, 1);
        ASSERT_FALSE(rs->eof()) << "nothing compared: " << sql;
        for (; !rs->eof(); rs->moveNext())
            EXPECT_EQ(Cents(rs->field(1).toDouble()), Cents(rs->field(2).toDouble()))
                << rs->field(0).toText();
    }

    std::vector<std::string> Journal() {
        return tk::test::SortedRows(
            *conn, std::string("Select ") + kJournalColumns + " From AMAssetFundDaily");
    }
};

// The state of each asset's funding sources at the end of the nine months.
const char* kFinalState =
    " From AMAssetFund f, AMAsset a, AMAssetAlter v, AMAssetFundAlter fv, AMAssetFundBalance b"
    " Where a.lngAMAssetID = f.lngAMAssetID And v.lngAMAssetAlterID = a.lngAMAssetLastAlterID"
    " And fv.lngAMAssetFundAlterID = f.lngAMAssetFundLastAlterID"
    " And b.lngAMAssetID = f.lngAMAssetID And b.lngAMFundID = f.lngAMFundID"
    " And b.intYear * 100 + b.bytPeriod = (Select Max(x.intYear * 100 + x.bytPeriod) From "
    "AMAssetFundBalance x"
    "     Where x.lngAMAssetID = f.lngAMAssetID)";

std::string JournalSum(const std::string& expression, const std::string& upTo = "") {
    return "(Select Coalesce(Sum(" + expression +
           "), 0) From AMAssetFundDaily d"
           " Where d.lngAMAssetID = f.lngAMAssetID And d.lngAMFundID = f.lngAMFundID" +
           upTo + ")";
}

TEST_F(JournalTest, EverySourceSumsToItsBalancesAndCard) {
    RunNineMonths();
    std::string gone = "Case When v.bytAlterType = 2 Then 0 Else ";
    ExpectPairs("Select 'cost ' || f.lngAMAssetID || '/' || f.lngAMFundID, " + gone +
                "fv.dblAmount End, " + JournalSum("d.dblAmountAlter") + kFinalState);
    ExpectPairs("Select 'impairment ' || f.lngAMAssetID, " + gone + "fv.dblDecAmount End, " +
                JournalSum("d.dblDecAmountAlter") + kFinalState);
    ExpectPairs("Select 'residual ' || f.lngAMAssetID, " + gone + "fv.dblNetworth End, " +
                JournalSum("d.dblNetworthAlter") + kFinalState);
    ExpectPairs("Select 'depreciation ' || f.lngAMAssetID || '/' || f.lngAMFundID, " + gone +
                "b.dblInitDepreciation + b.dblDepreciation End, " +
                JournalSum("d.dblDeprection + d.dblDeprectionAlter") + kFinalState);
    ExpectPairs("Select 'periods ' || f.lngAMAssetID, b.intInitPeriods + b.intPeriods, " +
                JournalSum("d.intPeriods") + kFinalState);
    ExpectPairs("Select 'work ' || f.lngAMAssetID, b.dblInitWork + b.dblWork, " +
                JournalSum("d.dblWork") + kFinalState);
    ExpectPairs("Select 'life ' || f.lngAMAssetID, v.dblUseage, " +
                JournalSum("d.intPeriodAlter + d.dblWorkAlter") + kFinalState);
    ExpectPairs(
        "Select 'card cost ' || a.lngAMAssetID, Case When v.bytAlterType = 2 Then 0 Else "
        "v.dblAmount End,"
        " (Select Sum(d.dblAmountAlter) From AMAssetFundDaily d Where d.lngAMAssetID = "
        "a.lngAMAssetID)"
        " From AMAsset a, AMAssetAlter v Where v.lngAMAssetAlterID = a.lngAMAssetLastAlterID");
}

TEST_F(JournalTest, SumsUpToAnyPeriodGiveThatPeriodsBalance) {
    RunNineMonths();
    std::string upTo = " And d.YearPeriod <= b.intYear * 100 + b.bytPeriod";
    std::string rows =
        " From AMAssetFundBalance b, AMAssetAlter v, AMAssetFundAlter fv, AMAssetFund f"
        " Where v.lngAMAssetAlterID = b.lngAMAssetAlterID And v.bytAlterType <> 2"
        " And fv.lngAMAssetFundAlterID = b.lngAMAssetFundAlterID"
        " And f.lngAMAssetID = b.lngAMAssetID And f.lngAMFundID = b.lngAMFundID";
    std::string what =
        "'period ' || (b.intYear * 100 + b.bytPeriod) || ' asset ' || b.lngAMAssetID || ' fund ' ||"
        " b.lngAMFundID";
    ExpectPairs("Select " + what + ", b.dblInitDepreciation + b.dblDepreciation, " +
                JournalSum("d.dblDeprection + d.dblDeprectionAlter", upTo) + rows);
    ExpectPairs("Select " + what + ", fv.dblAmount - fv.dblDecAmount, " +
                JournalSum("d.dblAmountAlter - d.dblDecAmountAlter", upTo) + rows);
    ExpectPairs("Select " + what + ", b.intInitPeriods + b.intPeriods, " +
                JournalSum("d.intPeriods", upTo) + rows);
}

TEST_F(JournalTest, EveryAlterationHasARowAndTheRunningTotalsFollowTheRows) {
    RunNineMonths();
    EXPECT_EQ(
        Scalar(
            "Select Count(*) From AMAssetAlter v Where Not Exists (Select 1 From AMAssetFundDaily d"
            " Where d.lngAMAssetAlterID = v.lngAMAssetAlterID And d.blnFromDepreciation = 0)"),
        0);
    const std::string upToTheRow =
        " From AMAssetFundDaily e Where e.lngAMAssetID = d.lngAMAssetID"
        " And e.lngAMFundID = d.lngAMFundID And (e.YearPeriod < d.YearPeriod"
        " Or (e.YearPeriod = d.YearPeriod And e.blnFromDepreciation <= d.blnFromDepreciation"
        " And e.lngAMAssetAlterID <= d.lngAMAssetAlterID)))";
    EXPECT_EQ(Scalar("Select Count(*) From AMAssetFundDaily d Where d.dblTotalAmount <>"
                     " (Select Sum(e.dblAmountAlter)" +
                     upToTheRow),
              0);
    // an asset that has left shows no accumulated depreciation
    EXPECT_EQ(Scalar("Select Count(*) From AMAssetFundDaily d Where d.dblTotalAmount <> 0"
                     " And d.dblTotalDeprection <>"
                     " (Select Sum(e.dblDeprection + e.dblDeprectionAlter)" +
                     upToTheRow),
              0);
}

TEST_F(JournalTest, PostingTwicePostsNothingNewAndCancellingRemovesWhatWasPosted) {
    RunNineMonths();
    auto before = Journal();
    EXPECT_TRUE(depreciation.WriteDaily(2024, 5, 0, false, false, Variant(kOrg)));
    EXPECT_TRUE(depreciation.WriteDaily(2024, 5, 0, true, false, Variant(kOrg)));
    EXPECT_EQ(Journal(), before);
    EXPECT_TRUE(depreciation.WriteDaily(2024, 5, 0, true, true, Variant(kOrg)));
    EXPECT_EQ(Scalar("Select Count(*) From AMAssetFundDaily Where YearPeriod = 202405 And "
                     "blnFromDepreciation = 1"),
              0);
    EXPECT_GT(Scalar("Select Count(*) From AMAssetFundDaily Where YearPeriod = 202405 And "
                     "blnFromDepreciation = 0"),
              0);
    EXPECT_TRUE(depreciation.WriteDaily(2024, 5, 0, true, false, Variant(kOrg)));
    EXPECT_EQ(Journal(), before);
}

// Year 0 posts or cancels every period of one kind at once, as the rebuild
// does: what month-by-month posting gave, only once, the other kind untouched.
TEST_F(JournalTest, EveryPeriodAtOnceRepostsWhatWasCancelledAndNothingTwice) {
    RunNineMonths();
    auto monthByMonth = Journal();
    for (bool fromDepreciation : {true, false}) {
        const std::string kind = fromDepreciation ? "1" : "0";
        EXPECT_TRUE(depreciation.WriteDaily(0, 0, 0, fromDepreciation, true, Variant(kOrg)));
        EXPECT_EQ(
            Scalar("Select Count(*) From AMAssetFundDaily Where blnFromDepreciation = " + kind), 0);
        EXPECT_GT(Scalar("Select Count(*) From AMAssetFundDaily"), 0) << "the other kind stays";
        for (int twice = 0; twice < 2; ++twice)
            EXPECT_TRUE(depreciation.WriteDaily(0, 0, 0, fromDepreciation, false, Variant(kOrg)));
        EXPECT_EQ(Journal(), monthByMonth) << "kind " << kind;
    }
}

TEST_F(JournalTest, RebuildGivesTheRowsOfMonthByMonthPostingInEitherPassOrder) {
    RunNineMonths();
    auto monthByMonth = Journal();
    clsAMAssetDaily daily;
    std::string message = "kept";
    EXPECT_TRUE(daily.Execute(kOrg, message));
    EXPECT_EQ(message, "kept");
    EXPECT_EQ(Journal(), monthByMonth);
    Execute("Update Business Set blnAssetAddPeriod = 1");
    EXPECT_TRUE(daily.Execute(0, message));
    EXPECT_EQ(Journal(), monthByMonth);
}

// An asset that has since left the organisation keeps its rows in the
// journal of the one that depreciated it, wherever its card and source
// versions now lie.
TEST_F(JournalTest, RebuildKeepsTheRowsOfAssetsWhoseCardOrSourceVersionsLieElsewhere) {
    RunNineMonths();
    auto monthByMonth = Journal();
    Execute(
        "Update AMAsset Set lngOrganizationID = 2 Where lngAMAssetID = (Select Min(lngAMAssetID) "
        "From AMAsset)");
    Execute(
        "Update AMAssetFundAlter Set lngOrganizationID = 2 Where lngAMAssetID = (Select "
        "Max(lngAMAssetID) From AMAsset)");
    std::string message;
    EXPECT_TRUE(clsAMAssetDaily().Execute(kOrg, message)) << message;
    EXPECT_EQ(Journal(), monthByMonth);
}

// A source that joins an asset under its card version, as older data has it: in
// that period the asset's other sources follow their seed unchanged and the new
// one starts. With its organisation the asset posts the rows it posts alone, and
// a second organisation's plain asset posts with its own.
TEST_F(JournalTest, AnAssetWithANewSourceUnderItsCardPostsWithItsOrganisationAsAlone) {
    constexpr int32_t kOther = 2;
    AssetPlan plan = AssetPlan::Of(2, 50000, 2000, 60), elsewhere = AssetPlan::Of(2, 12000, 0, 24);
    plan.fundCosts = {30000, 20000};
    elsewhere.org = kOther;
    elsewhere.department = 7;
    const int32_t asset = AddAsset(plan), other = AddAsset(elsewhere);
    for (int32_t org : {kOrg, kOther}) RunPeriods(2024, 1, 2, org);
    const std::string id = std::to_string(asset);
    const std::string card = std::to_string(static_cast<int32_t>(
        Scalar("Select lngAMAssetLastAlterID From AMAsset Where lngAMAssetID = " + id)));
    Execute(
        "Insert Into AMAssetFundAlter (lngAMAssetFundAlterID, lngAMAssetAlterID, lngAMAssetID,"
        " lngAMFundID, intYear, bytPeriod, strDate, dblAmount, dblAmountAlter, bytAlterType,"
        " bytStatus, lngOrganizationID) Values (9001, " +
        card + ", " + id + ", 3, 2024, 3, '2024-03-15', 5000, 5000, 1, 2, 1)");
    Execute("Insert Into AMAssetFund Values (" + id + ", 3, 9001, 9001)");
    for (int32_t org : {kOrg, kOther}) RunPeriods(2024, 3, 2, org);
    // Older data may also hold two balances of one source in a period, under
    // two versions: the first source gets a second one in April
    Execute(
        "Insert Into AMAssetFundAlter (lngAMAssetFundAlterID, lngAMAssetAlterID, lngAMAssetID,"
        " lngAMFundID, intYear, bytPeriod, strDate, dblAmount, bytAlterType, bytStatus,"
        " lngOrganizationID) Values (9002, " +
        card + ", " + id + ", 1, 2024, 4, '2024-04-15', 30000, 1, 2, 1)");
    Execute("Create Table SecondBalance As Select * From AMAssetFundBalance Where lngAMAssetID = " +
            id + " And lngAMFundID = 1 And intYear = 2024 And bytPeriod = 4");
    Execute("Update SecondBalance Set lngAMAssetFundAlterID = 9002, dblDepreciation = 100");
    Execute("Insert Into AMAssetFundBalance Select * From SecondBalance");
    ASSERT_TRUE(depreciation.WriteDaily(2024, 4, 0, true, true, Variant(kOrg)));
    ASSERT_TRUE(depreciation.WriteDaily(2024, 4, 0, true, false, Variant(kOrg)));
    auto withOrganisation = Journal();
    ASSERT_GT(Scalar("Select Count(*) From AMAssetFundDaily Where YearPeriod = 202403 And "
                     "blnFromDepreciation = 1 And lngAMAssetID = " +
                     id),
              2);
    for (int16_t period : {3, 4})
        for (auto [alone, org] : {std::pair{asset, kOrg}, std::pair{other, kOther}}) {
            ASSERT_TRUE(depreciation.WriteDaily(2024, period, 0, true, true, Variant(org)));
            ASSERT_TRUE(depreciation.WriteDaily(2024, period, alone, true, false, Variant(org)));
        }
    EXPECT_EQ(Journal(), withOrganisation);
}

}  // namespace
}  // namespace tk::am::test
