#include <string>

#include "CarryForwardFixture.hpp"
#include "connect/Session.hpp"

namespace tk::am::test {
namespace {

class TurnAtomicityTest : public CarryForwardTest {
  protected:
    void SetUp() override { BuildYear(); }

    bool RunTurn(std::string& message) {
        clsAMAssetTurn turn = Turn();
        return turn.Execute(message);
    }

    // The journal rebuild fails on the last asset, after it has drawn ids.
    void InjectFailure() {
        const std::string schema = next.name();
        accountSet.admin("CREATE OR REPLACE FUNCTION " + schema +
                         ".injected_failure() RETURNS trigger LANGUAGE plpgsql AS $$BEGIN "
                         "IF NEW.lngAMAssetID = " +
                         std::to_string(assets.declining) +
                         " THEN RAISE EXCEPTION 'injected failure'; END IF; RETURN NEW; END$$;"
                         "CREATE TRIGGER injected_failure BEFORE INSERT ON " +
                         schema + ".AMAssetFundDaily FOR EACH ROW EXECUTE FUNCTION " + schema +
                         ".injected_failure();");
    }
    void RemoveFailure() {
        accountSet.admin("DROP TRIGGER injected_failure ON " + next.name() + ".AMAssetFundDaily");
    }
};

// A run that fails part-way leaves the new account set exactly as it found
// it, rows and sequences alike, whether it was empty or held an earlier
// run; the next run succeeds and gives the rows the first one gave.
TEST_F(TurnAtomicityTest, AFailedRunLeavesTheNewSetAsItWasAndARerunGivesTheSameRows) {
    const std::string drawnIds = "lngAMAssetFundDailyID";
    Image empty = NewImage();
    InjectFailure();
    std::string message;
    EXPECT_FALSE(RunTurn(message));
    EXPECT_EQ(NewImage().tables, empty.tables);
    EXPECT_EQ(NewImage().sequences, empty.sequences);

    RemoveFailure();
    ASSERT_TRUE(RunTurn(message)) << message;
    Image first = NewImage(drawnIds);
    EXPECT_FALSE(first.tables["AMAssetAlter"].empty());
    EXPECT_FALSE(first.tables["summary"].empty());

    Image before = NewImage();
    InjectFailure();
    EXPECT_FALSE(RunTurn(message));
    Image after = NewImage();
    EXPECT_EQ(after.tables, before.tables);
    EXPECT_EQ(after.sequences, before.sequences);

    RemoveFailure();
    ASSERT_TRUE(RunTurn(message)) << message;
    EXPECT_EQ(NewImage(drawnIds).tables, first.tables);
}

// Inside the host's transaction the host decides: its rollback undoes the run.
TEST_F(TurnAtomicityTest, TheHostsTransactionDecides) {
    Image before = NewImage();
    UseNew();
    nextConn->BeginTrans();
    std::string message;
    ASSERT_TRUE(RunTurn(message)) << message;
    EXPECT_TRUE(nextConn->session().inTransaction());
    EXPECT_GT(NewScalar("Select Count(*) From " + next.name() + ".AMAsset"), 0);
    nextConn->RollbackTrans();
    EXPECT_EQ(NewImage().tables, before.tables);
}

}  // namespace
}  // namespace tk::am::test
