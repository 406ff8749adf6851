// Assets from a CSV file: every bad row found before anything is written, and
// an export that reads back in as the same register.
#include <gtest/gtest.h>

#include <algorithm>

#include "TestDatabase.hpp"
#include "ledger/AssetAdder.hpp"
#include "ledger/AssetExporter.hpp"
#include "ledger/AssetImporter.hpp"
#include "ledger/LedgerQueries.hpp"
#include "ledger/PeriodCloser.hpp"

namespace tk::test {
namespace {

using namespace ledger;

const std::string kHeader =
    "资产编码,资产名称,类别编码,部门编码,入账日期,折旧方法,原值,净残值,使用期间,资金来源,"
    "折旧分摊\r\n";

std::vector<std::string> rowsOf(connect::Connection& conn, const std::string& table) {
    return SortedRows(conn, "Select * From " + table);
}

// The file's line for an asset whose code is drawn.
std::string csvLine(const NewAsset& a) {
    auto number = [](std::optional<double> v) { return v ? formatDouble(*v) : ""; };
    std::string funds, lines;
    for (const auto& f : a.funds)
        funds += (funds.empty() ? "" : ";") + f.code + ":" + formatDouble(f.percent);
    for (const auto& l : a.accountLines)
        lines += (lines.empty() ? "" : ";") + l.account + ":" + l.department + ":" +
                 formatDouble(l.percent);
    return "," + a.name + "," + a.category + "," + a.department + "," + a.date + "," +
           (a.method ? std::to_string(*a.method) : "") + "," + formatDouble(a.cost) + "," +
           number(a.residual) + "," + number(a.life) + "," + funds + "," + lines + "\n";
}

class AssetImportTest : public ::testing::Test {
  protected:
    double assetRows() {
        auto rs = conn_->GetRecordset(
            "Select (Select Count(*) From AMAsset) + (Select Count(*) From AMAssetFundAlter) +"
            " (Select Count(*) From AMAssetFundAccAlter) + (Select Count(*) From AMAssetAlter)"
            " From dual",
            3, 1);
        return rs->field(0).toDouble();
    }

