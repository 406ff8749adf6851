// A close cut short, by killing the tool or the server: each period is closed
// wholly or not at all, the close run again completes the year, and the
// server starts again over its stale lock file and unclean shutdown.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "AmassetCli.hpp"
#include "BooksInvariant.hpp"

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

// Waits until `done()` holds; false when `child` ended first.
bool waitWhileRunning(pid_t child, const std::function<bool()>& done) {
    while (!done()) {
        if (waitpid(child, nullptr, WNOHANG) == child) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

// Alive and no zombie: a zombie's command line is empty.
bool isRunning(long pid) {
    std::ifstream command("/proc/" + std::to_string(pid) + "/cmdline");
    return command && command.peek() != std::ifstream::traits_type::eof();
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
    pid_t close = spawn(cli.commandLine("period close --period 2024-01 --to 2024-12"));
    ASSERT_TRUE(waitWhileRunning(close, [&] { return closedPeriods(cli) >= 2; }))
        << "the close ended before it could be cut short";
    kill(close, SIGKILL);
    waitpid(close, nullptr, 0);
    EXPECT_LT(closedPeriods(cli), 12);
    expectWholePeriods(cli);
    expectTheCloseRunAgainCompletesTheYear(cli);
}

TEST_F(CrashSafetyTest, KillingTheServerInTheMiddleOfACloseLeavesWholePeriods) {
    ASSERT_EQ(serverCommand("start --fresh").status, 0);
    {
        AmassetCli cli("gsrv", dir);
        addPrinters(cli);
        pid_t close = spawn(cli.commandLine("period close --period 2024-01 --to 2024-12"));
        ASSERT_TRUE(waitWhileRunning(close, [&] { return closedPeriods(cli) >= 2; }));
        long postmaster = 0;
        std::ifstream(dir + "/postmaster.pid") >> postmaster;
        // The postmaster and every process it started, as a power cut would.
        AmassetCli::shell("kill -9 " + std::to_string(postmaster) + " $(pgrep -P " +
                          std::to_string(postmaster) + ")");
        waitpid(close, nullptr, 0);
        for (int wait = 0; wait < 250 && isRunning(postmaster); ++wait)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        // A lock file naming a live process that is no server of ours.
        std::ofstream(dir + "/postmaster.pid") << getpid() << "\n" << dir << "\n";
        Outcome restarted = serverCommand("start");
        ASSERT_EQ(restarted.status, 0) << restarted.out;
        EXPECT_LT(closedPeriods(cli), 12);
        expectWholePeriods(cli);
        expectTheCloseRunAgainCompletesTheYear(cli);
    }
}

}  // namespace
}  // namespace tk::test
