// Adjusting a new account set from the old one's backup scripts and the
// release's fixes: order, failures, recalculations, no password left readable.
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <thread>

#include "AmassetCli.hpp"
#include "OrganizationRows.hpp"
#include "TestDatabase.hpp"
#include "adjust/clsAMAdjust.hpp"
#include "frame/ComponentFolder.hpp"
#include "frame/Context.hpp"
#include "frame/Conversion.hpp"
#include "frame/DataAccess.hpp"
#include "ledger/AssetAdder.hpp"
#include "ledger/AssetAlterer.hpp"
#include "ledger/AssetDisposer.hpp"
#include "ledger/PeriodCloser.hpp"
#include "provision/CrossSetAccess.hpp"

namespace tk::am {
namespace {
namespace fs = std::filesystem;

// Two account sets, the old one holding the backup scripts, and a component
// folder of the test's own (its logs and data) with the console tool in it.
class Adjust : public ::testing::Test {
  protected:
    Adjust() {
        fs::create_directories(component / "data");
        // Runs make their private folders in the temporary directory: one of
        // the test's own, so that tests running beside it cannot be counted.
        fs::create_directories(component / "tmp");
        setenv("TMPDIR", (component / "tmp").c_str(), 1);
        fs::create_symlink(ComponentFolder() / "sqlconsole", component / "sqlconsole");
        SetComponentFolder(component);
        adjust.ConnBase = conn;
        adjust.OldUser = oldSet.name();
        adjust.NewUser = newSet.name();
        adjust.onScript = [this](const std::string& name, size_t, size_t) { ran.push_back(name); };
        execute("create table adj_trace (n number, what varchar2(40))");
        execute("create sequence adj_trace_seq");
        execute("drop table t_backupScript");
    }
    ~Adjust() override {
        unsetenv("TMPDIR");
        SetComponentFolder({});
        fs::remove_all(component);
    }

    void execute(const std::string& sql, connect::Connection* on = nullptr) {
        test::ExecuteOk(on ? *on : *conn, sql);
    }
    void backup(const std::string& no, const std::string& name, const std::string& sql) {
        execute("insert into t_backupScript (strNo, strName, strSql) values ('" + no + "', '" +
                    name + "', '" + QuoteSql(sql) + "')",
                oldConn.get());
    }
    static std::string trace(const std::string& what) {
        return "begin insert into adj_trace values (adj_trace_seq.nextval, '" + what + "'); end;";
    }
    std::string traced() {
        auto rs = conn->GetRecordset("select what from adj_trace order by n", 3, 1);
        std::string out;
        for (; !rs->eof(); rs->moveNext()) out += rs->field(0).toText() + " ";
        return out;
    }
    std::string dbSqlLog() { return test::ReadFile(component / "log" / "DbSql.log"); }

