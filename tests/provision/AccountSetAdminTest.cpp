// Creating and dropping account sets: no silent replacement, names in any
// case, tables that copy between two sets, and nothing left after a drop.
#include <gtest/gtest.h>

#include "TestDatabase.hpp"
#include "connect/Session.hpp"
#include "provision/AccountSetAdmin.hpp"
#include "provision/CrossSetAccess.hpp"

namespace tk::am {
namespace {

using test::TestAccountSet;

int32_t countOf(connect::Connection& conn, const std::string& sql) {
    return conn.GetRecordset(sql, 3, 1)->field(0).toInt32();
}

TEST(AccountSetAdmin, RefusesToRecreateUnlessAskedToReplace) {
    TestAccountSet set("dup");
    AccountSetAdmin admin(test::adminServer());
    AccountSetOptions options;
    EXPECT_THROW(admin.create(set.name(), options), RunTimeError);
    options.replace = true;
    EXPECT_NO_THROW(admin.create(set.name(), options));
    EXPECT_THROW(AccountSetAdmin::schemaName("1abc"), RunTimeError);
    EXPECT_THROW(AccountSetAdmin::schemaName("a;drop"), RunTimeError);
}

TEST(AccountSetAdmin, NamesAreCaseInsensitiveAndShownInUpperCase) {
    TestAccountSet set("Mixed");
    std::string upper = set.name();
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    auto conn = std::make_shared<connect::Connection>();
    conn->ServerName = test::testServer();
    conn->UserName = upper;
    conn->Open();
    EXPECT_EQ(countOf(*conn, "Select Count(*) From " + upper + ".AMAsset"), 0);
    EXPECT_GT(countOf(*conn, "select count(*) from all_tables where owner = '" + upper + "'"), 50);
    bool listed = false;
    for (const auto& info : AccountSetAdmin(test::adminServer()).list())
        listed |= info.name == upper;
    EXPECT_TRUE(listed);
}

// The carry-forward copies whole tables between account sets with
// "Insert … Select *": that only works when both have the same physical order.
TEST(AccountSetAdmin, EveryTableCopiesBetweenTwoAccountSets) {
    TestAccountSet oldSet("old", true), newSet("new");
    CrossSetAccess readOld(test::adminServer(), oldSet.name(), newSet.name());
    auto conn = newSet.connect();
    auto tables = conn->GetRecordset(
        "select table_name from all_tables where owner = upper('" + oldSet.name() + "')", 3, 1);
    int copied = 0;
    for (; !tables->eof(); tables->moveNext()) {
        std::string table = tables->field(0).toText();
        int32_t count = 0;
        bool ok = false;
        conn->ExecSql("Insert Into " + newSet.name() + "." + table + " Select * From " +
                          oldSet.name() + "." + table,
                      1, count, ok);
        EXPECT_TRUE(ok) << table;
        ++copied;
    }
    EXPECT_GT(copied, 50);
    EXPECT_GT(countOf(*conn, "Select Count(*) From " + newSet.name() + ".AMAssetType"), 0);
}

TEST(AccountSetAdmin, DroppingLeavesNothingAndSparesTheOthers) {
    TestAccountSet keep("keep");
    std::string name;
    {
        TestAccountSet gone("gone");
        name = gone.name();
    }
    connect::Session admin(test::adminServer(), "", "");
    auto leftovers = admin.runNative(
        "SELECT (SELECT count(*) FROM pg_namespace WHERE nspname = $1) + "
        "(SELECT count(*) FROM pg_roles WHERE rolname = $1)",
        {{name}, {}});
    EXPECT_STREQ(PQgetvalue(leftovers.get(), 0, 0), "0");
    EXPECT_TRUE(AccountSetAdmin(test::adminServer()).exists(keep.name()));
}

}  // namespace
}  // namespace tk::am
