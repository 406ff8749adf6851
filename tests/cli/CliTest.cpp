// The amasset command end to end: the built program against the test server,
// its effects checked in the account set's tables. The books themselves are
// the ledger tests' concern; these prove what the command passes on and shows.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "AmassetCli.hpp"
#include "TestDatabase.hpp"
#include "provision/AccountSetAdmin.hpp"

namespace tk::test {
namespace {

const std::string kLathe =
    "asset add --category 02-01-01 --name 数控车床 --cost 120000 --date 2024-01-15 --department "
    "0103";

// A fresh account set per test: one run of the whole program must not see another test's assets.
class CliTest : public ::testing::Test {
  protected:
    double everyAssetRow() const {
        return cli.scalar(
            "Select (Select Count(*) From AMAsset) + (Select Count(*) From AMAssetAlter) +"
            " (Select Count(*) From AMAssetFund) + (Select Count(*) From AMAssetFundAlter) +"
            " (Select Count(*) From AMAssetFundAccAlter) From dual");
    }

    AmassetCli cli{"clitest"};
};

TEST_F(CliTest, AnAdditionSaysWhatItSavedAndBadInputFailsWithAMessage) {
    Outcome run = cli.run(kLathe + " --fund 01:60 --fund 02:40 --account-line 510101:0103:100");
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_NE(
        run.out.find("资产已新增: " + cli.text("Select strAMAssetCode From AMAsset") + " 数控车床"),
        std::string::npos)
        << run.out;
    double before = everyAssetRow();
    for (const std::string& bad :
         {std::string("asset add --category 02-01-01 --name 坏 --cost 12a --date 2024-01-15"),
          std::string(
              "asset add --category 02-01-01 --name 坏 --cost 100 --date 2024-01-15 --fund 01"),
          kLathe + " --org 9", std::string("period close --period 2024-02"),
          std::string("report depreciation --period 2031-01")}) {
        Outcome refused = cli.run(bad);
        EXPECT_NE(refused.status, 0) << bad;
        EXPECT_NE(refused.out.find("错误"), std::string::npos) << refused.out;
    }
    EXPECT_EQ(everyAssetRow(), before);
    EXPECT_NE(AmassetCli::runOnServer(kLathe + " --account-set nosuchset").status, 0);
}

TEST_F(CliTest, ReportsGivePlainNumbersInCsvAndAlignedColumnsOnTheTerminal) {
    ASSERT_EQ(cli.run(kLathe + " --account-line 510101:0103:70,660201:0101:30").status, 0);
    ASSERT_EQ(cli.run("asset add --category 04-02 --name 复印机 --cost 36000 --method 5 --life 36"
                      " --residual-rate 0 --date 2024-02-03 --department 0101")
                  .status,
              0);
    Outcome closed = cli.run("period close --period 2024-01 --to 2024-04");
    ASSERT_EQ(closed.status, 0) << closed.out;
    EXPECT_NE(closed.out.find("已结账 4 个期间"), std::string::npos) << closed.out;

    Outcome csv = cli.run("report register --period 2024-04 --csv");
    ASSERT_EQ(csv.status, 0) << csv.out;
    std::vector<std::string> total = LastCsvRow(csv.out);
    ASSERT_EQ(total.size(), 8u) << csv.out;
    EXPECT_EQ(total[1], "合计");
    EXPECT_EQ(total[4], "156000.00") << "a spreadsheet reads a number";
    Outcome terminal = cli.run("report register --period 2024-04");
    EXPECT_NE(terminal.out.find("156,000.00"), std::string::npos) << terminal.out;

    Outcome charges = cli.run("report depreciation --from 2024-03 --to 2024-04 --csv");
    ASSERT_EQ(charges.status, 0) << charges.out;
    EXPECT_NE(charges.out.find("2024-04,510101,折旧费用,生产部,"), std::string::npos)
        << charges.out;
    EXPECT_EQ(charges.out.find("2024-02"), std::string::npos) << "outside the range";
    Outcome byFund = cli.run("report depreciation --period 2024-04 --by-fund --csv");
    EXPECT_NE(byFund.out.find("2024-04,自有资金,"), std::string::npos) << byFund.out;
}

TEST_F(CliTest, AnHtmlReportIsOneSelfContainedPageWithItsChart) {
    ASSERT_EQ(cli.run(kLathe + " --account-line 510101:0103:100").status, 0);
    ASSERT_EQ(cli.run("period close --period 2024-01 --to 2024-03").status, 0);
    const std::filesystem::path page =
        std::filesystem::temp_directory_path() / (cli.accountSet() + "-schedule.html");
    Outcome terminal = cli.run("report schedule");
    EXPECT_NE(terminal.out.find("4月*"), std::string::npos) << "April is still a forecast";
    Outcome written = cli.run("report schedule --html " + page.string());
    ASSERT_EQ(written.status, 0) << written.out;
    Outcome checked = AmassetCli::shell("python3 " + std::string(TKAM_SOURCE_DIR) +
                                        "/tests/cli/check_html.py " + page.string() + " 2>&1");
    EXPECT_EQ(checked.status, 0) << checked.out;
    EXPECT_NE(checked.out.find("svg 2"), std::string::npos) << checked.out;
    std::filesystem::remove(page);
}

TEST_F(CliTest, AnImportNamesEachBadCellAndAnExportReadsBackOnTrial) {
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() / (cli.accountSet() + "-assets.csv");
    std::ofstream(file) << "资产名称,类别编码,入账日期,原值\n车床,02-01-01,2024-01-15,1x\n"
                           "车床,99-99,2024-01-15,100\n";
    Outcome bad = cli.run("asset import " + file.string());
    EXPECT_EQ(bad.status, 1);
    EXPECT_NE(bad.out.find("第 2 行, 列 原值: 原值不是数值: \"1x\""), std::string::npos) << bad.out;
    EXPECT_NE(bad.out.find("发现 2 处问题, 未写入任何资产"), std::string::npos) << bad.out;

    ASSERT_EQ(cli.run(kLathe).status, 0);
    ASSERT_EQ(cli.run("asset export --output " + file.string()).status, 0);
    const AmassetCli target{"clitest"};
    Outcome trial = target.run("asset import " + file.string() + " --dry-run");
    EXPECT_EQ(trial.status, 0) << trial.out;
    EXPECT_NE(trial.out.find("检查通过: 1 项资产可以导入 (未写入)"), std::string::npos)
        << trial.out;
    std::filesystem::remove(file);
}

// The demo of an upgrade from the older module, as the README shows it.
TEST(CliUpgrade, AnOlderModuleDemoUpgradesWithAllItsCards) {
    const std::string prefix = "cliupgrade_" + std::to_string(getpid());
    const std::string oldSet = prefix + "_old", newSet = prefix + "_new";
    Outcome created = AmassetCli::runOnServer("accountset create " + oldSet +
                                              " --older-module-demo --years 2023,2024 --replace");
    ASSERT_EQ(created.status, 0) << created.out;
    created = AmassetCli::runOnServer("accountset create " + newSet +
                                      " --demo --years 2023,2024,2025 --replace");
    ASSERT_EQ(created.status, 0) << created.out;
    Outcome run = AmassetCli::runOnServer("upgrade --from " + oldSet + " --to " + newSet +
                                          " --old-version 8.50 --new-version a.83.20130430");
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_NE(run.out.find("升级完成"), std::string::npos) << run.out;
    connect::Connection conn;
    conn.ServerName = testServer();
    conn.UserName = newSet;
    conn.Open();
    EXPECT_EQ(conn.GetRecordset("Select Count(*) From AMAsset", 3, 1)->field(0).toInt32(), 36);
    // a labelled card shows what described it in the old module
    const std::string code = conn.GetRecordset(
                                     "Select Min(a.strAMAssetCode) From AMAsset a,"
                                     " AMAssetLabel l Where l.lngAMAssetID = a.lngAMAssetID"
                                     " And a.lngOrganizationID = 1",
                                     3, 1)
                                 ->field(0)
                                 .toText();
    Outcome shown = AmassetCli::runOnServer("asset show " + code + " --account-set " + newSet);
    EXPECT_EQ(shown.status, 0) << shown.out;
    for (const char* expected : {"规格", "标准型", "型号", "M-", "存放地点", "标签", "BQ-",
                                 "使用人", "保修期至", "费用部门", "费用科目"})
        EXPECT_NE(shown.out.find(expected), std::string::npos) << expected << "\n" << shown.out;
    am::AccountSetAdmin admin(adminServer());
    admin.drop(oldSet);
    admin.drop(newSet);
}

}  // namespace
}  // namespace tk::test