    fs::path component = fs::temp_directory_path() / ("adjust-test-" + std::to_string(getpid()));
    test::TestAccountSet oldSet{"adjold", true}, newSet{"adjnew", true};
    std::shared_ptr<connect::Connection> conn = newSet.connect(), oldConn = oldSet.connect();
    // The new set reads the old one's scripts, as the tool grants it for the run.
    CrossSetAccess readOld{test::adminServer(), oldSet.name(), newSet.name()};
    clsAMAdjust adjust;
    std::vector<std::string> ran;
};

TEST_F(Adjust, RunsOnlyForAnAccountSetNotAdjustedYet) {
    backup("01", "MARK", trace("ran"));
    adjust.UpdateScript();  // equal versions: a copy of the same release
    EXPECT_EQ(traced(), "ran ");
    adjust.UpdateScript();  // the run left the table behind: adjusted now
    EXPECT_EQ(traced(), "ran ");

    execute("drop table t_backupScript");
    execute("update business set strVer = 'a.83.20240102'");
    adjust.UpdateScript();  // a newer release than the bound
    EXPECT_EQ(traced(), "ran ");
    execute("update business set strVer = 'a.83.20160715'");
    adjust.UpdateScript();  // up to the bound
    EXPECT_EQ(traced(), "ran ran ");

    execute("drop table t_backupScript");
    execute("drop table t_backupScript", oldConn.get());
    adjust.UpdateScript();  // nothing to take over
    EXPECT_EQ(traced(), "ran ran ");
}

TEST_F(Adjust, UpdateScriptLeavesTheRecalculationsToAdjustData) {
    backup("02", "SECOND", trace("second"));
    backup("01", "FIRST", trace("first"));
    backup("03", "Z_UPDATE_TABLE",
           "CREATE OR REPLACE PROCEDURE " + UpperAscii(oldSet.name()) +
               ".z_update_table() LANGUAGE plpgsql AS $p$ BEGIN INSERT INTO adj_trace VALUES "
               "(nextval('adj_trace_seq'), 'z_update_table'); END $p$");
    adjust.UpdateScript();
    EXPECT_EQ(ran, (std::vector<std::string>{
                       "FIRST.sql", "SECOND.sql", "Z_UPDATE_TABLE.sql", "Z_UPDATE_TABLE_exe.sql",
                       "z_adj_compileObject_exe.sql", "z_adj_backupScript_exe.sql"}));
    EXPECT_EQ(traced(), "first second z_update_table ");
    EXPECT_TRUE(adjust.failedScripts().empty()) << dbSqlLog();
    // the procedure made in the new account set was kept there for the next one
    auto rs = conn->GetRecordset("select strName from t_backupScript", 3, 1);
    ASSERT_FALSE(rs->eof());
    EXPECT_EQ(rs->field(0).toText(), "Z_UPDATE_TABLE");

    ran.clear();
    std::ofstream(component / "data" / "update.data")
        << "-- fixes of this release\n\nfix_b.sql;\n  -- not this one: "
           "x.sql;\nfix_a.sql;fix_b.sql\n";
    std::ofstream(component / "data" / "fix_a.sql") << "\n" << trace("a") << "\n\n";
    std::ofstream(component / "data" / "fix_b.sql") << trace("b") << "\n";
    adjust.AdjustData();
    EXPECT_EQ(ran, (std::vector<std::string>{"fix_b.sql", "fix_a.sql", "z_adj_reDeprCalc_exe.sql",
                                             "z_adj_reAlterCalc_exe.sql",
                                             "z_adj_reAmortise_exe.sql", "z_adj_reDaily_exe.sql"}));
    EXPECT_EQ(traced(), "first second z_update_table b a ");
    EXPECT_TRUE(adjust.failedScripts().empty()) << dbSqlLog();
}

// The recalculations rebuild what the engine computes from the register, for
// every organisation: on books two organisations kept with the ledger (each
// period closed and apportioned, a change and a disposal among them) they
// give each organisation back, row for row, the books it had.
TEST_F(Adjust, TheRecalculationsGiveEachOrganisationTheBooksItHad) {
    for (int32_t org : {1, 2}) {
        const ledger::LedgerSession session(conn, org, newSet.name());
        context().User = newSet.name();
        context().ConnBase = conn;
        ledger::NewAsset lathe;
        lathe.category = "02-01-01";
        lathe.name = "数控车床";
        lathe.cost = 120000 + 1000 * org;
        lathe.residualRate = 5;
        lathe.date = "2024-01-15";
        lathe.department = org == 1 ? "0103" : "0202";
        lathe.funds = {{"01", 60}, {"02", 40}};
        lathe.accountLines = {{"510101", lathe.department, 70}, {"660201", lathe.department, 30}};
        const std::string code = ledger::AssetAdder(session).add(lathe).second;
        ledger::NewAsset printer = lathe;
        printer.category = "04-02";
        printer.name = "打印机";
        printer.cost = 6000;
        printer.accountLines.clear();
        const std::string gone = ledger::AssetAdder(session).add(printer).second;
        ledger::PeriodCloser(session).close({2024, 1}, {2024, 2});
        ledger::AssetAlteration impairment;
        impairment.date = "2024-03-05";
        impairment.impairment = 2000;
        ledger::AssetAlterer(session).alter(code, impairment);
        ledger::AssetDisposer(session).dispose(gone, "2024-03-20", "08");
        ledger::PeriodCloser(session).close({2024, 3}, {2024, 4});
    }
    const std::vector<std::string> drawn = {"lngamassetfunddailyid",
                                            "lngamassetfundbalanceamortiseid"};
    const auto first = test::RowsOfOrganization(newSet.name(), 1, drawn);
    const auto second = test::RowsOfOrganization(newSet.name(), 2, drawn);
    ASSERT_FALSE(second.at("amassetfundbalanceamortise").empty());
    adjust.AdjustData();
    EXPECT_TRUE(adjust.failedScripts().empty()) << dbSqlLog();
    EXPECT_EQ(test::ChangedRows(first, test::RowsOfOrganization(newSet.name(), 1, drawn)), "");
    EXPECT_EQ(test::ChangedRows(second, test::RowsOfOrganization(newSet.name(), 2, drawn)), "");
}

TEST_F(Adjust, AddsAMissingSlashAndGoesOnAfterAFailure) {
    backup("01", "BLOCK", trace("block"));
    backup("02", "SLASHED", trace("slashed") + "\n/\n");
    backup("03", "BROKEN", "insert into no_such_table values (1);");
    // As with Oracle's console, the added "/" runs a statement that ";" ran already again.
    backup("04", "PLAIN", "insert into adj_trace values (adj_trace_seq.nextval, 'plain');");
    backup("05", "AFTER", trace("after"));
    adjust.UpdateScript();
    EXPECT_EQ(traced(), "block slashed plain plain after ");
    EXPECT_EQ(adjust.failedScripts(), std::vector<std::string>{"BROKEN.sql"});
    std::string log = dbSqlLog();
    EXPECT_NE(log.find("ORA-00942"), std::string::npos) << log;
    EXPECT_NE(log.find("<-执行失败。"), std::string::npos) << log;
}

// A console tool that cannot log in, crashes or hangs may print nothing an
// error code would show: its exit status and the time limit fail the script.
TEST_F(Adjust, AConsoleToolThatEndsBadlyOrHangsFailsTheScript) {
    backup("01", "FIRST", trace("first"));
    auto replaceTool = [&](const std::string& body) {
        fs::remove(component / "sqlconsole");
        std::ofstream(component / "sqlconsole") << "#!/bin/sh\n" << body << "\n";
        fs::permissions(component / "sqlconsole", fs::perms::owner_all);
    };
    replaceTool("exit 3");
    adjust.UpdateScript();
    EXPECT_EQ(adjust.failedScripts().front(), "FIRST.sql");
    EXPECT_NE(dbSqlLog().find("控制台工具退出状态 3<-执行失败。"), std::string::npos) << dbSqlLog();

    replaceTool("sleep 600");
    adjust.ScriptTimeout = 1;
    const size_t failedBefore = adjust.failedScripts().size();
    adjust.UpdateScript();
    EXPECT_EQ(adjust.failedScripts().at(failedBefore), "FIRST.sql");
    EXPECT_NE(dbSqlLog().find("控制台工具运行超过 1 秒, 已终止"), std::string::npos);
    EXPECT_EQ(traced(), "");
}

// Every process's argument list, as anyone on the machine can read it.
std::vector<std::string> commandLines() {
    std::vector<std::string> lines;
    for (const auto& entry : fs::directory_iterator("/proc")) {
        std::string text = test::ReadFile(entry.path() / "cmdline");
        std::replace(text.begin(), text.end(), '\0', ' ');
        if (!text.empty()) lines.push_back(text);
    }
    return lines;
}

std::vector<fs::path> filesUnder(const fs::path& folder) {
    std::vector<fs::path> files;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(folder, ec); !ec && it != end(it);
         it.increment(ec))
        if (it->is_regular_file()) files.push_back(it->path());
    return files;
}

bool aSessionWaitsForTheLock(connect::Connection& conn) {
    auto rs = conn.GetRecordset(
        "select count(*) from pg_locks where locktype = 'advisory' and not granted", 3, 1);
    return rs->field(0).toInt32() > 0;
}

// The runs' private folders in the temporary directory.
std::vector<fs::path> runFolders() {
    std::vector<fs::path> folders;
    for (const auto& entry : fs::directory_iterator(fs::temp_directory_path()))
        if (entry.path().filename().string().starts_with("tkam-adjust-"))
            folders.push_back(entry.path());
    return folders;
}

TEST_F(Adjust, ThePasswordIsNowhereToBeRead) {
    const std::string password = "Pw-" + std::to_string(getpid()) + "-secret";
    conn->Password = password;
    // The script waits on a lock the test holds, so the console is surely running
    // while the watcher reads every command line; then the watcher lets it go.
    auto holder = newSet.connect();
    execute("select pg_advisory_lock(4711) from dual", holder.get());
    backup("01", "WAITS", "select pg_advisory_lock(4711) from dual;");
    auto before = runFolders();
    std::atomic<bool> done{false};
    bool sawConsole = false, sawPassword = false;
    std::thread watcher([&] {
        while (!done && !aSessionWaitsForTheLock(*holder)) std::this_thread::yield();
        for (const auto& line : commandLines()) {
            sawConsole |= line.find("sqlconsole -s") != std::string::npos;
            sawPassword |= line.find(password) != std::string::npos;
        }
        execute("select pg_advisory_unlock(4711) from dual", holder.get());
    });
    adjust.UpdateScript();
    done = true;
    watcher.join();
    EXPECT_TRUE(sawConsole);
    EXPECT_FALSE(sawPassword);
    EXPECT_TRUE(adjust.failedScripts().empty()) << dbSqlLog();
    // the run's files are gone, and no file it wrote holds the password
    EXPECT_EQ(runFolders(), before);
    for (const auto& file : filesUnder(component))
        EXPECT_EQ(test::ReadFile(file).find(password), std::string::npos) << file;

    execute("drop table t_backupScript");
    adjust.KeepScriptFiles = true;
    adjust.UpdateScript();
    std::vector<fs::path> wrappers;
    for (const auto& folder : runFolders())
        if (std::find(before.begin(), before.end(), folder) == before.end())
            wrappers.push_back(folder / "sqlplus.sql");
    ASSERT_EQ(wrappers.size(), 1u);
    EXPECT_NE(test::ReadFile(wrappers[0]).find("set sqlblanklines on;\n--设置日志输出\n--spool "),
              std::string::npos);
    for (const auto& file : filesUnder(wrappers[0].parent_path()))
        EXPECT_EQ(test::ReadFile(file).find(password), std::string::npos) << file;
    fs::remove_all(wrappers[0].parent_path());
}

// The command line names the failed script and says so by its exit status.
TEST_F(Adjust, TheAdjustCommandReportsFailedScripts) {
    backup("01", "BROKEN", "select * from no_such_table;");
    backup("02", "FINE", trace("fine"));
    const test::Outcome run = test::AmassetCli::runOnServer(
        "adjust --account-set " + newSet.name() + " --from " + oldSet.name());
    EXPECT_EQ(run.status, 1) << run.out;
    EXPECT_NE(run.out.find("1 个调整脚本执行失败: BROKEN.sql"), std::string::npos) << run.out;
    EXPECT_EQ(traced(), "fine ");
}

}  // namespace
}  // namespace tk::am
