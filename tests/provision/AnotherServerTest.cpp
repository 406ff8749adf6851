// An account set moved to a second server, where its books go on; that server backed up whole and
// rebuilt from the backup in another directory, as the README tells, holding the same books.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "AmassetCli.hpp"
#include "TestDatabase.hpp"

namespace tk::test {
namespace {
namespace fs = std::filesystem;

class AnotherServer : public ::testing::Test {
  protected:
    void SetUp() override { fs::create_directories(files); }
    void TearDown() override {
        for (const std::string& dir : {second, rebuilt})
            if (fs::exists(dir)) on(dir, "server stop --remove");
        fs::remove_all(files);
    }
    // The program on the private server of `dir`.
    static Outcome on(const std::string& dir, const std::string& args) {
        return AmassetCli::shell(AmassetCli::program() + " " + args + " --data-dir " + dir +
                                 " 2>&1");
    }

    const std::string pid = std::to_string(getpid());
    const std::string second = "/tmp/tkam-second-" + pid, rebuilt = "/tmp/tkam-rebuilt-" + pid;
    const fs::path files = fs::temp_directory_path() / ("tkam-moved-" + pid);
};

TEST_F(AnotherServer, ASetMovesThereAndTheServerIsRebuiltFromItsWholeBackup) {
    AmassetCli cli("mv");
    const std::string set = cli.accountSet(), register2 = "report register --csv --period 2024-0";
    ASSERT_EQ(cli.run(kPrinter).status, 0);
    ASSERT_EQ(cli.run("period close --period 2024-01 --to 2024-02").status, 0);
    const std::string february = cli.run(register2 + "2").out;
    ASSERT_EQ(on(second, "server start --fresh").status, 0);

    const std::string file = (files / "set.ambackup").string();
    ASSERT_EQ(AmassetCli::runOnServer("accountset backup " + set + " -o " + file).status, 0);
    Outcome moved =
        AmassetCli::shell(AmassetCli::program() + " accountset restore " + file +
                          " --server 'host=" + second + " dbname=amasset user=amasset' 2>&1");
    ASSERT_EQ(moved.status, 0) << moved.out;
    EXPECT_NE(moved.out.find("账套登录口令"), std::string::npos) << "its own login, as created";
    EXPECT_EQ(on(second, register2 + "2 --account-set " + set).out, february);
    Outcome closed = on(second, "period close --period 2024-03 --account-set " + set);
    ASSERT_EQ(closed.status, 0) << closed.out;
    const std::string march = on(second, register2 + "3 --account-set " + set).out;

    const std::string whole = (files / "server").string();
    Outcome saved = on(second, "server backup " + whole);
    ASSERT_EQ(saved.status, 0) << saved.out;
    ASSERT_EQ(on(second, "server stop --remove").status, 0);
    Outcome unpacked = AmassetCli::shell(
        "mkdir -m 700 " + rebuilt + " && tar -xf " + whole + "/base.tar -C " + rebuilt +
        " && tar -xf " + whole + "/pg_wal.tar -C " + rebuilt + "/pg_wal" +
        (geteuid() == 0 ? " && chown -R amasset: " + rebuilt : "") + " 2>&1");
    ASSERT_EQ(unpacked.status, 0) << unpacked.out;
    Outcome started = on(rebuilt, "server start");
    ASSERT_EQ(started.status, 0) << started.out;
    EXPECT_EQ(on(rebuilt, register2 + "3 --account-set " + set).out, march);
}

}  // namespace
}  // namespace tk::test
