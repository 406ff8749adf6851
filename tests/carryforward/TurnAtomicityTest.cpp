// A carry-forward that fails part-way leaves the new set as it was and gives
// the database's reason; inside the host's transaction the host decides.
#include <cstdlib>
#include <filesystem>
#include <string>

#include "CarryForwardFixture.hpp"
#include "connect/Session.hpp"
#include "frame/ComponentFolder.hpp"
#include "frame/Conversion.hpp"

namespace tk::am::test {
namespace {

class TurnAtomicityTest : public CarryForwardTest {
  protected:
    void SetUp() override { BuildYear(); }

    bool RunTurn(std::string& message) {
        clsAMAssetTurn turn = Turn();
        return turn.Execute(message);
    }

    // A trigger on a table of the new set that fails the statement; `when`
    // is the trigger's timing and event, `level` ROW or STATEMENT.
    void InjectFailure(const std::string& table, const std::string& when = "BEFORE INSERT",
                       const std::string& level = "ROW") {
        const std::string schema = next.name();
        accountSet.admin("CREATE OR REPLACE FUNCTION " + schema +
                         ".injected_failure() RETURNS trigger LANGUAGE plpgsql AS $$BEGIN "
                         "RAISE EXCEPTION 'injected failure'; END$$;"
                         "CREATE TRIGGER injected_failure " +
                         when + " ON " + schema + "." + table + " FOR EACH " + level +
                         " EXECUTE FUNCTION " + schema + ".injected_failure();");
        injectedOn_ = table;
    }
    // The journal rebuild fails on the last asset, after it has drawn ids.
    void InjectJournalFailure() {
        InjectFailure("AMAssetFundDaily");
        accountSet.admin("CREATE OR REPLACE FUNCTION " + next.name() +
                         ".injected_failure() RETURNS trigger LANGUAGE plpgsql AS $$BEGIN "
                         "IF NEW.lngAMAssetID = " +
                         std::to_string(assets.declining) +
                         " THEN RAISE EXCEPTION 'injected failure'; END IF; RETURN NEW; END$$;");
    }
    void RemoveFailure() {
        accountSet.admin("DROP TRIGGER injected_failure ON " + next.name() + "." + injectedOn_);
    }

    // No sequence of the new set stands below where it stood in `before`.
    void ExpectNoSequenceBelow(const Image& before) {
        for (const auto& [sequence, value] : Sequences())
            EXPECT_GE(std::stoll(value), std::stoll(before.sequences.at(sequence))) << sequence;
    }

