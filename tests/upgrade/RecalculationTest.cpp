// The recalculation blocks against a year of books the engine wrote month by
// month (the amasset demo): they are the reference the blocks must give back.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iterator>

#include "TestDatabase.hpp"
#include "adjust/clsAMAdjust.hpp"
#include "frame/ComponentFolder.hpp"
#include "provision/AccountSetAdmin.hpp"

namespace tk::am {
namespace {
namespace fs = std::filesystem;

const std::string kSet = "adjdemo_" + std::to_string(getpid());

// Every row of the books, its generated id aside.
const char* const kBooks[] = {
    "select lngAMAssetFundAlterID, intYear, bytPeriod, dblDepreciation, dblInitDepreciation,"
    " dblIncreaseDepreciation, dblWork from AMAssetFundBalance order by 1, 2, 3",
    "select lngAMAssetFundAlterID, intYear, bytPeriod, dblDepreciation, dblWork"
    " from AMAssetFundBalanceEx order by 1, 2, 3",
    "select lngAMAssetFundAlterID, YearPeriod, blnFromDepreciation, lngAMAssetAlterID, strDate,"
    " dblAmountAlter, dblDeprection, dblDeprectionAlter, dblTotalDeprection, dblTotalAmount"
    " from AMAssetFundDaily order by 1, 2, 3, 4, 5, 6, 7, 8, 9, 10",
    "select lngAMAssetFundAlterID, intYear, bytPeriod, bytDirection, lngAccountID,"
    " lngDepartmentID, lngAMAssetFundAccAlterID, dblAmount from AMAssetFundBalanceAmortise"
    " order by 1, 2, 3, 4, 5, 6, 7, 8"};

class Recalculation : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        fs::path amasset = ComponentFolder() / "amasset";
        std::string server = " --account-set " + kSet + " --server '" + test::adminServer() + "'";
        ASSERT_EQ(std::system((amasset.string() + " demo" + server + " >/dev/null").c_str()), 0);
        ASSERT_EQ(std::system((amasset.string() + " amortise" + server + " >/dev/null").c_str()),
                  0);
    }
    static void TearDownTestSuite() { AccountSetAdmin(test::adminServer()).drop(kSet); }

    Recalculation() {
        conn->ServerName = test::testServer();
        conn->UserName = kSet;
        conn->Open();
        adjust.ConnBase = conn;
        adjust.NewUser = kSet;
    }

    std::vector<std::string> books() {
        std::vector<std::string> rows;
        for (const char* sql : kBooks)
            std::ranges::copy(test::SortedRows(*conn, sql), std::back_inserter(rows));
        return rows;
    }
    void execute(const std::string& sql) { test::ExecuteOk(*conn, sql); }

    std::shared_ptr<connect::Connection> conn = std::make_shared<connect::Connection>();
    clsAMAdjust adjust;
};

TEST_F(Recalculation, LeavesSoundBooksAsTheyAreAndRepairsDamagedOnes) {
    const std::vector<std::string> written = books();
    ASSERT_GT(written.size(), 1000u);
    adjust.AdjustData();
    EXPECT_TRUE(adjust.failedScripts().empty());
    EXPECT_EQ(books(), written);

    // a charge of the latest period off by 100.00, and a month gone from the journal
    execute(
        "update AMAssetFundBalance set dblDepreciation = dblDepreciation + 100"
        " where intYear = 2024 and bytPeriod = 12 and lngAMAssetFundAlterID ="
        " (select min(lngAMAssetFundAlterID) from AMAssetFundBalance"
        "  where intYear = 2024 and bytPeriod = 12 and dblDepreciation > 0)");
    execute("delete from AMAssetFundDaily where YearPeriod = 202406");
    execute("delete from AMAssetFundBalanceAmortise where intYear = 2024 and bytPeriod = 12");
    ASSERT_NE(books(), written);
    adjust.AdjustData();
    EXPECT_TRUE(adjust.failedScripts().empty());
    EXPECT_EQ(books(), written);
}

}  // namespace
}  // namespace tk::am
