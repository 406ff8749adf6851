// The built amasset program for the end-to-end tests, on an account set of
// its own: run alone, side by side, or on the server as its superuser.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tk::connect {
class Connection;
}

namespace tk::test {

// What one run of the program ended with: its exit status and all it printed.
struct Outcome {
    int status = -1;
    std::string out;
};

// The fields of the last line of a CSV report: its total row.
std::vector<std::string> LastCsvRow(const std::string& csv);

// An asset whose books are known: straight-line over 120 months without
// residual value, 100.00 a month from the month after it arrives (2024-01).
inline const std::string kPrinter =
    "asset add --category 04-02 --name 打印机 --cost 12000 --method 2 --life 120 "
    "--residual-rate 0 --date 2024-01-10 --department 0101";

// The amasset program of this build on an account set of its own (demo
// reference data, the periods of 2024), which goes again with the object;
// on the test server, or on the private server of `dataDir`.
class AmassetCli {
  public:
    explicit AmassetCli(const std::string& hint, const std::string& dataDir = "");
    ~AmassetCli();
    AmassetCli(const AmassetCli&) = delete;
    AmassetCli& operator=(const AmassetCli&) = delete;

    const std::string& accountSet() const { return set_; }
    // The program's command line for `args` on this account set, its output merged.
    std::string commandLine(const std::string& args) const;
    Outcome run(const std::string& args) const;
    // `processes` runs side by side, each running `args` `times` over, stopping at a failure.
    std::vector<Outcome> runSideBySide(const std::string& args, int processes, int times) const;
    // The program run with `args` on the test server as its superuser, its output merged.
    static Outcome runOnServer(const std::string& args);
    // Runs a shell text (a loop of command lines, say) and collects what it printed.
    static Outcome shell(const std::string& text);
    // The first column of the query's first row in the account set, 0 when none
    // or null, on a connection of its own (the server may have been restarted).
    double scalar(const std::string& sql) const;
    // The same as text, "" when none or null.
    std::string text(const std::string& sql) const;
    // A connection of the account set's own with a transaction open.
    std::shared_ptr<connect::Connection> holdTransaction() const;
    // Waits until another session of the account set waits for a lock; false
    // when `running()` stops holding first.
    bool untilOneWaits(const std::function<bool()>& running) const;

    static std::string program();

  private:
    std::string set_;
    std::string serverOption_, serverName_, adminName_;
};

}  // namespace tk::test
