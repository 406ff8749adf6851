// Copying tables between account sets: list items, conditions, a failing
// table stopping the copy, different layouts by common columns, row by row.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "TestDatabase.hpp"
#include "frame/ComponentFolder.hpp"
#include "frame/Context.hpp"
#include "frame/TableCopier.hpp"

namespace tk::am {
namespace {
namespace fs = std::filesystem;

// List items

TEST(GetListItem, ItemsCountFromOneAfterALeadingLineFeedAndEachListIsSplitAnew) {
    std::string item = "unchanged";
    EXPECT_TRUE(GetListItem("AMAsset,AMAssetAlter,,AMAssetFund", 2, ',', item));
    EXPECT_EQ(item, "AMAssetAlter");
    EXPECT_TRUE(GetListItem("AMAsset,AMAssetAlter,,AMAssetFund", 3, ',', item));
    EXPECT_EQ(item, "");
    EXPECT_TRUE(GetListItem("AMAsset,AMAssetAlter,,AMAssetFund", 4, ',', item));
    EXPECT_EQ(item, "AMAssetFund");
    EXPECT_FALSE(GetListItem("AMAsset,AMAssetAlter,,AMAssetFund", 5, ',', item));
    EXPECT_FALSE(GetListItem("AMAsset,AMAssetAlter,,AMAssetFund", 0, ',', item));
    EXPECT_EQ(item, "AMAssetFund");
    EXPECT_TRUE(GetListItem("\nAMAsset\nAMAssetAlter", 2, '\n', item));
    EXPECT_EQ(item, "AMAssetAlter");
    EXPECT_TRUE(GetListItem("A,B", 2, ',', item));
    EXPECT_TRUE(GetListItem("C;D", 2, ';', item));
    EXPECT_EQ(item, "D");
    EXPECT_TRUE(GetListItem("C;D", 1, ',', item));
    EXPECT_EQ(item, "C;D");
}

// Copying between account sets

class CopyBetweenSets : public ::testing::Test {
  protected:
    test::TestSchema oldSet{"oldset"};
    test::TestSchema newSet{"newset"};
    fs::path folder = fs::temp_directory_path() /
                      ("tkam-copier-" + std::to_string(getpid()) + "-" +
                       ::testing::UnitTest::GetInstance()->current_test_info()->name());

