// The shared helpers: schema placeholders and the thread's context, quoting,
// the log files, statement logging, new ids, organisation views and code names.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <thread>

#include "TestDatabase.hpp"
#include "frame/CodeLookup.hpp"
#include "frame/ComponentFolder.hpp"
#include "frame/Context.hpp"
#include "frame/Conversion.hpp"
#include "frame/DataAccess.hpp"
#include "frame/Log.hpp"

namespace tk::am {
namespace {
namespace fs = std::filesystem;

std::string readLog(const fs::path& folder, const std::string& name) {
    std::ifstream in(folder / "log" / (name + ".log"), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int countOf(const std::string& text, const std::string& part) {
    int n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

class LogFolder : public ::testing::Test {
  protected:
    fs::path folder = fs::temp_directory_path() /
                      ("tkam-log-" + std::to_string(getpid()) + "-" +
                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
    void SetUp() override {
        fs::remove_all(folder);
        SetComponentFolder(folder);
    }
    void TearDown() override { fs::remove_all(folder); }
};

TEST(ReplaceSchema, PlaceholdersBecomeSchemaAndDotOrNothing) {
    context() = Context{};
    EXPECT_EQ(ReplaceSchema("Select * From [User]AMAsset"), "Select * From AMAsset");
    context().User = "ZT1";
    context().OldUser = "OLD";
    EXPECT_EQ(ReplaceSchema("[User]A,[OldUser]B,[NewUser]C,[user]D"), "ZT1.A,OLD.B,C,[user]D");
    context() = Context{};
}

TEST(Context, ValuesAreSharedOnAThreadAndPrivateToIt) {
    context().User = "MAIN";
    std::string seen = "unset";
    std::thread([&] {
        seen = context().User;
        context().User = "OTHER";
    }).join();
    EXPECT_EQ(seen, "");
    EXPECT_EQ(context().User, "MAIN");
    setContext(ContextSetter::NewUserAndUser, Variant("NEW"));
    EXPECT_EQ(context().User, "NEW");
    EXPECT_EQ(context().NewUser, "NEW");
    context() = Context{};
}

TEST(QuoteAndErrorTexts, QuotesDoubleAndErrorsAppend) {
    EXPECT_EQ(QuoteSql("O'Brien"), "O''Brien");
    EXPECT_EQ(QuoteSql("plain"), "plain");
    EXPECT_EQ(AppendErrorText({5, "坏了"}, "保存失败"), "保存失败#5:坏了");
    EXPECT_EQ(AppendErrorText({0, ""}, "保存失败"), "保存失败");
    EXPECT_EQ(AppendErrorText({5, "坏了"}, "  "), "#5:坏了");
    EXPECT_EQ(FormatTemplate("{0}.{1}_SEQ {0}", {"S", "T"}), "S.T_SEQ S");
}

TEST_F(LogFolder, LinesAreStampedAndEndedWithCrLf) {
    ASSERT_TRUE(WriteLog("第一行", "check", 0));
    ASSERT_TRUE(WriteLog("second", "check", 0));
    std::string log = readLog(folder, "check");
    EXPECT_TRUE(std::regex_match(
        log, std::regex(R"(\[\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\]第一行\r\n\[[^\]]+\]second\r\n)")))
        << log;
    ASSERT_TRUE(WriteLog("only", "check", 1));
    EXPECT_EQ(countOf(readLog(folder, "check"), "\r\n"), 1);
    ASSERT_TRUE(WriteLog("default name"));
    EXPECT_TRUE(fs::exists(folder / "log" / "TkAMAssetInt.log"));
}

TEST_F(LogFolder, AFileOverTwoMebibytesStartsAfresh) {
    fs::create_directories(folder / "log");
    for (uintmax_t size : {uintmax_t{2097152}, uintmax_t{2097153}}) {
        std::ofstream(folder / "log" / "big.log", std::ios::binary) << std::string(size, 'x');
        WriteLog("entry", "big", 0);
        uintmax_t after = fs::file_size(folder / "log" / "big.log");
        if (size == 2097152)
            EXPECT_GT(after, size);
        else
            EXPECT_LT(after, 100u);
    }
}

TEST_F(LogFolder, ExecuteSqlLogsEveryStatementAndFailuresTwice) {
    test::TestAccountSet set("exec");
    set.useOnThisThread();
    std::string error;
    EXPECT_TRUE(ExecuteSql("Delete From [User]AMAsset Where lngAMAssetID = -1", error));
    EXPECT_EQ(error, "");
    EXPECT_FALSE(ExecuteSql("Delete From [User]NoSuchTable", error));
    EXPECT_TRUE(error.find(":ORA-00942") != std::string::npos) << error;
    std::string sql = readLog(folder, "sql"), errSql = readLog(folder, "errSql");
    EXPECT_EQ(countOf(sql, "AMAsset Where"), 1);
    EXPECT_EQ(countOf(sql, set.name() + ".NoSuchTable"), 1);
    EXPECT_EQ(countOf(errSql, "ExecSql:#"), 1);
    EXPECT_EQ(countOf(errSql, set.name() + ".NoSuchTable"), 1);
    context() = Context{};
}

TEST(DataAccess, NewIdsComeFromTheTablesSequences) {
    test::TestAccountSet set("ids");
    set.useOnThisThread();
    int32_t first = GetNewID("AMAsset");
    EXPECT_GT(first, 0);
    EXPECT_EQ(GetNewID("AMAsset", set.name()), first + 1);
    EXPECT_GT(GetNewID("mmorder"), 0);  // the manufacturing tables share one sequence
    EXPECT_EQ(GetNewID("NoSuchTable"), 0);
    context() = Context{};
}

TEST(DataAccess, OrganizationViewShowsOverridesInPlaceOfCommonRows) {
    test::TestAccountSet set("org", true);
    auto conn = set.useOnThisThread();
    std::string error;
    ASSERT_TRUE(
        ExecuteSql("Insert Into [User]AMAssetMethodEx Select m.*, 7 From [User]AMAssetMethod m "
                   "Where rownum = 1",
                   error))
        << error;
    ASSERT_TRUE(
        ExecuteSql("Update [User]AMAssetMethodEx Set strAMAssetMethodName = '本单位购入'", error));
    auto rs =
        OpenRecordset("Select lngOrganizationID, strAMAssetMethodName From " +
                          OrganizationView("AMAssetMethod", 7) + " Order By lngAMAssetMethodID",
                      3, 1);
    ASSERT_FALSE(rs->eof());
    EXPECT_EQ(rs->field("strAMAssetMethodName").toText(), "本单位购入");
    int rows = 0;
    for (; !rs->eof(); rs->moveNext(), ++rows) EXPECT_EQ(rs->field(0).toInt32(), 7);
    EXPECT_EQ(rows,
              OpenRecordset("Select Count(*) From [User]AMAssetMethod", 3, 1)->field(0).toInt32());
    context() = Context{};
}

TEST(DataAccess, CodeNamesByTableFamilyAndKind) {
    test::TestAccountSet set("codes");
    set.useOnThisThread();
    std::string error;
    ASSERT_TRUE(
        ExecuteSql("Insert Into [User]Class1 (lngClassID, strClassCode, strClassName) Values (3, "
                   "'C1', '统计一')",
                   error))
        << error;
    ASSERT_TRUE(
        ExecuteSql("Insert Into [User]Department (lngDepartmentID, strDepartmentCode, "
                   "strDepartmentName) Values (4, 'D1', '财务部')",
                   error))
        << error;
    ASSERT_TRUE(ExecuteSql(
        "Insert Into [User]Template (lngTemplateID, strTemplateName) Values (5, '卡片')", error))
        << error;
    EXPECT_EQ(GetCodeName(3, "Class1", 0, 0), "C1 统计一");
    EXPECT_EQ(GetCodeName(4, "Department", 1, 0), "D1");
    EXPECT_EQ(GetCodeName(4, "Department", 2, 0), "财务部");
    EXPECT_EQ(GetCodeName(4, "Department", 5, 0), "");
    EXPECT_EQ(GetCodeName(5, "Template", 1, 0), " ");
    EXPECT_EQ(GetCodeName(99, "Department", 0, 0), "");
    context() = Context{};
}

}  // namespace
}  // namespace tk::am
