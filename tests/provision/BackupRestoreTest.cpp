// An account set backed up and restored through the amasset program on the test server: as it
// was after a drop, beside the original as a copy that keeps to itself, in one snapshot while
// assets are added, and all or nothing: a broken file, a failed check or a time limit leaves the
// server as it was.
#include <gtest/gtest.h>
#include <libpq-fe.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <future>
#include <map>
#include <memory>

#include "AmassetCli.hpp"
#include "TestDatabase.hpp"
#include "connect/Session.hpp"
#include "provision/AccountSetAdmin.hpp"
#include "provision/BackupFile.hpp"

namespace tk::test {
namespace {
namespace fs = std::filesystem;

// An asset of the first open period once February is closed.
const std::string kCopier =
    "asset add --category 04-02 --name 复印机 --cost 6000 --method 2 --life 60 --residual-rate 0 "
    "--date 2024-03-05 --department 0101";

std::string first(connect::Session& session, const std::string& sql) {
    connect::PgResult r = session.runNative(sql);
    return PQntuples(r.get()) > 0 && !PQgetisnull(r.get(), 0, 0) ? PQgetvalue(r.get(), 0, 0) : "";
}

class BackupRestore : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(folder);
        ASSERT_EQ(cli.run(kPrinter).status, 0);
        ASSERT_EQ(cli.run("asset add --category 02-01-01 --name 数控车床 --cost 120000 --date "
                          "2024-02-15 --department 0103 --fund 01:60,02:40 --account-line "
                          "510101:0103:70,660201:0101:30")
                      .status,
                  0);
        ASSERT_EQ(cli.run("period close --period 2024-01 --to 2024-02").status, 0);
    }
    void TearDown() override {
        fs::remove_all(folder);
        for (const auto& set : copies)
            if (am::AccountSetAdmin(adminServer()).exists(set))
                am::AccountSetAdmin(adminServer()).drop(set);
    }
    static Outcome amasset(const std::string& args) { return AmassetCli::runOnServer(args); }
    Outcome backup(const fs::path& file) const {
        return amasset("accountset backup " + cli.accountSet() + " -o " + file.string());
    }
    static Outcome restore(const fs::path& file, const std::string& options = "") {
        return amasset("accountset restore " + file.string() + " " + options);
    }
    static Outcome report(const std::string& set, const std::string& which) {
        return amasset("report " + which + " --csv --account-set " + set);
    }
    // A set a restore makes, dropped after the test.
    std::string copy(const std::string& hint) {
        copies.push_back(cli.accountSet() + "_" + hint);
        return copies.back();
    }
    // Every table of the set: its rows in order, by a digest of their own.
    static std::map<std::string, std::string> digests(const std::string& set) {
        connect::Session admin(adminServer(), "", "");
        connect::PgResult tables = admin.runNative(
            "SELECT tablename, format('%I.%I', schemaname, tablename) FROM pg_tables"
            " WHERE schemaname = lower($1)",
            {{set}, {}});
        std::map<std::string, std::string> rows;
        for (int i = 0; i < PQntuples(tables.get()); ++i)
            rows[PQgetvalue(tables.get(), i, 0)] =
                first(admin,
                      "SELECT count(*) || md5(coalesce(string_agg(t::text, '|' ORDER BY"
                      " t::text), '')) FROM " +
                          std::string(PQgetvalue(tables.get(), i, 1)) + " t");
        return rows;
    }
    // The schemas and roles a restore of this test's set could leave behind
    // (other tests work on the server meanwhile).
    std::string schemasAndRoles() const {
        connect::Session admin(adminServer(), "", "");
        const std::string ours = "(name LIKE '" + cli.accountSet() +
                                 "%' OR name LIKE 'amrestore%' OR name LIKE 'amaside%')";
        return first(admin,
                     "SELECT string_agg(name, ',' ORDER BY name) FROM (SELECT nspname AS name"
                     " FROM pg_namespace UNION ALL SELECT 'role ' || rolname FROM pg_roles)"
                     " AS n WHERE " +
                         ours + " OR name LIKE 'role " + cli.accountSet() + "%'");
    }

    AmassetCli cli{"bk"};
    const fs::path folder =
        fs::temp_directory_path() / ("tkam-backup-test-" + std::to_string(getpid()));
    const fs::path file = folder / "set.ambackup";
    std::vector<std::string> copies;
};

