// One adjustment script run through the console SQL tool beside the component.
#pragma once
#include <filesystem>
#include <string>

#include "connect/Connection.hpp"

namespace tk::am {

// One adjustment script run by the console SQL tool that lives beside the
// component (never a client found on PATH), logged in as the connection is.
// The command line has Oracle's console shape, "-s user@server @wrapper";
// the password goes to the tool's standard input, never on the command line
// or into a file.
class ConsoleScript {
  public:
    struct Outcome {
        std::string output;
        bool failed = false;
    };

    ConsoleScript(const connect::Connection& login, std::filesystem::path folder,
                  int32_t timeoutSeconds);
    // Writes the script (a closing "/" line added when it has none) and the
    // wrapper into the folder and runs them. The script failed when the tool
    // printed an error, ended with a status other than 0 or ran out of time;
    // the output then ends with the status or the time limit.
    Outcome run(const std::string& fileName, const std::string& text) const;

    static std::filesystem::path tool();
    static std::string commandLine(const connect::Connection& login,
                                   const std::filesystem::path& script);
    // What Oracle's console prints when something went wrong.
    static bool failed(const std::string& output);

  private:
    static std::string sessionName();
    void endSessions(const std::string& name) const;
    std::filesystem::path writeScript(const std::string& fileName, const std::string& text) const;
    std::filesystem::path writeWrapper(const std::filesystem::path& script) const;

    const connect::Connection& login_;
    std::filesystem::path folder_;
    int32_t timeoutSeconds_;
};

}  // namespace tk::am
