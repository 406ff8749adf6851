// The class that runs a command line as a child process and collects its output.
#pragma once
#include <string>

#include "host/Dispatchable.hpp"

namespace tk::am {

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

    // Runs `commandLine` (else CommandLine) and returns its output trimmed; an
    // empty text when there is no command or it cannot be started.
    std::string ExecuteCommand(const std::string& commandLine = "");

  private:
    void collect(int readEnd);
    void keepChunk(std::string chunk);
};

}  // namespace tk::am