TEST_F(BackupRestore, ASetDroppedAndRestoredIsAsItWasAndWorksOn) {
    const std::string registerBefore = cli.run("report register --period 2024-02 --csv").out;
    const auto rowsBefore = digests(cli.accountSet());
    Outcome saved = backup(file);
    ASSERT_EQ(saved.status, 0) << saved.out;
    EXPECT_NE(saved.out.find("已备份到 " + file.string()), std::string::npos) << saved.out;
    ASSERT_EQ(amasset("accountset drop " + cli.accountSet()).status, 0);

    Outcome restored = restore(file);
    ASSERT_EQ(restored.status, 0) << restored.out;
    EXPECT_EQ(digests(cli.accountSet()), rowsBefore);
    EXPECT_EQ(cli.run("report register --period 2024-02 --csv").out, registerBefore);
    // Its own login owns it, its sequences go on past the restored ids and its routines close.
    ASSERT_EQ(cli.run(kCopier).status, 0);
    Outcome closed = cli.run("period close --period 2024-03");
    EXPECT_EQ(closed.status, 0) << closed.out;
    EXPECT_EQ(cli.scalar("Select Count(Distinct lngAMAssetID) From AMAsset"), 3);
}

TEST_F(BackupRestore, ACopyBesideTheOriginalKeepsToItselfAndIsReplacedOnlyWhenAsked) {
    // A routine of an earlier release, which this one no longer makes anew.
    connect::Session admin(adminServer(), "", "");
    const std::string set = cli.accountSet();
    admin.runScript("CREATE FUNCTION " + set + ".earlier_count() RETURNS bigint LANGUAGE sql" +
                    " SET search_path = " + set + ", oracompat, public" +
                    " AS 'SELECT count(*) FROM amasset'; ALTER FUNCTION " + set +
                    ".earlier_count() OWNER TO " + set);
    ASSERT_EQ(backup(file).status, 0);
    const std::string twin = copy("c");
    Outcome restored = restore(file, "--as " + twin);
    ASSERT_EQ(restored.status, 0) << restored.out;
    const auto original = digests(set);
    EXPECT_EQ(digests(twin), original);
    EXPECT_EQ(report(twin, "register --period 2024-02").out,
              cli.run("report register --period 2024-02 --csv").out);

    // The copy's routines work on the copy, the original's on the original.
    ASSERT_EQ(amasset("period close --period 2024-03 --account-set " + twin).status, 0);
    EXPECT_EQ(digests(set), original);
    const auto closedCopy = digests(twin);
    EXPECT_NE(closedCopy, original);
    ASSERT_EQ(cli.run(kCopier).status, 0);
    EXPECT_EQ(first(admin, "SELECT " + set + ".earlier_count()"), "3");
    EXPECT_EQ(first(admin, "SELECT " + twin + ".earlier_count()"), "2");

    Outcome refused = restore(file, "--as " + twin);
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.out.find("已存在; 如需替换请指定 --replace"), std::string::npos)
        << refused.out;
    EXPECT_EQ(digests(twin), closedCopy);
    Outcome replaced = restore(file, "--as " + twin + " --replace");
    ASSERT_EQ(replaced.status, 0) << replaced.out;
    EXPECT_EQ(digests(twin), original);
    // orafce's schemas are no account set's, to back up or replace.
    EXPECT_NE(restore(file, "--as plvstr --replace").out.find("PLVSTR 不是账套, 不能替换"),
              std::string::npos);
    EXPECT_NE(amasset("accountset backup plvstr -o " + (folder / "plvstr").string()).status, 0);
    EXPECT_FALSE(fs::exists(folder / "plvstr"));
}

TEST_F(BackupRestore, AFileCutShortChangedOrOfAnotherKindIsRefusedAndWritesNothing) {
    ASSERT_EQ(backup(file).status, 0);
    const std::string whole = ReadFile(file);
    const am::BackupManifest manifest = am::BackupFile::open(file);
    auto changed = [&](size_t at) {
        std::string bytes = whole;
        bytes[at] ^= 0x20;
        return bytes;
    };
    const std::vector<std::pair<std::string, std::string>> broken = {
        {whole.substr(0, whole.size() / 2), "不是完整的账套备份"},
        {whole.substr(0, whole.size() - 1), "不是完整的账套备份"},
        {whole.substr(0, manifest.archiveBytes), "不是完整的账套备份"},  // pg_dump's alone
        {"SET search_path TO public;\n", "不是完整的账套备份"},
        {changed(manifest.archiveBytes / 2), "账套数据与其校验和不符"},
        {changed(manifest.archiveBytes + 40), "备份清单与其校验和不符"}};
    const std::string before = schemasAndRoles();
    const fs::path bad = folder / "bad.ambackup";
    for (const auto& [bytes, reason] : broken) {
        std::ofstream(bad, std::ios::binary | std::ios::trunc) << bytes;
        Outcome refused = restore(bad, "--as " + copy("b"));
        EXPECT_EQ(refused.status, 1) << reason;
        EXPECT_NE(refused.out.find(reason), std::string::npos) << refused.out;
    }
    EXPECT_EQ(schemasAndRoles(), before);
}

