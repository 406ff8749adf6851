// The console's script reader: statement ends, "/" lines, substitution and console commands.
#pragma once
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "ConsoleCommands.hpp"
#include "ExitControl.hpp"
#include "LineSource.hpp"
#include "SpoolBuffer.hpp"
#include "StatementRunner.hpp"
#include "SubstitutionVariables.hpp"

namespace tk::console {

// Reads script lines as Oracle's console does: SQL ends with ";" at the end of
// a line or with a "/" line, a PL/SQL unit only with a "/" line, and "/" on
// its own runs the last statement again. @file and @@file (relative to the
// running script) run another script, their further words its &1, &2 …; a
// console command ending in " -" goes on on the next line. &name is replaced
// in commands as they are read and in statements as they run.
class ScriptInterpreter {
  public:
    ScriptInterpreter(StatementRunner& runner, std::ostream& out, SpoolBuffer& spool);
    // Runs lines until their end or EXIT.
    void run(LineSource& lines, const std::filesystem::path& folder, bool interactive);
    void runFile(const std::filesystem::path& file);
    // Where to ask for the value of an undefined &name; none: it is an error.
    void askWith(LineSource* answers) { answers_ = answers; }
    bool exited() const { return exits_.exited(); }
    // Ends the session as EXIT would, unless a command ended it; the process's exit status.
    int finish();

  private:
    void line(const std::string& text, const std::filesystem::path& folder);
    void command(const std::string& text, const std::filesystem::path& folder);
    void runScript(const std::string& text, const std::filesystem::path& folder);
    void runBuffer();
    std::string substituted(const std::string& text, bool verify);
    void printVerify(const std::vector<std::string>& old, const std::vector<std::string>& now);

    StatementRunner& runner_;
    std::ostream& out_;
    SubstitutionVariables variables_;
    ExitControl exits_;
    ConsoleCommands commands_;
    LineSource* answers_ = nullptr;
    std::string buffer_, last_, continued_;
    bool plsql_ = false, lastPlsql_ = false;
    int lines_ = 0;
};

}  // namespace tk::console
