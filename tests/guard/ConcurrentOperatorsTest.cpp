// Several operators on one account set at once: clerks adding assets side by
// side, and closes that meet.
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <vector>

#include "AmassetCli.hpp"
#include "BooksInvariant.hpp"
#include "TestDatabase.hpp"

namespace tk::test {
namespace {

constexpr int kClerks = 8;
constexpr int kAssetsEach = 50;
const std::string kTruck =
    "asset add --category 03-01-02 --name 货车 --method 3 --total-work 100000 --cost 50000"
    " --date 2024-01-10";

class ConcurrentOperatorsTest : public ::testing::Test {
  protected:
    std::future<Outcome> inBackground(const std::string& args) {
        return std::async(std::launch::async, [this, args] { return cli_.run(args); });
    }

    // Runs the command while `holder` keeps its transaction open, lets the
    // transaction commit once the command waits for it, and returns the outcome.
    Outcome runBehind(connect::Connection& holder, const std::string& args) {
        auto other = inBackground(args);
        EXPECT_TRUE(cli_.untilOneWaits([&] {
            return other.wait_for(std::chrono::seconds(0)) != std::future_status::ready;
        })) << "the command ended without waiting";
        holder.CommitTrans();
        return other.get();
    }

    // Two periods closed: the second posts the depreciation of assets added in the first.
    bool closeJanuaryAndFebruary() {
        for (const char* period : {"2024-01", "2024-02"})
            if (cli_.run(std::string("period close --period ") + period).status != 0) return false;
        return true;
    }

