// The amasset command end to end: the built program against the test server,
// its effects checked in the account set's tables.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <sstream>

#include "TestDatabase.hpp"
#include "provision/AccountSetAdmin.hpp"

namespace tk::test {
namespace {

// Each test program runs in its own process; the account set is its own too.
const std::string kSet = "clitest_" + std::to_string(getpid());

struct Outcome {
    int status = -1;
    std::string out;
};

// The program sits in the build directory, the parent of this test's own.
std::string program() {
    auto self = std::filesystem::read_symlink("/proc/self/exe");
    return (self.parent_path().parent_path() / "amasset").string();
}

std::string quoted(const std::string& arg) { return "'" + arg + "'"; }

Outcome amasset(const std::string& args) {
    std::string command = program() + " " + args + " --server " + quoted(adminServer()) + " 2>&1";
    Outcome run;
    FILE* pipe = popen(command.c_str(), "r");
    std::array<char, 4096> buffer;
    for (size_t n; (n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0;)
        run.out.append(buffer.data(), n);
    int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

Outcome inSet(const std::string& args) { return amasset(args + " --account-set " + kSet); }

std::vector<std::string> csvFields(const std::string& line) {
    std::vector<std::string> fields(1);
    bool inQuotes = false;
    for (char c : line) {
        if (c == '"')
            inQuotes = !inQuotes;
        else if (c == ',' && !inQuotes)
            fields.emplace_back();
        else
            fields.back() += c;
    }
    return fields;
}

// The fields of the last line of a CSV report: its total.
std::vector<std::string> lastRow(const std::string& csv) {
    std::string last, line;
    for (std::istringstream lines(csv); std::getline(lines, line);)
        if (!line.empty()) last = line;
    return csvFields(last);
}

double amount(std::string text) {
    std::erase(text, ',');
    return std::stod(text);
}

class CliTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        Outcome created = amasset("accountset create " + kSet + " --demo --years 2024 --replace");
        ASSERT_EQ(created.status, 0) << created.out;
    }
    static void TearDownTestSuite() { am::AccountSetAdmin(adminServer()).drop(kSet); }

    // The first column of the query's first row in the account set (Null when none).
    Variant value(const std::string& sql) {
        if (!conn_) {
            conn_ = std::make_shared<connect::Connection>();
            conn_->ServerName = testServer();
            conn_->UserName = kSet;
            conn_->Open();
        }
        auto rs = conn_->GetRecordset(sql, 3, 1);
        return rs->eof() ? Variant() : rs->field(0);
    }
    double scalar(const std::string& sql) {
        Variant v = value(sql);
        return v.isNull() ? 0 : v.toDouble();
    }
    double assets() { return scalar("Select Count(*) From AMAsset"); }
    double everyAssetRow() {
        return scalar(
            "Select (Select Count(*) From AMAsset) + (Select Count(*) From AMAssetAlter) +"
            " (Select Count(*) From AMAssetFund) + (Select Count(*) From AMAssetFundAlter) +"
            " (Select Count(*) From AMAssetFundAccAlter) From dual");
    }

  private:
    std::shared_ptr<connect::Connection> conn_;
};

const std::string kLathe =
    "asset add --category 02-01-01 --name 数控车床 --cost 120000 --date 2024-01-15 --department "
    "0103";

TEST_F(CliTest, AValidAssetIsSavedWithItsFundingSourcesAndLines) {
    double before = assets();
    Outcome run = inSet(kLathe + " --fund 01:60 --fund 02:40 --account-line 510101:0103:100");
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_EQ(assets(), before + 1);
    int32_t asset = static_cast<int32_t>(scalar("Select Max(lngAMAssetID) From AMAsset"));
    std::string of = " Where lngAMAssetID = " + std::to_string(asset);
    EXPECT_EQ(scalar("Select dblAmount From AMAssetAlter" + of), 120000);
    EXPECT_EQ(scalar("Select Count(*) From AMAssetFund" + of), 2);
    EXPECT_EQ(scalar("Select Sum(dblAmount) From AMAssetFundAlter" + of), 120000);
    EXPECT_EQ(scalar("Select dblAmount From AMAssetFundAlter" + of + " And lngAMFundID = 2"),
              48000);
    EXPECT_EQ(scalar("Select Count(*) From AMAssetFundAccAlter l, AMAssetFundAlter fa Where"
                     " l.lngAMAssetFundAlterID = fa.lngAMAssetFundAlterID And fa.lngAMAssetID = " +
                     std::to_string(asset)),
              2);
}

TEST_F(CliTest, BadInputFailsWithAMessageAndWritesNothing) {
    double before = everyAssetRow();
    for (const std::string& bad :
         {std::string("asset add --category 02-01-01 --name 坏 --cost -5 --date 2024-01-15"),
          std::string("asset add --category 02-01-01 --name 坏 --cost 12a --date 2024-01-15"),
          std::string("asset add --category 99-99 --name 坏 --cost 100 --date 2024-01-15"),
          std::string("asset add --category 02-01 --name 坏 --cost 100 --date 2024-01-15"),
          std::string("asset add --category 02-01-01 --name 坏 --cost 100 --date 2030-01-15"),
          std::string(
              "asset add --category 02-01-01 --name 坏 --cost 100 --date 2024-01-15 --fund 09:100"),
          std::string(
              "asset add --category 02-01-01 --name 坏 --cost 100 --date 2024-01-15 --fund 01:50"),
          kLathe + " --org 9", std::string("period close --period 2031-01"),
          std::string("period close --period 2024-02")}) {
        Outcome run = inSet(bad);
        EXPECT_NE(run.status, 0) << bad;
        EXPECT_NE(run.out.find("错误"), std::string::npos) << run.out;
    }
    EXPECT_EQ(everyAssetRow(), before);
    EXPECT_NE(amasset(kLathe + " --account-set nosuchset").status, 0);
}

TEST_F(CliTest, TheRegisterAddsUpToTheJournalAndTheBalances) {
    ASSERT_EQ(inSet(kLathe + " --account-line 510101:0103:70,660201:0101:30").status, 0);
    ASSERT_EQ(inSet("asset add --category 03-01-02 --name 厢式货车 --cost 300000 --method 3 "
                    "--total-work 500000"
                    " --date 2024-01-20 --fund 01:50,02:50")
                  .status,
              0);
    ASSERT_EQ(inSet("asset add --category 04-02 --name 复印机 --cost 36000 --method 5 --life 36"
                    " --residual-rate 0 --date 2024-02-03 --department 0101")
                  .status,
              0);
    Outcome closed = inSet("period close --period 2024-01 --to 2024-04");
    ASSERT_EQ(closed.status, 0) << closed.out;
    EXPECT_NE(closed.out.find("已结账 4 个期间"), std::string::npos) << closed.out;

    Outcome report = inSet("report register --period 2024-04 --csv");
    ASSERT_EQ(report.status, 0) << report.out;
    std::vector<std::string> total = lastRow(report.out);
    ASSERT_EQ(total.size(), 8u) << report.out;
    EXPECT_EQ(total[1], "合计");
    double cost = scalar("Select Sum(dblAmount) From AMAssetFundAlter");
    double depreciation = scalar(
        "Select Sum(dblDepreciation) From AMAssetFundBalance Where intYear * 100 + bytPeriod <= "
        "202404");
    EXPECT_GT(depreciation, 0);
    EXPECT_NEAR(amount(total[4]), cost, 0.005);
    EXPECT_NEAR(
        amount(total[4]),
        scalar("Select Sum(dblAmountAlter) From AMAssetFundDaily Where YearPeriod <= 202404"),
        0.005);
    EXPECT_NEAR(amount(total[5]), depreciation, 0.005);
    EXPECT_NEAR(amount(total[5]),
                scalar("Select Sum(dblDeprection + dblDeprectionAlter) From AMAssetFundDaily"
                       " Where YearPeriod <= 202404"),
                0.005);
    EXPECT_NEAR(amount(total[7]), cost - depreciation - amount(total[6]), 0.005);

    Outcome charges = inSet("report depreciation --period 2024-04 --csv");
    ASSERT_EQ(charges.status, 0) << charges.out;
    EXPECT_NE(charges.out.find("2024-04,510101,折旧费用,生产部"), std::string::npos) << charges.out;
    EXPECT_NEAR(amount(lastRow(charges.out).at(4)),
                scalar("Select Sum(dblDepreciation) From AMAssetFundBalance Where intYear * 100 + "
                       "bytPeriod = 202404"),
                0.005);
}

TEST_F(CliTest, RecordedWorkDrivesTheWorkloadMethodAndARebuildKeepsTheRegister) {
    Outcome added = inSet(
        "asset add --category 03-01-02 --name 冷藏车 --cost 300000 --method 3"
        " --total-work 500000 --residual-rate 5 --date 2024-01-20");
    ASSERT_EQ(added.status, 0) << added.out;
    std::string code = value("Select strAMAssetCode From AMAsset").toText();
    ASSERT_EQ(inSet("period close --period 2024-01").status, 0);
    Outcome work = inSet("asset work " + code + " --period 2024-02 --work 5000");
    ASSERT_EQ(work.status, 0) << work.out;
    EXPECT_NE(inSet("asset work " + code + " --period 2024-02 --work -1").status, 0);
    ASSERT_EQ(inSet("period close --period 2024-02").status, 0);
    EXPECT_EQ(scalar("Select Sum(dblDepreciation) From AMAssetFundBalance Where bytPeriod = 2"),
              285000.0 * 5000 / 500000);

    Outcome journal = inSet("asset show " + code);
    EXPECT_NE(journal.out.find("2,850.00"), std::string::npos) << journal.out;
    std::string before = inSet("report register --period 2024-02 --csv").out;
    ASSERT_EQ(inSet("post --rebuild").status, 0);
    EXPECT_EQ(inSet("report register --period 2024-02 --csv").out, before);
}

TEST_F(CliTest, ADisposedAssetLeavesTheRegisterOnceAndForAll) {
    ASSERT_EQ(inSet(kLathe + " --fund 01:50,02:50 --account-line 510101:0103:100").status, 0);
    ASSERT_EQ(
        inSet("asset add --category 04-02 --name 打印机 --cost 6000 --date 2024-01-10").status, 0);
    std::string lathe =
        value("Select strAMAssetCode From AMAsset Where lngAMAssetTypeID = 10").toText();
    ASSERT_EQ(inSet("period close --period 2024-01 --to 2024-03").status, 0);
    Outcome disposed = inSet("asset dispose " + lathe + " --date 2024-04-10");
    ASSERT_EQ(disposed.status, 0) << disposed.out;
    double rows = everyAssetRow();
    EXPECT_NE(inSet("asset dispose " + lathe + " --date 2024-04-11").status, 0);
    EXPECT_NE(inSet("asset dispose " + lathe + " --date 2024-04-11 --way 01").status, 0)
        << "not a decrease";
    EXPECT_EQ(everyAssetRow(), rows);
    EXPECT_EQ(scalar("Select Count(*) From AMAssetFundAccAlter"), 4)
        << "lines carried to the decrease";

    ASSERT_EQ(inSet("period close --period 2024-04").status, 0);
    std::vector<std::string> total = lastRow(inSet("report register --period 2024-04 --csv").out);
    ASSERT_EQ(total.size(), 8u);
    EXPECT_EQ(amount(total[4]), 6000);
    EXPECT_EQ(amount(total[5]),
              scalar("Select Sum(dblDepreciation) From AMAssetFundBalance b, AMAsset a"
                     " Where a.lngAMAssetID = b.lngAMAssetID And a.lngAMAssetTypeID = 22"));
}

TEST_F(CliTest, AnAlterationSharesItsChangesOverTheSourcesAndMovesTheAsset) {
    ASSERT_EQ(inSet(kLathe + " --fund 01:60,02:40 --account-line 510101:0103:100").status, 0);
    std::string lathe = value("Select strAMAssetCode From AMAsset").toText();
    ASSERT_EQ(inSet("period close --period 2024-01 --to 2024-04").status, 0);
    double rows = everyAssetRow();
    for (const std::string& bad :
         {std::string(" --date 2024-05-05"), std::string(" --date 2024-05-05 --cost 120000"),
          std::string(" --date 2024-05-05 --residual 200000"),
          std::string(" --date 2024-05-05 --impairment 130000"),
          std::string(" --date 2024-05-05 --department 9999"),
          std::string(" --date 2024-05-05 --cost 1 --way 01"),
          std::string(" --date 2024-05-05 --method 3"),
          std::string(" --date 2024-03-05 --cost 150000")}) {
        Outcome run = inSet("asset alter " + lathe + bad);
        EXPECT_NE(run.status, 0) << bad;
        EXPECT_NE(run.out.find("错误"), std::string::npos) << run.out;
    }
    EXPECT_NE(inSet(kLathe).status, 0) << "an addition dated in a depreciated period";
    EXPECT_EQ(everyAssetRow(), rows);

    Outcome revalued =
        inSet("asset alter " + lathe + " --date 2024-05-05 --cost 150000 --impairment 1000");
    ASSERT_EQ(revalued.status, 0) << revalued.out;
    const std::string latest =
        " From AMAssetFundAlter fa, AMAssetFund f Where fa.lngAMAssetFundAlterID ="
        " f.lngAMAssetFundLastAlterID";
    EXPECT_EQ(scalar("Select dblAmountAlter" + latest + " And f.lngAMFundID = 1"), 18000);
    EXPECT_EQ(scalar("Select dblDecAmountAlter" + latest + " And f.lngAMFundID = 2"), 400);
    EXPECT_EQ(scalar("Select Sum(dblAmount)" + latest), 150000);
    Outcome moved = inSet("asset alter " + lathe + " --date 2024-05-20 --department 0101");
    ASSERT_EQ(moved.status, 0) << moved.out;
    EXPECT_EQ(scalar("Select Count(*) From AMAssetFundAccAlter l, AMAssetFund f"
                     " Where l.lngAMAssetFundAlterID = f.lngAMAssetFundLastAlterID"
                     " And l.lngDepartmentID = 1"),
              2)
        << "the lines follow the asset to its new department";

    ASSERT_EQ(inSet("period close --period 2024-05 --to 2024-06").status, 0);
    // The changes take effect from June: what is left to depreciate over the life left.
    double accumulated = scalar(
        "Select Sum(dblDepreciation) From AMAssetFundBalance Where intYear * 100 + bytPeriod <= "
        "202405");
    double periodsUsed = scalar(
        "Select Count(Distinct bytPeriod) From AMAssetFundBalance Where dblDepreciation > 0"
        " And bytPeriod <= 5");
    double residual = scalar(
        "Select v.dblNetworth From AMAssetAlter v, AMAsset a"
        " Where v.lngAMAssetAlterID = a.lngAMAssetLastAlterID");
    double life = scalar(
        "Select v.dblUseage From AMAssetAlter v, AMAsset a"
        " Where v.lngAMAssetAlterID = a.lngAMAssetLastAlterID");
    EXPECT_NEAR(scalar("Select Sum(dblDepreciation) From AMAssetFundBalance Where bytPeriod = 6"),
                (150000 - 1000 - accumulated - residual) / (life - periodsUsed), 0.02);

    std::vector<std::string> total = lastRow(inSet("report register --period 2024-06 --csv").out);
    ASSERT_EQ(total.size(), 8u);
    EXPECT_EQ(amount(total[4]), 150000);
    EXPECT_EQ(amount(total[6]), 1000);
    EXPECT_NE(inSet("report register --period 2024-06 --csv").out.find("总经理办公室"),
              std::string::npos);
    EXPECT_NE(inSet("report depreciation --period 2024-06 --csv")
                  .out.find("2024-06,510101,折旧费用,总经理办公室"),
              std::string::npos);
    Outcome shown = inSet("asset show " + lathe);
    EXPECT_NE(shown.out.find("计提减值准备"), std::string::npos) << shown.out;
    EXPECT_NE(shown.out.find("部门调拨"), std::string::npos) << shown.out;
}

TEST_F(CliTest, TheScheduleForecastsWhatThePeriodEndsWillCharge) {
    ASSERT_EQ(inSet(kLathe + " --life 120 --method 2 --residual-rate 5").status, 0);
    ASSERT_EQ(inSet("asset add --category 04-02 --name 复印机 --cost 36000 --method 5 --life 36"
                    " --residual-rate 0 --date 2024-02-03 --department 0101")
                  .status,
              0);
    ASSERT_EQ(inSet("period close --period 2024-01 --to 2024-03").status, 0);
    std::string lathe =
        value("Select strAMAssetCode From AMAsset Where lngAMAssetTypeID = 10").toText();
    ASSERT_EQ(inSet("asset alter " + lathe + " --date 2024-05-10 --impairment 5000").status, 0);
    const std::string written =
        "Select (Select Count(*) From AMAssetFundBalance) + (Select Count(*) From "
        "AMAssetFundBalanceEx) + (Select Count(*) From AMAssetDepreciation) From dual";
    const double rows = scalar(written);
    Outcome forecast = inSet("report schedule --csv");
    ASSERT_EQ(forecast.status, 0) << forecast.out;
    EXPECT_EQ(scalar(written), rows) << "the trial run keeps nothing";
    EXPECT_NE(forecast.out.find("4月*"), std::string::npos) << forecast.out;

    ASSERT_EQ(inSet("period close --period 2024-04 --to 2024-12").status, 0);
    Outcome actual = inSet("report schedule --csv");
    auto body = [](const std::string& csv) { return csv.substr(csv.find('\n')); };
    EXPECT_EQ(body(forecast.out), body(actual.out));
    std::vector<std::string> total = lastRow(actual.out);
    ASSERT_EQ(total.size(), 16u);
    EXPECT_NEAR(amount(total[14]) + amount(total[15]), (120000 * 0.95 - 5000) + 36000, 0.005)
        << "the year and what is left add up to what the schedules depreciate";
}

// A lathe of 120,000 (sources 60/40, residual 6,000, 120 months) charges
// 950.00 a month; a 1,000 impairment in June leaves 108,250 over 115 months
// from July: 941.30.  A 30% partial decrease dated in July takes out 36,000
// of cost with 30% of the impairment, the residual value and the 5,691.30
// depreciated by the end of July, source by source; what stays depreciates
// at 70%: 75,116.09 over the 114 months left, 658.91 a month.
TEST_F(CliTest, APartialDecreaseTakesItsShareOfEveryFigureSourceBySource) {
    ASSERT_EQ(inSet(kLathe + " --life 120 --method 2 --residual-rate 5 --fund 01:60,02:40").status,
              0);
    std::string lathe = value("Select strAMAssetCode From AMAsset").toText();
    ASSERT_EQ(inSet("period close --period 2024-01 --to 2024-05").status, 0);
    ASSERT_EQ(inSet("asset alter " + lathe + " --date 2024-06-10 --impairment 1000").status, 0);
    ASSERT_EQ(inSet("period close --period 2024-06").status, 0);
    Outcome tooMuch = inSet("asset dispose " + lathe + " --date 2024-07-20 --cost-out 120000");
    EXPECT_NE(tooMuch.status, 0);
    EXPECT_NE(tooMuch.out.find("须大于 0 且小于原值 120,000.00"), std::string::npos) << tooMuch.out;

    Outcome part = inSet("asset dispose " + lathe + " --date 2024-07-20 --part 30%");
    ASSERT_EQ(part.status, 0) << part.out;
    auto out = [&](int fund, const std::string& column) {
        return scalar("Select fa." + column +
                      " From AMAssetFundAlter fa, AMAssetFund f Where "
                      "fa.lngAMAssetFundAlterID = f.lngAMAssetFundLastAlterID And f.lngAMFundID "
                      "= " +
                      std::to_string(fund));
    };
    EXPECT_EQ(out(1, "dblAmountAlter"), -21600);
    EXPECT_EQ(out(2, "dblAmountAlter"), -14400);
    EXPECT_EQ(out(1, "dblDepreciationAlter"), -1024.43) << "30% of 3,414.78";
    EXPECT_EQ(out(2, "dblDepreciationAlter"), -682.96) << "30% of 2,276.52";
    EXPECT_EQ(out(1, "dblDecAmountAlter") + out(2, "dblDecAmountAlter"), -300);
    EXPECT_EQ(out(1, "dblNetworthAlter") + out(2, "dblNetworthAlter"), -1800);

    ASSERT_EQ(inSet("period close --period 2024-07 --to 2024-12").status, 0);
    auto charged = [&](int period) {
        return scalar("Select Sum(dblDepreciation) From AMAssetFundBalance Where bytPeriod = " +
                      std::to_string(period));
    };
    EXPECT_NEAR(charged(7), 941.30, 0.001) << "July still runs on the whole asset";
    EXPECT_NEAR(charged(8), 658.91, 0.001);
    std::vector<std::string> total = lastRow(inSet("report register --period 2024-12 --csv").out);
    ASSERT_EQ(total.size(), 8u);
    EXPECT_NEAR(amount(total[4]), 84000, 0.001);
    EXPECT_NEAR(amount(total[5]),
                5691.30 - 1707.39 +
                    scalar("Select Sum(dblDepreciation) From AMAssetFundBalance "
                           "Where bytPeriod > 7"),
                0.005)
        << "the register's depreciation is what stays of the months charged";
}

}  // namespace
}  // namespace tk::test