  private:
    std::string injectedOn_;
};

// A run that fails part-way leaves the new account set's rows exactly as it
// found them, whether it was empty or held an earlier run, and no sequence
// below where it stood; the next run succeeds and gives the rows the first
// one gave.
TEST_F(TurnAtomicityTest, AFailedRunLeavesTheNewSetAsItWasAndARerunGivesTheSameRows) {
    const std::string drawnIds = "lngAMAssetFundDailyID";
    Image empty = NewImage();
    InjectJournalFailure();
    std::string message;
    EXPECT_FALSE(RunTurn(message));
    EXPECT_EQ(NewImage().tables, empty.tables);
    ExpectNoSequenceBelow(empty);

    RemoveFailure();
    ASSERT_TRUE(RunTurn(message)) << message;
    Image first = NewImage(drawnIds);
    EXPECT_FALSE(first.tables["AMAssetAlter"].empty());
    EXPECT_FALSE(first.tables["summary"].empty());

    Image before = NewImage();
    InjectJournalFailure();
    EXPECT_FALSE(RunTurn(message));
    EXPECT_EQ(NewImage().tables, before.tables);
    ExpectNoSequenceBelow(before);

    RemoveFailure();
    ASSERT_TRUE(RunTurn(message)) << message;
    EXPECT_EQ(NewImage(drawnIds).tables, first.tables);
}

// Whatever way the failing statement was sent (the clearing through the
// component's SQL, the opening records in PostgreSQL's own dialect, the
// journal through a stored routine), the run's reason is the database's own
// text, and so is the log's; a statement sent natively is logged as the
// others are.
TEST_F(TurnAtomicityTest, AFailedStepGivesTheDatabasesReason) {
    struct Failure {
        const char* table;
        const char* when;
        const char* level;
        const char* statement;  // the start of the failed statement in "errSql", if logged there
    };
    const Failure failures[] = {
        {"AMAssetFundCostAlter", "BEFORE DELETE", "STATEMENT", "Delete From"},
        {"AMAssetAlter", "BEFORE INSERT", "ROW", "AMAssetAlter (lngAMAssetAlterID,"},
        {"AMAssetFundDaily", "BEFORE INSERT", "ROW", nullptr}};
    for (const Failure& f : failures) {
        SCOPED_TRACE(f.table);
        InjectFailure(f.table, f.when, f.level);
        const std::string logged = Log("errSql");
        std::string message;
        EXPECT_FALSE(RunTurn(message));
        EXPECT_NE(message.find("injected failure"), std::string::npos) << message;
        EXPECT_EQ(message.find("无法清除"), std::string::npos) << message;
        EXPECT_NE(Log("固定资产结转").find("injected failure"), std::string::npos);
        if (f.statement) {
            const std::string added = Log("errSql").substr(logged.size());
            EXPECT_NE(added.find("injected failure"), std::string::npos) << added;
            EXPECT_NE(added.find(f.statement), std::string::npos) << added;
        }
        RemoveFailure();
    }
    std::string message;
    ASSERT_TRUE(RunTurn(message)) << message;
    EXPECT_NE(Log("sql").find("UPDATE " + next.name() + ".AMAssetAlter"), std::string::npos)
        << "the opening records' statements in PostgreSQL's dialect are logged too";
}

// An id another operator of the new set draws while a run is under way stays
// his: the run's failure does not set the sequence back to hand it out again.
TEST_F(TurnAtomicityTest, AnIdDrawnByAnotherSessionDuringAFailedRunIsNotHandedOutAgain) {
    InjectJournalFailure();
    clsAMAssetTurn turn = Turn();
    auto other = next.connect();
    int64_t drawnMeanwhile = 0;
    turn.onStep = [&](const std::string& step, size_t, size_t) {
        if (step != "复制本期变动") return;
        for (int draw = 0; draw < 3; ++draw)
            drawnMeanwhile = other->GetRecordset("Select AMAssetAlter_SEQ.NEXTVAL From dual", 3, 1)
                                 ->field(0)
                                 .toInt32();
    };
    std::string message;
    EXPECT_FALSE(turn.Execute(message));
    ASSERT_GT(drawnMeanwhile, 0);
    auto later = next.connect();
    auto rs = later->GetRecordset("Select AMAssetAlter_SEQ.NEXTVAL From dual", 3, 1);
    EXPECT_GT(rs->field(0).toInt32(), drawnMeanwhile);
}

// What the engine would refuse to depreciate stops the carry-forward, as the
// change routine stops it for one asset: here an asset the old set holds
// without a funding source. The reason names the asset and the routine's
// rule, and the new set is left as it was.
TEST_F(TurnAtomicityTest, AnAssetTheEngineRefusesStopsTheRunWithItsCode) {
    Execute("Delete From AMAssetFund Where lngAMAssetID = " + std::to_string(assets.impaired));
    Image before = NewImage();
    std::string message;
    EXPECT_FALSE(RunTurn(message));
    EXPECT_NE(message.find("资产 A" + std::to_string(assets.impaired) + " "), std::string::npos)
        << message;
    EXPECT_NE(message.find("资产没有资金来源"), std::string::npos) << message;
    EXPECT_EQ(NewImage().tables, before.tables);
}

// Inside the host's transaction the host decides: its rollback undoes the run.
// The company's repair scripts run before the run's transaction takes a
// lock: a script that alters the new set's Business table would otherwise
// wait for the run, and the run for the script.
TEST_F(TurnAtomicityTest, TheRepairScriptsRunBeforeTheRunHoldsAnyLock) {
    std::filesystem::create_directories(logFolder);
    std::filesystem::create_symlink(LibraryFolder() / "sqlconsole", logFolder / "sqlconsole");
    setenv("TKAM_SCRIPT_TIMEOUT", "60", 1);
    next.admin("DROP TABLE t_backupScript");
    accountSet.admin(
        "INSERT INTO t_backupScript (strNo, strName, strSql) VALUES ('01', 'REPAIR',"
        " 'alter table " +
        UpperAscii(accountSet.name()) +
        ".business add strRepaired varchar2(20)' || chr(10) || '/')");
    std::string message;
    const bool done = RunTurn(message);
    unsetenv("TKAM_SCRIPT_TIMEOUT");
    ASSERT_TRUE(done) << message;
    EXPECT_EQ(
        NewScalar("Select Count(*) From all_tab_columns Where owner = '" + UpperAscii(next.name()) +
                  "' And table_name = 'BUSINESS' And column_name = 'STRREPAIRED'"),
        1)
        << Log("DbSql");
}

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