    AmassetCli cli_{"guard"};
};

TEST_F(ConcurrentOperatorsTest, ClerksAddingAtOnceAllSucceedAndTheClosesThatMeetKeepTheBooks) {
    for (const Outcome& clerk : cli_.runSideBySide(kPrinter, kClerks, kAssetsEach))
        EXPECT_EQ(clerk.status, 0) << clerk.out;
    const double added = kClerks * kAssetsEach;
    EXPECT_EQ(cli_.scalar("Select Count(*) From AMAsset"), added);
    EXPECT_EQ(cli_.scalar("Select Count(Distinct strAMAssetCode) From AMAsset"), added);
    EXPECT_EQ(cli_.scalar("Select Count(Distinct strAMAssetCardCode) From AMAsset"), added);

    ASSERT_EQ(cli_.run("period close --period 2024-01").status, 0);
    auto first = inBackground("period close --period 2024-02");
    auto second = inBackground("period close --period 2024-02");
    for (auto* close : {&first, &second}) {
        Outcome done = close->get();
        EXPECT_EQ(done.status, 0) << done.out;
    }
    // 400 printers at 100.00 a month, once in the balances, the run and the journal.
    const double month = added * 100;
    EXPECT_NEAR(cli_.scalar("Select Sum(dblDepreciation) From AMAssetFundBalance"
                            " Where intYear = 2024 And bytPeriod = 2"),
                month, 0.005);
    EXPECT_EQ(cli_.scalar("Select Count(*) From AMAssetDepreciation Where intYear = 2024 And "
                          "bytPeriod = 2"),
              1);
    EXPECT_EQ(cli_.scalar(RunsOutOfStep()), 0);
}

TEST_F(ConcurrentOperatorsTest, ACloseWaitsForTheOneInProgressAndSaysSo) {
    auto holder = cli_.holdTransaction();
    holder->GetRecordset("Select AMAssetPeriodLock(1, 1, 1) From dual", 3, 1);
    Outcome done = runBehind(*holder, "period close --period 2024-01");
    EXPECT_EQ(done.status, 0) << done.out;
    EXPECT_NE(done.out.find("正在等待另一个结账完成"), std::string::npos) << done.out;
}

// Two clerks recording one asset's work of one period at once: the second
// waits for the first and records over it, where both would have added the
// period's working row.
TEST_F(ConcurrentOperatorsTest, WorkRecordedTwiceAtOnceForOneAssetKeepsTheLaterFigure) {
    ASSERT_EQ(cli_.run(kTruck).status, 0);
    const std::string asset =
        std::to_string(static_cast<int>(cli_.scalar("Select Max(lngAMAssetID) From AMAsset")));
    auto holder = cli_.holdTransaction();
    holder->GetRecordset("Select AMAssetCalcWork(0, 2024, 2, " + asset + ", 100, 1) From dual", 3,
                         1);
    Outcome done = runBehind(
        *holder, "asset work " +
                     cli_.text("Select strAMAssetCode From AMAsset Where lngAMAssetID = " + asset) +
                     " --period 2024-02 --work 300");
    EXPECT_EQ(done.status, 0) << done.out;
    EXPECT_EQ(cli_.scalar("Select Count(*) From AMAssetFundBalanceEx Where lngAMAssetID = " +
                          asset + " And intYear = 2024 And bytPeriod = 2 And dblWork = 300"),
              1);
}

// Work recorded for the latest closed period posts that asset's depreciation
// again. A change shares the organisation's period lock with every other
// change in progress: taking it alone there, two clerks' changes at once
// would each wait for the other to end.
TEST_F(ConcurrentOperatorsTest, AChangeThatPostsAClosedPeriodAgainGoesOnBesideAnotherChange) {
    ASSERT_EQ(cli_.run(kTruck).status, 0);
    ASSERT_TRUE(closeJanuaryAndFebruary());
    auto holder = cli_.holdTransaction();
    holder->GetRecordset("Select AMAssetPeriodLock(1, 0, 1) From dual", 3, 1);
    auto work = inBackground("asset work " + cli_.text("Select Max(strAMAssetCode) From AMAsset") +
                             " --period 2024-02 --work 300");
    const bool alongside = work.wait_for(std::chrono::seconds(30)) == std::future_status::ready;
    holder->CommitTrans();
    EXPECT_TRUE(alongside) << "the change waited for the other one to end";
    Outcome done = work.get();
    EXPECT_EQ(done.status, 0) << done.out;
    EXPECT_GT(
        cli_.scalar("Select Sum(dblDeprection) From AMAssetFundDaily Where YearPeriod = 202402"
                    " And blnFromDepreciation = 1"),
        0);
}

// A general recalculation of one asset beside a save of the same card: the
// save holds the card, then asks for the period lock. The recalculation
// holds the card before taking the lock alone, so the save is not left
// waiting for a lock whose holder waits for the card.
TEST_F(ConcurrentOperatorsTest, ARecalculationOfOneAssetAndASaveOfItsCardFollowOneAnother) {
    ASSERT_EQ(cli_.run(kPrinter).status, 0);
    ASSERT_TRUE(closeJanuaryAndFebruary());
    const std::string asset =
        std::to_string(static_cast<int>(cli_.scalar("Select Max(lngAMAssetID) From AMAsset")));
    auto save = cli_.holdTransaction();
    save->GetRecordset("Select AMAssetHold(" + asset + ") From dual", 3, 1);
    auto recalculation = cli_.holdTransaction();
    auto recalculated = std::async(std::launch::async, [&] {
        return ErrorOf(*recalculation,
                       "Select AMAssetCalcUpdate(0, 0, " + asset + ", 1) From dual");
    });
    ASSERT_TRUE(cli_.untilOneWaits([&] {
        return recalculated.wait_for(std::chrono::seconds(0)) != std::future_status::ready;
    }));
    EXPECT_EQ(ErrorOf(*save, "Select AMAssetPeriodLock(1, 0, 1) From dual"), "");
    save->CommitTrans();
    EXPECT_EQ(recalculated.get(), "");
    recalculation->CommitTrans();
}

// A partial disposal works out on trial what the periods before it will
// have charged, writing and taking back those periods' rows. A close in
// progress writes the same rows: the trial waits for it rather than
// failing on the close's row once it commits.
TEST_F(ConcurrentOperatorsTest, APartialDisposalWaitsForACloseInProgress) {
    ASSERT_EQ(cli_.run(kPrinter).status, 0);
    auto holder = cli_.holdTransaction();
    holder->GetRecordset("Select AMAssetPeriodLock(1, 1, 1) From dual", 3, 1);
    int32_t rows = 0;
    bool done = false;
    holder->ExecSql(
        "Insert Into AMAssetFundBalance (lngAMAssetAlterID, lngAMAssetFundAlterID, lngAMAssetID,"
        " lngAMFundID, intYear, bytPeriod, lngOrganizationID) Select a.lngAMAssetLastAlterID,"
        " f.lngAMAssetFundLastAlterID, a.lngAMAssetID, f.lngAMFundID, 2024, 1, 1"
        " From AMAsset a, AMAssetFund f Where f.lngAMAssetID = a.lngAMAssetID",
        1, rows, done);
    Outcome disposed =
        runBehind(*holder, "asset dispose " + cli_.text("Select Max(strAMAssetCode) From AMAsset") +
                               " --date 2024-03-15 --part 50%");
    EXPECT_EQ(disposed.status, 0) << disposed.out;
}

}  // namespace
}  // namespace tk::test
