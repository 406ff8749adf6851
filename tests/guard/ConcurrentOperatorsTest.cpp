// Several operators on one account set at once: clerks adding assets side by
// side, and closes that meet.
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>
#include <vector>

#include "AmassetCli.hpp"
#include "TestDatabase.hpp"

namespace tk::test {
namespace {

constexpr int kClerks = 8;
constexpr int kAssetsEach = 50;

class ConcurrentOperatorsTest : public ::testing::Test {
  protected:
    std::future<Outcome> inBackground(const std::string& args) {
        return std::async(std::launch::async, [this, args] { return cli_.run(args); });
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
    EXPECT_NEAR(cli_.scalar("Select dblDepreciation From AMAssetDepreciation Where intYear = "
                            "2024 And bytPeriod = 2"),
                month, 0.005);
    EXPECT_NEAR(cli_.scalar("Select Sum(dblDeprection) From AMAssetFundDaily"
                            " Where YearPeriod = 202402"),
                month, 0.005);
}

TEST_F(ConcurrentOperatorsTest, ACloseWaitsForTheOneInProgressAndSaysSo) {
    auto holder = std::make_shared<connect::Connection>();
    holder->ServerName = testServer();
    holder->UserName = cli_.accountSet();
    holder->Open();
    holder->BeginTrans();
    holder->GetRecordset("Select AMAssetPeriodLock(1, 1, 1) From dual", 3, 1);
    auto close = inBackground("period close --period 2024-01");
    EXPECT_EQ(close.wait_for(std::chrono::milliseconds(1500)), std::future_status::timeout);
    holder->CommitTrans();
    Outcome done = close.get();
    EXPECT_EQ(done.status, 0) << done.out;
    EXPECT_NE(done.out.find("正在等待另一个结账完成"), std::string::npos) << done.out;
}

}  // namespace
}  // namespace tk::test
