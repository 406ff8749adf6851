// One company's books are closed to another's login; a carry-forward or an
// upgrade reaches the set it reads only while the run lasts.
#include <gtest/gtest.h>

#include "TestDatabase.hpp"
#include "connect/Session.hpp"
#include "frame/Conversion.hpp"
#include "ledger/LedgerSession.hpp"
#include "provision/AccountSetAdmin.hpp"
#include "provision/CrossSetAccess.hpp"

namespace tk::am {
namespace {

using test::TestAccountSet;

std::string adminValue(const std::string& sql) {
    connect::Session admin(test::adminServer(), "", "");
    connect::PgResult r = admin.runNative(sql);
    return PQntuples(r.get()) > 0 ? PQgetvalue(r.get(), 0, 0) : "";
}

class Isolation : public ::testing::Test {
  protected:
    TestAccountSet a{"isoa", true}, b{"isob", true};
    std::shared_ptr<connect::Connection> loginA = a.connect();

    std::string errorReading(const std::string& table) {
        return test::ErrorOf(*loginA, "Select Count(*) From " + b.name() + "." + table);
    }
};

TEST_F(Isolation, OneSetsLoginCannotReadOrChangeAnother) {
    EXPECT_EQ(test::ErrorOf(*loginA, "Select Count(*) From AMAssetType"), "") << "its own books";
    for (const std::string& attempt :
         {"Select Count(*) From " + b.name() + ".AMAssetType",
          "Delete From " + b.name() + ".AMAssetType",
          "Update " + b.name() + ".Organization Set strName = 'x'",
          "Select " + b.name() + ".AMAssetPeriodLock(1, 1, 0) From dual"})
        EXPECT_NE(test::ErrorOf(*loginA, attempt).find("ORA-01031: permission denied"),
                  std::string::npos)
            << attempt;
    EXPECT_EQ(adminValue("SELECT count(*) FROM pg_auth_members m JOIN pg_roles r ON r.oid = "
                         "m.member WHERE r.rolname = '" +
                         a.name() + "'"),
              "0")
        << "in no shared role";
    EXPECT_NE(adminValue("SELECT count(*) FROM " + b.name() + ".AMAssetType"), "0");
}

TEST_F(Isolation, ARunReadsTheOtherSetOnlyWhileItLasts) {
    {
        CrossSetAccess run(test::adminServer(), b.name(), a.name());
        EXPECT_EQ(errorReading("AMAssetType"), "");
        EXPECT_NE(test::ErrorOf(*loginA, "Delete From " + b.name() + ".AMAssetType"), "")
            << "reading only";
        EXPECT_NE(test::ErrorOf(*loginA, "Insert Into " + b.name() +
                                             ".AMAssetOther (lngAMAssetID) Values (1)"),
                  "");
    }
    EXPECT_NE(errorReading("AMAssetType"), "");
    {
        CrossSetAccess upgrade(test::adminServer(), b.name(), a.name(),
                               CrossSetAccess::Purpose::Upgrade);
        EXPECT_EQ(test::ErrorOf(*loginA, "Insert Into " + b.name() +
                                             ".AMAssetOther (lngAMAssetID) Values (1)"),
                  "");
    }
    EXPECT_NE(errorReading("AMAssetOther"), "");
}

// A set made when every set ran as one shared owner role, and what a run
// killed half way left granted, come back under the set's own login.
TEST_F(Isolation, SecuringTakesAnEarlierSetOutOfTheSharedRole) {
    const std::string script =
        "DO $$ BEGIN IF NOT EXISTS (SELECT 1 FROM pg_roles WHERE rolname = 'amasset_owner') "
        "THEN CREATE ROLE amasset_owner NOLOGIN; END IF; END $$;"
        "GRANT amasset_owner TO {a}, {b}; ALTER ROLE {a} SET role = 'amasset_owner';"
        "ALTER SCHEMA {b} OWNER TO amasset_owner;"
        "ALTER TABLE {b}.AMAssetType OWNER TO amasset_owner;"
        "ALTER FUNCTION {b}.AMAssetPeriodLock(integer, integer, integer) OWNER TO amasset_owner;"
        "DROP FUNCTION {b}.AMAssetPeriodLock(integer, integer, integer);"
        "DROP TABLE {b}.AMAssetFundBasis; DROP FUNCTION {b}.AMAssetCalcAddAll(integer[], integer);"
        "GRANT USAGE ON SCHEMA {b} TO {a}; GRANT SELECT ON ALL TABLES IN SCHEMA {b} TO {a};";
    a.admin(ReplaceAll(ReplaceAll(script, "{a}", a.name()), "{b}", b.name()));
    AccountSetAdmin admin(test::adminServer());
    admin.secure(b.name());
    admin.secure(a.name());
    auto freshA = a.connect();
    EXPECT_NE(test::ErrorOf(*freshA, "Select Count(*) From " + b.name() + ".AMAssetType"), "");
    auto loginB = b.connect();
    EXPECT_EQ(test::ErrorOf(*loginB, "Delete From AMAssetType Where lngAMAssetTypeID = -1"), "");
    EXPECT_EQ(test::ErrorOf(*loginB, "Select AMAssetPeriodLock(1, 1, 0) From dual"), "")
        << "the missing routine is back";
    EXPECT_EQ(test::ErrorOf(*loginB, "Select Count(*) From AMAssetFundBasis"), "")
        << "and so is the table added since";
    EXPECT_EQ(adminValue("SELECT count(*) FROM pg_proc WHERE proname = 'amassetcalcaddall' AND "
                         "pronamespace = '" +
                         b.name() + "'::regnamespace"),
              "1");
    EXPECT_EQ(adminValue("SELECT count(*) FROM pg_class c JOIN pg_namespace n ON n.oid = "
                         "c.relnamespace WHERE n.nspname = '" +
                         b.name() + "' AND c.relowner <> '" + b.name() + "'::regrole"),
              "0");
}

TEST(AccountSetLogin, APasswordIsKeptAsAScramSecret) {
    TestAccountSet set("isopw");
    AccountSetOptions options;
    options.replace = true;
    options.password = "口令 pass'word";
    AccountSetAdmin(test::adminServer()).create(set.name(), options);
    EXPECT_EQ(adminValue("SELECT left(rolpassword, 14) FROM pg_authid WHERE rolname = '" +
                         set.name() + "'"),
              "SCRAM-SHA-256$");
}

// A set made before the period lock existed gets it when an operator opens it.
TEST(OlderAccountSet, GetsThePeriodLockWhenOpened) {
    TestAccountSet set("isolk", true);
    set.admin("DROP FUNCTION " + set.name() + ".AMAssetPeriodLock(integer, integer, integer)");
    ledger::LedgerSession session(set.connect(), 1, set.name());
    EXPECT_EQ(adminValue("SELECT count(*) FROM pg_proc WHERE proname = 'amassetperiodlock' AND "
                         "pronamespace = '" +
                         set.name() + "'::regnamespace"),
              "1");
}

}  // namespace
}  // namespace tk::am
