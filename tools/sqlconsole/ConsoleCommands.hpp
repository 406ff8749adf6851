// The console's own commands, as opposed to the SQL and PL/SQL it sends to the server.
#pragma once
#include <ostream>
#include <string>

#include "ExitControl.hpp"
#include "SpoolBuffer.hpp"
#include "StatementRunner.hpp"
#include "SubstitutionVariables.hpp"

namespace tk::console {

// One line each, case-insensitive, with an optional ";" and Oracle's shortest
// abbreviations: SET, PRO[MPT], REM[ARK], DEF[INE], UNDEF[INE], VAR[IABLE],
// PRI[NT], SPO[OL], WHENEVER, EXIT, QUIT, EXEC[UTE], DESC[RIBE]; COL[UMN],
// SHO[W] and the other layout commands are accepted and have no effect.
class ConsoleCommands {
  public:
    ConsoleCommands(StatementRunner& runner, SubstitutionVariables& variables, ExitControl& exits,
                    SpoolBuffer& spool, std::ostream& out);
    // Whether the line is one of these commands rather than the start of a statement.
    static bool recognises(const std::string& line);
    // Runs a line `recognises`, its variables substituted.
    void run(const std::string& line);

  private:
    struct Entry;
    static const Entry* find(const std::string& line);
    void prompt(const std::string& line);
    void ignore(const std::string& line);
    void set(const std::string& line);
    void define(const std::string& line);
    void listDefinition(const std::string& name, const std::string& value);
    void undefine(const std::string& line);
    void variable(const std::string& line);
    void print(const std::string& line);
    void printBind(const std::string& name);
    void spool(const std::string& line);
    void whenever(const std::string& line);
    void exit(const std::string& line);
    void execute(const std::string& line);
    void describe(const std::string& line);

    StatementRunner& runner_;
    SubstitutionVariables& variables_;
    ExitControl& exits_;
    SpoolBuffer& spool_;
    std::ostream& out_;
};

}  // namespace tk::console
