// Child processes without a shell: words split with command substitution refused, only the pipes
// handed down, SIGPIPE held back, the output kept in whole UTF-8 characters, a time limit.
#include "adjust/DOSOutputs.hpp"

#include <poll.h>
#include <unistd.h>
#include <wordexp.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <limits>
#include <optional>
#include <vector>

#include "frame/ChildProcess.hpp"
#include "frame/ClassRegistry.hpp"
#include "frame/Conversion.hpp"
#include "frame/Pipe.hpp"
#include "frame/PipeSignalHeld.hpp"

namespace tk::am {
namespace {

constexpr size_t kChunkBytes = 8192;

// A command line split into words as the shell would quote them, without
// running anything it names ($(...) is refused).
std::vector<std::string> splitWords(const std::string& commandLine) {
    wordexp_t words{};
    if (wordexp(commandLine.c_str(), &words, WRDE_NOCMD) != 0) {
        wordfree(&words);
        return {};
    }
    std::vector<std::string> out(words.we_wordv, words.we_wordv + words.we_wordc);
    wordfree(&words);
    return out;
}

// A child that ends without reading its input must not kill this process with
// SIGPIPE.
void feed(Pipe& input, const std::string& text) {
    PipeSignalHeld held;
    for (size_t done = 0; done < text.size();) {
        ssize_t n = write(input.write, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<size_t>(n);
    }
    input.closeWrite();
}

// How much of `text` ends on a whole UTF-8 character: a chunk boundary may
// fall inside one, whose first bytes then wait for the next chunk.
size_t wholeCharacters(const std::string& text) {
    size_t end = text.size();
    for (size_t back = 1; back <= 3 && back <= end; ++back) {
        auto byte = static_cast<unsigned char>(text[end - back]);
        if ((byte & 0xC0) == 0x80) continue;
        size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
        return length > back ? end - back : end;
    }
    return end;
}

}  // namespace

void DOSOutputs::describe(DispatchTable<DOSOutputs>& t) {
    t.field("CommandLine", &DOSOutputs::CommandLine)
        .method("Outputs", [](DOSOutputs& self, Args&) { return Variant(self.Outputs); })
        .setter("ReceiveMessage",
                [](DOSOutputs& self, Args&, const Variant& v) { self.ReceiveMessage = v.toBool(); })
        .setter("TrimNullString",
                [](DOSOutputs& self, Args&, const Variant& v) { self.TrimNullString = v.toBool(); })
        .field("TimeoutSeconds", &DOSOutputs::TimeoutSeconds)
        .method("ExitStatus", [](DOSOutputs& self, Args&) { return Variant(self.ExitStatus); })
        .method("TimedOut", [](DOSOutputs& self, Args&) { return Variant(self.TimedOut); })
        .method("ExecuteCommand", [](DOSOutputs& self, Args& a) {
            return Variant(self.ExecuteCommand(argOr(a, 0, "").toText()));
        });
}

std::string DOSOutputs::ExecuteCommand(const std::string& commandLine) {
    if (!commandLine.empty()) CommandLine = commandLine;
    ExitStatus = -1;
    TimedOut = false;
    std::vector<std::string> words = splitWords(CommandLine);
    if (words.empty()) return "";
    Pipe output;
    std::optional<Pipe> input;
    if (!StandardInput.empty()) input.emplace();
    if (!output.ok() || (input && !input->ok())) return "";
    // Passwords stay with this process: a child is given what it needs on its input.
    std::vector<std::string> environment = Environment;
    environment.insert(environment.end(), {"PGPASSWORD", "AMASSET_PASSWORD"});
    std::optional<ChildProcess> child = ChildProcess::start(
        words, {input ? input->read : -1, output.write, output.write}, environment);
    if (!child) return "";
    output.closeWrite();
    if (input) {
        input->closeRead();
        feed(*input, StandardInput);
    }
    Outputs.clear();
    collect(output.read, *child);
    ExitStatus = child->wait();
    return Trim(Outputs);
}

// Reads until every writer of the pipe has gone; past the deadline the
// child's process group is killed, which closes the pipe.
void DOSOutputs::collect(int readEnd, const ChildProcess& child) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::seconds(TimeoutSeconds);
    std::string pending;
    char buffer[kChunkBytes];
    for (;;) {
        if (TimeoutSeconds > 0 && !TimedOut) {
            auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
            pollfd readable{readEnd, POLLIN, 0};
            int ready = left.count() > 0 ? poll(&readable, 1,
                                                static_cast<int>(std::min<int64_t>(
                                                    left.count(), std::numeric_limits<int>::max())))
                                         : 0;
            if (ready < 0 && errno == EINTR) continue;
            if (ready == 0) {
                TimedOut = true;
                child.killGroup();
            }
        }
        ssize_t n = read(readEnd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        std::string raw(buffer, static_cast<size_t>(n));
        pending += raw.substr(0, raw.find('\0'));
        size_t whole = wholeCharacters(pending);
        keepChunk(pending.substr(0, whole));
        pending.erase(0, whole);
    }
    if (!pending.empty()) keepChunk(pending);
}

void DOSOutputs::keepChunk(std::string chunk) {
    if (TrimNullString) chunk = Trim(chunk);
    Outputs += chunk;
    if (ReceiveMessage) {
        Args args{Variant(chunk)};
        raiseEvent("ReceiveOutputs", args);
    }
}

}  // namespace tk::am

using tk::am::DOSOutputs;
TKAM_REGISTER_CLASS(DOSOutputs)
