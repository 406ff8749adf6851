// Programs run for a backup or restore: one feeding another gets its tail only when the first
// ended well (a restore commits in its tail), a failure names the program with what it said,
// and a run past its limit is stopped with all it started.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>

#include "TestDatabase.hpp"
#include "provision/ToolRun.hpp"

namespace tk::am {
namespace {
namespace fs = std::filesystem;
using std::chrono::seconds;

class ToolRunTest : public ::testing::Test {
  protected:
    void TearDown() override { fs::remove(out); }
    // A consumer that keeps what it reads.
    ToolRun::Program keeper() const { return {"sh", "-c", "cat > " + out.string()}; }
    // The message of the run's failure, "" when it succeeds.
    static std::string failure(const std::function<void()>& run) {
        try {
            run();
        } catch (const std::exception& e) {
            return e.what();
        }
        return "";
    }

    const fs::path out = fs::temp_directory_path() / ("toolrun-" + std::to_string(getpid()));
};

TEST_F(ToolRunTest, TheConsumerGetsItsTailOnlyWhenTheProducerEndedWell) {
    ToolRun run({}, seconds(60));
    run.pipe({"sh", "-c", "head -c 3000000 /dev/zero | tr '\\0' x"}, "head:", keeper(), ":tail");
    const std::string kept = test::ReadFile(out);
    EXPECT_EQ(kept.size(), 3000000u + 10);
    EXPECT_EQ(kept.substr(0, 5) + kept.substr(kept.size() - 5), "head::tail");

    ToolRun failing({}, seconds(60));
    const std::string why = failure([&] {
        failing.pipe({"sh", "-c", "printf body; echo 'pg_restore: error: bad block' >&2; exit 3"},
                     "head:", keeper(), ":tail");
    });
    EXPECT_EQ(test::ReadFile(out), "head:body");
    EXPECT_NE(why.find("sh (退出状态 3) 失败"), std::string::npos) << why;
    EXPECT_NE(why.find("pg_restore: error: bad block"), std::string::npos) << why;
}

TEST_F(ToolRunTest, AFailureKeepsWhatWasSaidButProgressAndARunPastItsLimitIsKilled) {
    ToolRun talking({}, seconds(60));
    talking.onLine = [](const std::string& line) { return line.starts_with("step"); };
    const std::string why = failure([&] {
        talking.run({"sh", "-c", "echo step 1 >&2; echo 'ERROR: no such table' >&2; exit 1"});
    });
    EXPECT_NE(why.find("ERROR: no such table"), std::string::npos) << why;
    EXPECT_EQ(why.find("step 1"), std::string::npos) << why;
    EXPECT_NE(failure([] { ToolRun({}, seconds(60)).run({"/nonexistent/pg_dump"}); }), "");

    const auto started = std::chrono::steady_clock::now();
    ToolRun slow({}, seconds(1));
    const std::string stopped = failure([&] {
        slow.pipe({"sh", "-c", "sleep 60 & sleep 60"}, "", {"sh", "-c", "sleep 60 & cat"}, "");
    });
    EXPECT_LT(std::chrono::steady_clock::now() - started, seconds(10));
    EXPECT_TRUE(slow.timedOut());
    EXPECT_NE(stopped.find("运行超过 1 秒, 已终止"), std::string::npos) << stopped;
}

}  // namespace
}  // namespace tk::am
