// The help texts of the amasset commands.
#pragma once
#include <ostream>
#include <string>

namespace tk::tools {

// Every command's help text, kept in one table: `amasset --help` lists the
// commands, `amasset <command> --help` explains one with its options.
class CommandHelp {
  public:
    static void printOverview(std::ostream& out);
    // False when there is no such command.
    static bool print(const std::string& command, std::ostream& out);
};

}  // namespace tk::tools
