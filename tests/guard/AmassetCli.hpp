#pragma once
#include <memory>
#include <string>

#include "connect/Connection.hpp"

namespace tk::test {

// What one run of the program ended with: its exit status and all it printed.
struct Outcome {
    int status = -1;
    std::string out;
};

// The amasset program of this build on an account set of its own (demo
// reference data, the periods of 2024), which goes again with the object.
class AmassetCli {
  public:
    explicit AmassetCli(const std::string& hint);
    ~AmassetCli();
    AmassetCli(const AmassetCli&) = delete;
    AmassetCli& operator=(const AmassetCli&) = delete;

    const std::string& accountSet() const { return set_; }
    // The program's command line for `args` on this account set, its output merged.
    std::string commandLine(const std::string& args) const;
    Outcome run(const std::string& args) const;
    // Runs a shell text (a loop of command lines, say) and collects what it printed.
    static Outcome shell(const std::string& text);
    // The first column of the query's first row in the account set, 0 when none or null.
    double scalar(const std::string& sql) const;

    static std::string program();

  private:
    std::string set_;
    std::shared_ptr<connect::Connection> conn_;
};

}  // namespace tk::test