    TestAccountSet set_{"import", true};
    std::shared_ptr<connect::Connection> conn_ = set_.useOnThisThread();
    LedgerSession session_{conn_, 1, set_.name()};
};

TEST_F(AssetImportTest, EveryBadRowIsReportedAndNothingIsWritten) {
    const double before = assetRows();
    const std::string file =
        "\xEF\xBB\xBF" + kHeader +
        "A-1,\"车床, 数控\",02-01-01,0103,2024-01-15,2,120000,6000,120,01:60;02:40,"
        "510101:0103:100\r\n"                                        // 2: good
        "A-2,车床,02-01-01,0103,2024-01-15,,12a,,,,\r\n"             // 3: not a number
        "A-3,车床,99-99,0103,2024-01-15,,100,,,,\r\n"                // 4: no such category
        "A-4,车床,02-01-01,9999,2024-01-15,,100,,,,\r\n"             // 5: no such department
        "A-5,车床,02-01-01,0103,2030-01-15,,100,,,,\r\n"             // 6: outside the periods
        "A-6,车床,02-01-01,0103,2024-01-15,,100,,,01:50,\r\n"        // 7: shares short of 100
        "A-7,车床,02-01-01,0103,2024-01-15,,100,,,,510101:0103\r\n"  // 8: malformed line
        "A-8,车床,02-01-01,0103,2024-01-15,9,100,,,,\r\n"            // 9: no such method
        "A-9,,02-01-01,0103,2024-01-15,,100,,,,\r\n"                 // 10: no name
        "A-1,车床,02-01-01,0103,2024-01-15,,100,,,,\r\n"             // 11: code twice in the file
        "A-10,车床,02-01-01,0103,2024-01-15,,100,,,,,extra\r\n";     // 12: a cell too many
    const ImportResult result = AssetImporter(session_).import(file, false);
    std::vector<std::pair<size_t, std::string>> found;
    for (const auto& p : result.problems) {
        found.emplace_back(p.row, p.column);
        EXPECT_FALSE(p.reason.empty());
    }
    const std::vector<std::pair<size_t, std::string>> expected = {
        {3, "原值"},     {4, "类别编码"}, {5, "部门编码"},  {6, "入账日期"},  {7, "资金来源"},
        {8, "折旧分摊"}, {9, "折旧方法"}, {10, "资产名称"}, {11, "资产编码"}, {12, ""}};
    EXPECT_EQ(found, expected);
    EXPECT_FALSE(result.written);
    EXPECT_EQ(assetRows(), before);

    const ImportResult header = AssetImporter(session_).import(
        "资产名称,类别编码,入账日期,颜色\n车床,02-01-01,2024-01-15,红\n", false);
    ASSERT_EQ(header.problems.size(), 2u);
    EXPECT_EQ(header.problems[0].column, "颜色");
    EXPECT_EQ(header.problems[1].column, "原值");
    EXPECT_EQ(header.problems[1].row, 1u);
}

TEST_F(AssetImportTest, ATrialRunKeepsNothingAndTheRealOneWritesEveryRow) {
    const std::string file = kHeader +
                             ",车床,02-01-01,0103,2024-01-15,,120000,,,,\n"
                             ",\"复印机 \"\"A3\"\"\",04-02,0101,2024-02-03,5,36000,0,36,,\n";
    const double before = assetRows();
    const ImportResult trial = AssetImporter(session_).import(file, true);
    EXPECT_TRUE(trial.problems.empty());
    EXPECT_EQ(trial.rows, 2u);
    EXPECT_FALSE(trial.written);
    EXPECT_EQ(assetRows(), before);
    size_t reported = 0;
    const ImportResult real =
        AssetImporter(session_).import(file, false, [&](size_t done, size_t) { reported = done; });
    EXPECT_TRUE(real.written);
    EXPECT_EQ(reported, 2u);
    const auto assets = LedgerQueries(session_).assets();
    ASSERT_EQ(assets.size(), 2u);
    EXPECT_EQ(assets[1].name, "复印机 \"A3\"");
}

TEST_F(AssetImportTest, AnExportReadsBackIntoAnEmptyAccountSetAsTheSameRegister) {
    const std::string file =
        kHeader +
        ",车床,02-01-01,0103,2024-01-15,2,100000,5000,120,01:33.3333333333333;"
        "02:33.3333333333333;03:33.3333333333334,510101:0103:70;660201:0101:30\n"
        ",货车,03-01-02,0104,2024-03-20,3,300000,15000,500000,01:50;02:50,\n"
        ",复印机,04-02,0101,2024-02-03,5,36000,0,36,,\n";
    ASSERT_TRUE(AssetImporter(session_).import(file, false).written);
    const std::string exported = AssetExporter(session_).csv();

    TestAccountSet empty("import", true);
    auto other = empty.useOnThisThread();
    LedgerSession target(other, 1, empty.name());
    const ImportResult again = AssetImporter(target).import(exported, false);
    ASSERT_TRUE(again.problems.empty()) << again.problems.front().reason;
    EXPECT_EQ(AssetExporter(target).csv(), exported);
    auto fundCosts = [](connect::Connection& conn) {
        auto rs = conn.GetRecordset(
            "Select Sum(dblAmount * lngAMFundID), Count(*) From AMAssetFundAlter", 3, 1);
        return std::make_pair(rs->field(0).toDouble(), rs->field(1).toInt32());
    };
    EXPECT_EQ(fundCosts(*other), fundCosts(*conn_)) << "each source's cent as before";
}

TEST_F(AssetImportTest, AFileWritesTheRowsAddingItsAssetsOneByOneWrites) {
    auto asset = [](std::string name, std::string category, std::string department,
                    std::string date, std::optional<int16_t> method, double cost,
                    std::optional<double> residual, std::optional<double> life,
                    std::vector<NewAsset::Fund> funds, std::vector<NewAsset::AccountLine> lines) {
        NewAsset a;
        a.name = std::move(name);
        a.category = std::move(category);
        a.department = std::move(department);
        a.date = std::move(date);
        a.method = method;
        a.cost = cost;
        a.residual = residual;
        a.life = a.totalWork = life;
        a.funds = std::move(funds);
        a.accountLines = std::move(lines);
        return a;
    };
    std::vector<NewAsset> assets;
    for (int round = 0; round < 3; ++round) {
        assets.push_back(asset("车床", "02-01-01", "0103", "2024-01-15", 2, 120000, 6000, 120,
                               {{"01", 60}, {"02", 40}}, {{"510101", "0103", 100}}));
        assets.push_back(asset("货车", "03-01-02", "0104", "2024-02-20", 3, 300000, 15000, 500000,
                               {{"01", 100}}, {}));
        assets.push_back(asset("笔记本电脑", "04-01-02", "0101", "2024-01-03", 5, 8000, 0, 36, {},
                               {{"660201", "0101", 70}, {"660201", "0103", 30}}));
        assets.push_back(asset("会议桌 'A'", "05-01", "0105", "2024-01-09", std::nullopt, 12000,
                               std::nullopt, std::nullopt, {}, {}));
    }
    std::string file =
        "资产编码,资产名称,类别编码,部门编码,入账日期,折旧方法,原值,净残值,"
        "使用期间,资金来源,折旧分摊\n";
    for (const NewAsset& a : assets) file += csvLine(a);
    // January depreciated first: the January assets are charged in it on adding.
    PeriodCloser(session_).close(YearPeriod::parse("2024-01"), YearPeriod::parse("2024-01"));
    const ImportResult imported = AssetImporter(session_).import(file, false);
    ASSERT_TRUE(imported.problems.empty()) << imported.problems.front().reason;

    TestAccountSet other("import", true);
    auto byOne = other.useOnThisThread();
    LedgerSession oneByOne(byOne, 1, other.name());
    PeriodCloser(oneByOne).close(YearPeriod::parse("2024-01"), YearPeriod::parse("2024-01"));
    for (const NewAsset& a : assets) AssetAdder(oneByOne).add(a);
    for (const char* table :
         {"AMAsset", "AMAssetAlter", "AMAssetFund", "AMAssetFundAlter", "AMAssetFundAccAlter",
          "AMAssetTypeNo", "AMAssetFundBalance", "AMAssetFundDaily", "AMAssetDepreciation"})
        EXPECT_EQ(rowsOf(*conn_, table), rowsOf(*byOne, table)) << table;
    EXPECT_GT(rowsOf(*conn_, "AMAssetFundBalance").size(), 0u);

    // A row the engine refuses is named, and nothing of the file is kept.
    const size_t before = rowsOf(*byOne, "AMAsset").size();
    const ImportResult refused = AssetImporter(oneByOne).import(
        file + ",车床,02-01-01,0103,2024-02-15,2,100,500,120,,\n", false);
    ASSERT_EQ(refused.problems.size(), 1u);
    EXPECT_EQ(refused.problems[0].row, assets.size() + 2);
    EXPECT_NE(refused.problems[0].reason.find("净残值"), std::string::npos);
    EXPECT_EQ(rowsOf(*byOne, "AMAsset").size(), before);
}

}  // namespace
}  // namespace tk::test
