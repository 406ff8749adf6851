// A program started without a shell, in a process group, with only the descriptors it is given.
#pragma once
#include <sys/types.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tk::am {

// A program started without a shell. It leads a process group of its own, or
// joins another child's, so that killing the group ends whatever it started
// as well; it gets no descriptor of this process but its standard three.
class ChildProcess {
  public:
    // What the child gets as its standard input, output and error: a
    // descriptor of this process, or /dev/null for -1.
    struct Descriptors {
        int input = -1, output = -1, error = -1;
    };

    // Starts `argv` (a bare name is looked up on PATH) with `environment`
    // ("NAME=value") in place of this process's entries of those names (a
    // bare "NAME" withholds this process's entry); in
    // process group `group`, or a group of its own when 0. None when it
    // cannot be started.
    static std::optional<ChildProcess> start(const std::vector<std::string>& argv,
                                             const Descriptors& descriptors,
                                             const std::vector<std::string>& environment = {},
                                             pid_t group = 0);

    pid_t pid() const { return pid_; }
    pid_t group() const { return group_; }
    // Its exit status once it has ended (128 + the signal that ended it),
    // none while it runs; `wait` waits for it.
    std::optional<int> ended();
    int wait();
    // Kills the child's process group: the child and all it started.
    void killGroup() const;

    // A kind of child's time limit in seconds: the environment's `variable`
    // when it holds a whole number from 0 (no limit) up, else `fallback`.
    static int32_t timeLimit(const char* variable, int32_t fallback);

  private:
    ChildProcess(pid_t pid, pid_t group) : pid_(pid), group_(group) {}
    std::optional<int> reap(int options);

    pid_t pid_;
    pid_t group_;
    std::optional<int> status_;
};

}  // namespace tk::am
