// A close cut short, by killing the tool or the server: each period is closed
// wholly or not at all, the close run again completes the year, and the
// server starts again over its stale lock file and unclean shutdown.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "AmassetCli.hpp"
#include "BooksInvariant.hpp"
#include "connect/Connection.hpp"

namespace tk::test {
namespace {

namespace fs = std::filesystem;

constexpr int kPrinters = 48;

// A child process running a shell text, its output thrown away.
pid_t spawn(const std::string& text) {
    pid_t child = fork();
    if (child == 0) {
        execl("/bin/sh", "sh", "-c", ("exec " + text + " > /dev/null").c_str(), nullptr);
        _exit(127);
    }
    return child;
}

// Kills a process that is not ours to reap and returns once it has ended.
void killAndAwait(pid_t pid) {
    const int handle = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
    ASSERT_GE(handle, 0) << "no process " << pid;
    kill(pid, SIGKILL);
    pollfd ended{handle, POLLIN, 0};
    poll(&ended, 1, -1);
    close(handle);
}

class CrashSafetyTest : public ::testing::Test {
  protected:
    // The private server of a test that kills it, stopped and removed whatever happened.
    void TearDown() override {
        if (fs::exists(dir)) serverCommand("stop --remove");
    }
    Outcome serverCommand(const std::string& what) const {
        return AmassetCli::shell(AmassetCli::program() + " server " + what + " --data-dir " + dir +
                                 " 2>&1");
    }
    const std::string dir = "/tmp/tkam-guard-crash-" + std::to_string(getpid());

    void addPrinters(const AmassetCli& cli) {
        for (const Outcome& clerk : cli.runSideBySide(kPrinter, 8, kPrinters / 8))
            ASSERT_EQ(clerk.status, 0) << clerk.out;
    }
    // Starts the year's close behind a transaction holding a balance row of
    // March: the close commits January and February, then waits at March,
    // where the test cuts it short.
    pid_t closeUntilMarch(const AmassetCli& cli) {
        marchHolder = cli.holdTransaction();
        int32_t rows = 0;
        bool done = false;
        marchHolder->ExecSql(
            "Insert Into AMAssetFundBalance (lngAMAssetAlterID, lngAMAssetFundAlterID,"
            " lngAMAssetID, lngAMFundID, intYear, bytPeriod, lngOrganizationID)"
            " Select a.lngAMAssetLastAlterID, f.lngAMAssetFundLastAlterID, a.lngAMAssetID,"
            " f.lngAMFundID, 2024, 3, 1 From AMAsset a, AMAssetFund f"
            " Where f.lngAMAssetID = a.lngAMAssetID",
            1, rows, done);
        EXPECT_TRUE(done);
        pid_t close = spawn(cli.commandLine("period close --period 2024-01 --to 2024-12"));
        EXPECT_TRUE(cli.untilOneWaits([&] { return waitpid(close, nullptr, WNOHANG) != close; }))
            << "the close ended before it came to March";
        EXPECT_EQ(closedPeriods(cli), 2);
        return close;
    }
    std::shared_ptr<connect::Connection> marchHolder;
    static double closedPeriods(const AmassetCli& cli) {
        return cli.scalar("Select Count(*) From AMAssetDepreciation");
    }
    // Every run has its balances and its posted depreciation, and no period
    // has balances without its run.
    static void expectWholePeriods(const AmassetCli& cli) {
        EXPECT_EQ(cli.scalar("Select Count(Distinct intYear * 100 + bytPeriod) From "
                             "AMAssetFundBalance"),
                  closedPeriods(cli));
        EXPECT_EQ(cli.scalar(RunsOutOfStep()), 0);
    }
    // Closed again from the first open period, the year ends with every
    // printer's eleven months of 100.00.
    static void expectTheCloseRunAgainCompletesTheYear(const AmassetCli& cli) {
        const int open = static_cast<int>(closedPeriods(cli)) + 1;
        Outcome again = cli.run("period close --period 2024-" + std::string(open < 10 ? "0" : "") +
                                std::to_string(open) + " --to 2024-12");
        ASSERT_EQ(again.status, 0) << again.out;
        EXPECT_EQ(closedPeriods(cli), 12);
        expectWholePeriods(cli);
        EXPECT_NEAR(cli.scalar("Select Sum(dblDepreciation) From AMAssetFundBalance"),
                    kPrinters * 100.0 * 11, 0.005);
    }
};

TEST_F(CrashSafetyTest, KillingTheToolInTheMiddleOfACloseLeavesWholePeriods) {
    AmassetCli cli("gkill");
    addPrinters(cli);
    pid_t close = closeUntilMarch(cli);
    kill(close, SIGKILL);
    waitpid(close, nullptr, 0);
    marchHolder->RollbackTrans();
    EXPECT_EQ(closedPeriods(cli), 2);
    expectWholePeriods(cli);
    expectTheCloseRunAgainCompletesTheYear(cli);
}

TEST_F(CrashSafetyTest, KillingTheServerInTheMiddleOfACloseLeavesWholePeriods) {
    // durable, as a company's server is: what committed survives the cut
    ASSERT_EQ(serverCommand("start").status, 0);
    {
        AmassetCli cli("gsrv", dir);
        addPrinters(cli);
        pid_t close = closeUntilMarch(cli);
        pid_t postmaster = 0;
        std::ifstream(dir + "/postmaster.pid") >> postmaster;
        // The postmaster and every process it started, as a power cut would.
        AmassetCli::shell("kill -9 $(pgrep -P " + std::to_string(postmaster) + ")");
        killAndAwait(postmaster);
        waitpid(close, nullptr, 0);
        marchHolder.reset();
        // A lock file naming a live process that is no server of ours.
        std::ofstream(dir + "/postmaster.pid") << getpid() << "\n" << dir << "\n";
        Outcome restarted = serverCommand("start");
        ASSERT_EQ(restarted.status, 0) << restarted.out;
        EXPECT_EQ(closedPeriods(cli), 2);
        expectWholePeriods(cli);
        expectTheCloseRunAgainCompletesTheYear(cli);
    }
}

}  // namespace
}  // namespace tk::test