// A file whose rows disagree with its manifest (sealed again by hand) is
// restored on trial, found wrong, and rolled back: --replace kept the old set.
TEST_F(BackupRestore, ARestoreThatFailsItsCheckLeavesTheSetItWouldReplace) {
    ASSERT_EQ(backup(file).status, 0);
    am::BackupManifest manifest = am::BackupFile::open(file);
    fs::resize_file(file, manifest.archiveBytes);
    for (auto& table : manifest.tables)
        if (table.table == "amasset") table.checksum += "1";
    am::BackupFile::seal(file, manifest);
    ASSERT_EQ(cli.run(kCopier).status, 0);
    const auto rowsBefore = digests(cli.accountSet());
    const std::string before = schemasAndRoles();

    Outcome refused = restore(file, "--replace");
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(
        refused.out.find("表 amasset 恢复后与备份清单不符: 应有 2 行, 实有 2 行, 内容校验和不同"),
        std::string::npos)
        << refused.out;
    EXPECT_EQ(schemasAndRoles(), before);
    EXPECT_EQ(digests(cli.accountSet()), rowsBefore);
    EXPECT_EQ(cli.run("report register --period 2024-02").status, 0);
}

// While another operator adds assets, each backup holds the rows of one
// moment: its restore checks every table against the sums taken with it.
TEST_F(BackupRestore, BackupsTakenWhileAssetsAreAddedRestoreWhole) {
    const fs::path adding = folder / "adding";
    std::ofstream(adding).put('\n');
    auto adder = std::async(std::launch::async, [&] {
        return AmassetCli::shell("while [ -e " + adding.string() + " ]; do " +
                                 cli.commandLine(kCopier) + " >/dev/null || exit 1; done");
    });
    // The adder stops when the test ends, whichever way (before it is awaited).
    std::shared_ptr<void> stopAdding(nullptr, [&](void*) { fs::remove(adding); });
    const std::string twin = copy("w");
    connect::Session admin(adminServer(), "", "");
    for (int round = 0; round < 3; ++round) {
        Outcome saved = backup(file);
        ASSERT_EQ(saved.status, 0) << saved.out;
        Outcome restored = restore(file, "--as " + twin + " --replace");
        ASSERT_EQ(restored.status, 0) << restored.out;
        for (const auto& table : am::BackupFile::open(file).tables) {
            if (table.table != "amasset") continue;
            EXPECT_EQ(first(admin, "SELECT count(*) FROM " + twin + ".amasset"),
                      std::to_string(table.rows));
        }
        EXPECT_EQ(first(admin, "SELECT count(*) FROM " + twin +
                                   ".amasset a WHERE NOT EXISTS (SELECT 1 FROM " + twin +
                                   ".amassetfundalter f WHERE f.lngamassetid = a.lngamassetid)"),
                  "0");
    }
    stopAdding.reset();
    EXPECT_EQ(adder.get().status, 0);
    EXPECT_GT(cli.scalar("Select Count(*) From AMAsset"), 4) << "assets were added meanwhile";
}

TEST_F(BackupRestore, ABackupPastItsTimeLimitIsStoppedAndLeavesNoFileNorSession) {
    connect::Session holder(adminServer(), "", "");
    holder.runScript("BEGIN; LOCK TABLE " + cli.accountSet() + ".amasset IN ACCESS EXCLUSIVE MODE");
    Outcome stopped = AmassetCli::shell("TKAM_BACKUP_TIMEOUT=2 " + AmassetCli::program() +
                                        " accountset backup " + cli.accountSet() + " -o " +
                                        file.string() + " --server '" + adminServer() + "' 2>&1");
    EXPECT_EQ(stopped.status, 1);
    EXPECT_NE(stopped.out.find("超过"), std::string::npos) << stopped.out;
    EXPECT_TRUE(fs::is_empty(folder)) << "neither the file nor its partial copy";
    connect::Session admin(adminServer(), "", "");
    EXPECT_EQ(first(admin,
                    "SELECT count(*) FROM pg_stat_activity WHERE application_name LIKE "
                    "'tkam-backup-%' AND query LIKE '%" +
                        cli.accountSet() + "%'"),
              "0");
    holder.runScript("ROLLBACK");
}

}  // namespace
}  // namespace tk::test
