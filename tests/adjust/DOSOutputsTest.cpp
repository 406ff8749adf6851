// Running a shell command for its output: output and errors in the order
// written, chunks of whole characters to a host, no database socket inherited.
#include <gtest/gtest.h>
#include <libpq-fe.h>
#include <signal.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "TestDatabase.hpp"
#include "adjust/DOSOutputs.hpp"
#include "connect/Session.hpp"
#include "frame/Conversion.hpp"
#include "tkam/tkam.h"

namespace tk::am {
namespace {

TEST(DOSOutputs, CollectsOutputAndErrorInTheOrderWrittenOrEmptyTextWhenTheCommandCannotStart) {
    DOSOutputs dos;
    EXPECT_EQ(dos.ExecuteCommand("sh -c 'echo one; echo two >&2; echo three'"),
              "one\ntwo\nthree\n");
    dos.TrimNullString = true;
    EXPECT_EQ(dos.ExecuteCommand("printf '  padded  '"), "padded");
    dos.StandardInput = "secret\n";
    EXPECT_EQ(dos.ExecuteCommand("cat"), "secret\n");
    // A child that never reads its input must not take this process down.
    dos.StandardInput = std::string(1 << 20, 'x');
    EXPECT_EQ(dos.ExecuteCommand("true"), "");

    DOSOutputs unstartable;
    EXPECT_EQ(unstartable.ExecuteCommand("/nonexistent/program -s"), "");
    EXPECT_EQ(unstartable.ExecuteCommand(""), "");
    EXPECT_EQ(unstartable.ExecuteCommand("echo $(id)"), "");
}

// A run ends with the child's status; one past its time limit is killed with
// whatever it started, which would otherwise hold the output pipe open.
TEST(DOSOutputs, GivesTheExitStatusAndStopsARunPastItsTimeLimit) {
    DOSOutputs dos;
    EXPECT_EQ(dos.ExecuteCommand("sh -c 'echo done; exit 3'"), "done\n");
    EXPECT_EQ(dos.ExitStatus, 3);
    EXPECT_FALSE(dos.TimedOut);
    dos.TimeoutSeconds = 1;
    EXPECT_EQ(dos.ExecuteCommand("sh -c 'echo started; sleep 600 & sleep 600'"), "started\n");
    EXPECT_TRUE(dos.TimedOut);
    EXPECT_EQ(dos.ExitStatus, 128 + SIGKILL);
    dos.ExecuteCommand("true");
    EXPECT_EQ(dos.ExitStatus, 0);
    EXPECT_FALSE(dos.TimedOut);
}

struct Chunks {
    std::vector<std::string> texts;
};

void onChunk(void* user, const char* event, tkam_value* args, int32_t argc) {
    ASSERT_STREQ(event, "ReceiveOutputs");
    ASSERT_EQ(argc, 1);
    static_cast<Chunks*>(user)->texts.push_back(args[0].text);
}

// 中文 and a line break are 7 bytes, so 8,192-byte reads cut characters apart.
TEST(DOSOutputs, RaisesEachChunkThroughTheCInterfaceInWholeCharacters) {
    tkam_object* dos = tkam_create("TkAMAssetInt.DOSOutputs");
    ASSERT_NE(dos, nullptr);
    Chunks chunks;
    ASSERT_EQ(tkam_advise(dos, onChunk, &chunks), 0);
    tkam_value on{TKAM_BOOL, 1, 0, nullptr, nullptr, 0};
    ASSERT_EQ(tkam_put(dos, "ReceiveMessage", &on), 0);
    tkam_value command{TKAM_TEXT, 0, 0, "sh -c 'yes 中文 | head -n 5000'", nullptr, 0};
    tkam_value result{};
    ASSERT_EQ(tkam_call(dos, "ExecuteCommand", &command, 1, &result), 0);
    std::string joined;
    for (const auto& c : chunks.texts) {
        EXPECT_TRUE(IsValidUtf8(c));
        EXPECT_LE(c.size(), 8192u + 3);
        joined += c;
    }
    EXPECT_GE(chunks.texts.size(), 5u);
    EXPECT_EQ(joined.size(), 5000u * 7);
    EXPECT_EQ(joined, result.text);
    tkam_value_clear(&result);
    tkam_release(dos);
}

TEST(DOSOutputs, TheChildSeesNoDatabaseSocket) {
    test::TestSchema schema("dos");
    auto conn = schema.connect();
    // A copy of the socket without close-on-exec, as careless host code might hold.
    int copy = dup(PQsocket(conn->session().raw()));
    ASSERT_GE(copy, 0);
    DOSOutputs dos;
    std::string listing = dos.ExecuteCommand("ls -l /proc/self/fd");
    close(copy);
    EXPECT_NE(listing.find("/dev/null"), std::string::npos) << listing;
    EXPECT_EQ(listing.find("socket:"), std::string::npos) << listing;
}

}  // namespace
}  // namespace tk::am
