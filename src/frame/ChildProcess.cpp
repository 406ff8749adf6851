// posix_spawn with a process group and exactly the descriptors named, the environment's entries
// replaced by the child's own, and its ending read by waitpid.
#include "frame/ChildProcess.hpp"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

extern char** environ;

namespace tk::am {
namespace {

class FileActions {
  public:
    explicit FileActions(const ChildProcess::Descriptors& fds) {
        posix_spawn_file_actions_init(&actions_);
        give(fds.input, STDIN_FILENO, O_RDONLY);
        give(fds.output, STDOUT_FILENO, O_WRONLY);
        give(fds.error, STDERR_FILENO, O_WRONLY);
        posix_spawn_file_actions_addclosefrom_np(&actions_, STDERR_FILENO + 1);
    }
    ~FileActions() { posix_spawn_file_actions_destroy(&actions_); }
    const posix_spawn_file_actions_t* get() const { return &actions_; }

  private:
    void give(int fd, int target, int nullMode) {
        if (fd >= 0)
            posix_spawn_file_actions_adddup2(&actions_, fd, target);
        else
            posix_spawn_file_actions_addopen(&actions_, target, "/dev/null", nullMode, 0);
    }
    posix_spawn_file_actions_t actions_;
};

bool named(const char* entry, const std::vector<std::string>& environment) {
    const char* equals = std::strchr(entry, '=');
    const size_t length = equals ? static_cast<size_t>(equals - entry) : std::strlen(entry);
    for (const auto& own : environment)
        if (own.size() >= length && (own.size() == length || own[length] == '=') &&
            own.compare(0, length, entry, length) == 0)
            return true;
    return false;
}

int exitStatusOf(int status) {
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : -1;
}

}  // namespace

std::optional<ChildProcess> ChildProcess::start(const std::vector<std::string>& argv,
                                                const Descriptors& descriptors,
                                                const std::vector<std::string>& environment,
                                                pid_t group) {
    if (argv.empty()) return std::nullopt;
    std::vector<char*> args, envp;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    for (const auto& e : environment)
        if (e.find('=') != std::string::npos) envp.push_back(const_cast<char*>(e.c_str()));
    for (char** e = environ; *e; ++e)
        if (!named(*e, environment)) envp.push_back(*e);
    envp.push_back(nullptr);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, group);
    pid_t pid = 0;
    int failed = posix_spawnp(&pid, args[0], FileActions(descriptors).get(), &attributes,
                              args.data(), envp.data());
    posix_spawnattr_destroy(&attributes);
    if (failed != 0) return std::nullopt;
    return ChildProcess(pid, group == 0 ? pid : group);
}

std::optional<int> ChildProcess::reap(int options) {
    if (status_) return status_;
    int status = 0;
    pid_t got;
    while ((got = waitpid(pid_, &status, options)) < 0 && errno == EINTR) {
    }
    if (got == pid_) status_ = exitStatusOf(status);
    return status_;
}

std::optional<int> ChildProcess::ended() { return reap(WNOHANG); }

int ChildProcess::wait() { return reap(0).value_or(-1); }

void ChildProcess::killGroup() const { kill(-group_, SIGKILL); }

int32_t ChildProcess::timeLimit(const char* variable, int32_t fallback) {
    const char* set = std::getenv(variable);
    char* end = nullptr;
    long seconds = set ? std::strtol(set, &end, 10) : -1;
    return set && *set && *end == '\0' && seconds >= 0 && seconds <= INT32_MAX
               ? static_cast<int32_t>(seconds)
               : fallback;
}

}  // namespace tk::am
