// Child processes without a shell: words split with command substitution refused, only the pipes
// handed down, SIGPIPE held back, the output kept in whole UTF-8 characters, a time limit.
#include "adjust/DOSOutputs.hpp"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <wordexp.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <ctime>
#include <limits>
#include <optional>
#include <vector>

#include "frame/ClassRegistry.hpp"
#include "frame/Conversion.hpp"

extern char** environ;

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

struct Pipe {
    int read = -1, write = -1;
    Pipe() {
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) == 0) read = fds[0], write = fds[1];
    }
    ~Pipe() {
        closeRead();
        closeWrite();
    }
    bool ok() const { return read >= 0; }
    void closeRead() { closeFd(read); }
    void closeWrite() { closeFd(write); }
    static void closeFd(int& fd) {
        if (fd >= 0) close(fd);
        fd = -1;
    }
};

// What the child sees: the output pipe as descriptors 1 and 2, the input pipe
// (or /dev/null) as 0, and nothing else.
class ChildDescriptors {
  public:
    ChildDescriptors(const Pipe& output, const Pipe* input) {
        posix_spawn_file_actions_init(&actions_);
        if (input)
            posix_spawn_file_actions_adddup2(&actions_, input->read, STDIN_FILENO);
        else
            posix_spawn_file_actions_addopen(&actions_, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_adddup2(&actions_, output.write, STDOUT_FILENO);
        posix_spawn_file_actions_adddup2(&actions_, output.write, STDERR_FILENO);
        posix_spawn_file_actions_addclosefrom_np(&actions_, STDERR_FILENO + 1);
    }
    ~ChildDescriptors() { posix_spawn_file_actions_destroy(&actions_); }
    const posix_spawn_file_actions_t* get() const { return &actions_; }

  private:
    posix_spawn_file_actions_t actions_;
};

// The child leads a process group of its own, so that a timeout ends
// whatever it started as well.
std::optional<pid_t> spawn(const std::vector<std::string>& words, const ChildDescriptors& fds,
                           const std::vector<std::string>& extraEnvironment) {
    std::vector<char*> argv, envp;
    for (const auto& w : words) argv.push_back(const_cast<char*>(w.c_str()));
    argv.push_back(nullptr);
    for (const auto& e : extraEnvironment) envp.push_back(const_cast<char*>(e.c_str()));
    // Passwords stay with this process: a child is given what it needs on its input.
    for (char** e = environ; *e; ++e)
        if (!std::string_view(*e).starts_with("PGPASSWORD=") &&
            !std::string_view(*e).starts_with("AMASSET_PASSWORD="))
            envp.push_back(*e);
    envp.push_back(nullptr);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    pid_t pid = 0;
    int failed = posix_spawnp(&pid, argv[0], fds.get(), &attributes, argv.data(), envp.data());
    posix_spawnattr_destroy(&attributes);
    if (failed != 0) return std::nullopt;
    return pid;
}

int32_t exitStatusOf(int status) {
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : -1;
}

// A child that ends without reading its input must not kill this process with
// SIGPIPE: the signal is held back while writing and then discarded.
void feed(Pipe& input, const std::string& text) {
    sigset_t pipeSignal, previous;
    sigemptyset(&pipeSignal);
    sigaddset(&pipeSignal, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipeSignal, &previous);
    for (size_t done = 0; done < text.size();) {
        ssize_t n = write(input.write, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<size_t>(n);
    }
    input.closeWrite();
    timespec none{};
    while (sigtimedwait(&pipeSignal, nullptr, &none) == SIGPIPE) {
    }
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
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
    std::optional<pid_t> child =
        spawn(words, ChildDescriptors(output, input ? &*input : nullptr), Environment);
    if (!child) return "";
    output.closeWrite();
    if (input) {
        input->closeRead();
        feed(*input, StandardInput);
    }
    Outputs.clear();
    collect(output.read, *child);
    int status = 0;
    while (waitpid(*child, &status, 0) < 0 && errno == EINTR) {
    }
    ExitStatus = exitStatusOf(status);
    return Trim(Outputs);
}

// Reads until every writer of the pipe has gone; past the deadline the
// child's process group is killed, which closes the pipe.
void DOSOutputs::collect(int readEnd, pid_t group) {
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
                kill(-group, SIGKILL);
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