    void SetUp() override {
        fs::remove_all(folder);
        SetComponentFolder(folder);
        context() = Context{};
        context().OldUser = oldSet.name();
        context().NewUser = context().User = newSet.name();
        context().ConnBase = newSet.connect();
    }
    void TearDown() override {
        context() = Context{};
        fs::remove_all(folder);
    }
    void both(const std::string& ddl) {
        oldSet.admin(ddl);
        newSet.admin(ddl);
    }
    std::string rows(const std::string& sql) {
        auto rs = context().ConnBase->GetRecordset(sql, 3, 1);
        std::string out;
        for (; !rs->eof(); rs->moveNext()) {
            for (int i = 0; i < rs->fieldCount(); ++i)
                out += (i ? "," : "") + (rs->field(i).isNull() ? "null" : rs->field(i).toText());
            out += ";";
        }
        return out;
    }
    std::string errSqlLog() {
        std::ifstream in(folder / "log" / "errSql.log", std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
};

TEST_F(CopyBetweenSets, EveryTableOfTheListIsCopied) {
    both(
        "CREATE TABLE AMAsset (lngAMAssetID integer, strName varchar(20));"
        "CREATE TABLE AMAssetAlter (lngAMAssetAlterID integer)");
    oldSet.admin("INSERT INTO AMAsset VALUES (1, '车床'); INSERT INTO AMAssetAlter VALUES (5)");
    std::string errorText = "earlier";
    EXPECT_TRUE(CopyTable("AMAsset,AMAssetAlter", "", errorText));
    EXPECT_EQ(rows("SELECT * FROM AMAsset"), "1,车床;");
    EXPECT_EQ(rows("SELECT * FROM AMAssetAlter"), "5;");
    EXPECT_EQ(errorText, "AMAssetAMAssetAlter");
}

TEST_F(CopyBetweenSets, TheConditionSelectsTheRows) {
    both("CREATE TABLE AMAsset (lngAMAssetID integer, lngOrganizationID integer)");
    oldSet.admin("INSERT INTO AMAsset VALUES (1, 1), (2, 2), (3, 2)");
    std::string errorText;
    EXPECT_TRUE(CopyTable("AMAsset", "lngOrganizationID = 2", errorText));
    EXPECT_EQ(rows("SELECT lngAMAssetID FROM AMAsset ORDER BY 1"), "2;3;");
}

TEST_F(CopyBetweenSets, AFailingTableStopsTheCopyAndIsLogged) {
    both("CREATE TABLE AMAsset (lngAMAssetID integer)");
    oldSet.admin(
        "INSERT INTO AMAsset VALUES (1); CREATE TABLE AMAssetLabel (lngAMAssetLabelID integer);"
        "CREATE TABLE AMAssetAux (lngAMAssetAuxID integer); INSERT INTO AMAssetAux VALUES (4)");
    newSet.admin("CREATE TABLE AMAssetAux (lngAMAssetAuxID integer)");
    std::string errorText;
    EXPECT_FALSE(CopyTable("AMAsset,AMAssetLabel,AMAssetAux", "", errorText));
    EXPECT_EQ(rows("SELECT * FROM AMAsset"), "1;");
    EXPECT_EQ(rows("SELECT * FROM AMAssetAux"), "");
    EXPECT_NE(errorText.find("ORA-00942"), std::string::npos) << errorText;
    std::string statement = " Insert Into " + newSet.name() + ".AMAssetLabel Select * From " +
                            oldSet.name() + ".AMAssetLabel";
    EXPECT_NE(errSqlLog().find("]" + statement + "\r\n"), std::string::npos) << errSqlLog();
}

// Needs the connection's insert arity check (ORA-00913/ORA-00947) and its
// translation of the column map's "(+)" join and "#" names.
TEST_F(CopyBetweenSets, DifferentLayoutsAreCopiedByTheirCommonColumns) {
    oldSet.admin(
        "CREATE TABLE AMAssetType (lngAMAssetTypeID integer, strName varchar(20), strGone "
        "varchar(5));"
        "INSERT INTO AMAssetType VALUES (1, '房屋', 'x'), (2, '设备', 'y')");
    newSet.admin(
        "CREATE TABLE AMAssetType (lngAMAssetTypeID integer, intNew integer DEFAULT 7, "
        "strName varchar(20), strExtra varchar(5) DEFAULT 'z')");
    std::string errorText;
    EXPECT_TRUE(CopyTable("AMAssetType", "", errorText)) << errorText;
    EXPECT_EQ(rows("SELECT * FROM AMAssetType ORDER BY 1"), "1,7,房屋,z;2,7,设备,z;");
}

// Needs the connection to translate the column map's "(+)" join and "#" names.
TEST_F(CopyBetweenSets, RowsAlreadyPresentAreSkipped) {
    both(
        "CREATE TABLE AMAssetMethod (lngAMAssetMethodID integer PRIMARY KEY, strName varchar(20))");
    oldSet.admin("INSERT INTO AMAssetMethod VALUES (1, '购入'), (2, '自建'), (3, '捐赠')");
    newSet.admin("INSERT INTO AMAssetMethod VALUES (2, '自建')");
    std::string errorText;
    EXPECT_TRUE(CopyTable("AMAssetMethod", "lngAMAssetMethodID < 3", errorText)) << errorText;
    EXPECT_EQ(rows("SELECT * FROM AMAssetMethod ORDER BY 1"), "1,购入;2,自建;");
}

// Needs the connection to translate the column map's "(+)" join and "#" names.
TEST_F(CopyBetweenSets, MapColumnsFeedsTheRenamedEtSettingKey) {
    oldSet.admin("CREATE TABLE SysEtSetting (lngSysEtSettingID integer, strName varchar(5))");
    newSet.admin("CREATE TABLE SysEtSetting (lngEtSettingID integer, strName varchar(5))");
    std::string srcCols, dstCols;
    std::string common =
        MapColumns(oldSet.name(), newSet.name(), "SysEtSetting", "SysEtSetting", srcCols, dstCols);
    EXPECT_EQ(common, "STRNAME");
    EXPECT_EQ(srcCols, "lngSysEtSettingID,STRNAME");
    EXPECT_EQ(dstCols, "lngEtSettingID,STRNAME");
}

// Needs the connection to translate PL/SQL blocks.
TEST_F(CopyBetweenSets, RowsByCursorCopiesTheCommonColumnsOfSelectedRows) {
    oldSet.admin(
        "CREATE TABLE AMAssetCustom (lngAMAssetCustomID integer, strOld varchar(5));"
        "INSERT INTO AMAssetCustom VALUES (1, 'a'), (2, 'b')");
    newSet.admin("CREATE TABLE AMAssetCustom (lngAMAssetCustomID integer)");
    EXPECT_TRUE(CopyRowsByCursor("AMAssetCustom", "lngAMAssetCustomID = 2"));
    EXPECT_EQ(rows("SELECT * FROM AMAssetCustom"), "2;");
}

// Needs the connection to translate PL/SQL blocks.
TEST_F(CopyBetweenSets, View1IsCopiedRowByRow) {
    both(
        "CREATE TABLE view1 (Lngviewid integer, Strviewname varchar(20), Strviewsql varchar(200), "
        "Strviewwhere varchar(200), Strprimarykey varchar(50), Blnisunion integer, Struser "
        "varchar(20), "
        "Strcurtable varchar(50), Strextend varchar(50), Strextendcond varchar(50))");
    oldSet.admin(
        "INSERT INTO view1 VALUES (1, '资产', 'select 1', ' ', 'id', 0, 'u', 't', ' ', ' ')");
    std::string errorText;
    EXPECT_TRUE(CopyTable("view1", "", errorText)) << errorText;
    EXPECT_EQ(rows("SELECT Lngviewid, Strviewname FROM view1"), "1,资产;");
}

}  // namespace
}  // namespace tk::am
