// The class that runs a command line as a child process and collects its output.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "host/Dispatchable.hpp"

namespace tk::am {

class ChildProcess;

// Runs one command line as a child process and collects what it writes to
// standard output and standard error, both through one pipe. The child gets
// no other descriptor of this process (such as a database socket).
class DOSOutputs : public DispatchableBase<DOSOutputs> {
  public:
    std::string_view className() const override { return "DOSOutputs"; }
    static void describe(DispatchTable<DOSOutputs>& t);

    std::string CommandLine;
    // Everything the last run wrote, chunk after chunk.
    std::string Outputs;
    // Raise "ReceiveOutputs" with each chunk as it is read.
    bool ReceiveMessage = false;
    // Trim each chunk's surrounding blanks before it is kept.
    bool TrimNullString = false;
    // A short text (it must fit the pipe's buffer) given to the child on its
    // standard input, so that a secret need not be on its command line, where
    // every user of the machine can read it. Without one the child reads /dev/null.
    std::string StandardInput;
    // "NAME=value" entries the child's environment has besides this process's.
    std::vector<std::string> Environment;
    // How long the child may run, in seconds (0: as long as it takes). When the
    // time is up the child and every process it started are killed.
    int32_t TimeoutSeconds = kDefaultTimeoutSeconds;
    // How the last run ended: the child's exit status, 128 + the signal that
    // ended it, or -1 when it could not be started.
    int32_t ExitStatus = -1;
    // Whether the last run was killed for running past TimeoutSeconds.
    bool TimedOut = false;

    // Long enough for a large repair script over a company's whole books.
    static constexpr int32_t kDefaultTimeoutSeconds = 3600;

    // Runs `commandLine` (else CommandLine) and returns its output trimmed; an
    // empty text when there is no command or it cannot be started.
    std::string ExecuteCommand(const std::string& commandLine = "");

  private:
    void collect(int readEnd, const ChildProcess& child);
    void keepChunk(std::string chunk);
};

}  // namespace tk::am
