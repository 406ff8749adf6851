// A server holding account sets of every kind: a set of the older module
// keeps its layout and only changes owner, a set that cannot be brought up to
// date is named, and the sets after it still are.
#include <gtest/gtest.h>
#include <libpq-fe.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "AmassetCli.hpp"
#include "connect/Session.hpp"

namespace tk::test {
namespace {

class ServerWithEverySet : public ::testing::Test {
  protected:
    void TearDown() override {
        if (std::filesystem::exists(dir)) cli("server stop --remove");
    }
    Outcome cli(const std::string& args) const {
        return AmassetCli::shell(AmassetCli::program() + " " + args + " --data-dir " + dir +
                                 " 2>&1");
    }
    std::string admin(const std::string& sql) const {
        connect::Session session("host=" + dir + " dbname=amasset user=amasset", "", "");
        connect::PgResult r = session.runNative(sql);
        return PQntuples(r.get()) > 0 ? PQgetvalue(r.get(), 0, 0) : "";
    }
    std::string tables(const std::string& schema, const std::string& names) const {
        return admin("SELECT count(*) FROM pg_tables WHERE schemaname = '" + schema +
                     "' AND tablename IN (" + names + ")");
    }

    const std::string dir = "/tmp/tkam-every-set-" + std::to_string(getpid());
};

TEST_F(ServerWithEverySet, AnOlderModuleSetKeepsItsLayoutAndAFailedSetStopsNoOther) {
    ASSERT_EQ(cli("server start --fresh").status, 0);
    for (const char* create : {"accountset create OLDCO --older-module-demo",
                               "accountset create ABROKEN", "accountset create CURRENT"}) {
        Outcome made = cli(create);
        ASSERT_EQ(made.status, 0) << made.out;
    }
    // An index the release adds on a column this set has lost; one the
    // current set lacks and gets again.
    admin("ALTER TABLE abroken.amassetfundbalance DROP COLUMN lngorganizationid");
    admin("DROP INDEX current.amassetfundbalance_asset_ix");
    ASSERT_EQ(cli("server stop").status, 0);

    Outcome started = cli("server start");
    EXPECT_EQ(started.status, 0) << started.out;
    EXPECT_NE(started.out.find("账套 ABROKEN: "), std::string::npos) << started.out;
    EXPECT_EQ(started.out.find("OLDCO"), std::string::npos) << started.out;
    EXPECT_EQ(admin("SELECT count(*) FROM pg_indexes WHERE schemaname = 'current'"
                    " AND indexname = 'amassetfundbalance_asset_ix'"),
              "1");
    EXPECT_EQ(tables("oldco", "'amasset', 'amassetalter', 'amassetfundaccalter'"), "0");
    EXPECT_EQ(tables("oldco", "'fixedcard', 'fixedalter', 'asset'"), "3");
    EXPECT_EQ(admin("SELECT count(*) FROM pg_tables WHERE schemaname = 'oldco'"
                    " AND tableowner <> 'oldco'"),
              "0");

    Outcome secured = cli("accountset secure");
    EXPECT_EQ(secured.status, 1) << secured.out;
    EXPECT_NE(secured.out.find("账套 ABROKEN: "), std::string::npos) << secured.out;
    EXPECT_EQ(tables("oldco", "'amasset'"), "0");
}

}  // namespace
}  // namespace tk::test
