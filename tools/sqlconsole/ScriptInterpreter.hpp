// The console's script reader: statement ends, "/" lines and console commands.
#pragma once
#include <filesystem>
#include <ostream>
#include <string>

#include "LineSource.hpp"
#include "StatementRunner.hpp"

namespace tk::console {

// Reads script lines as Oracle's console does: SQL ends with ";" at the end of
// a line or with a "/" line, a PL/SQL unit only with a "/" line, and "/" on
// its own runs the last statement again. Console commands: @file and @@file
// (relative to the running script), SET (HEADING and FEEDBACK change the
// output, the rest is accepted and ignored), PROMPT, SPOOL and the like
// (ignored), EXIT and QUIT.
class ScriptInterpreter {
  public:
    ScriptInterpreter(StatementRunner& runner, std::ostream& out);
    // Runs lines until their end or EXIT.
    void run(LineSource& lines, const std::filesystem::path& folder, bool interactive);
    void runFile(const std::filesystem::path& file);
    bool exited() const { return exited_; }

  private:
    void line(const std::string& text, const std::filesystem::path& folder);
    bool consoleCommand(const std::string& text, const std::filesystem::path& folder);
    void set(const std::string& option, const std::string& value);
    void runBuffer();

    StatementRunner& runner_;
    std::ostream& out_;
    std::string buffer_, last_;
    bool plsql_ = false, lastPlsql_ = false, exited_ = false;
    int lines_ = 0;
};

}  // namespace tk::console
