// What EXIT, QUIT and WHENEVER tell the console to do: the exit status and the open work's fate.
#pragma once
#include <string>
#include <vector>

namespace tk::console {

// The action of an EXIT command or of a WHENEVER condition:
//   EXIT [SUCCESS | FAILURE | n | variable | :bind | SQL.SQLCODE | SQL.OSCODE] [COMMIT | ROLLBACK]
//   WHENEVER {SQLERROR | OSERROR} EXIT ... as above
//   WHENEVER {SQLERROR | OSERROR} CONTINUE [COMMIT | ROLLBACK | NONE]
// As in Oracle, EXIT keeps the work unless told to roll it back.
struct ExitAction {
    enum class Status { Fixed, SqlCode, OsCode, Variable };
    enum class Work { Commit, Rollback, Keep };

    bool exits = true;
    Status status = Status::Fixed;
    int code = 0;
    std::string variable;  // a substitution variable's name, or ":name" for a bind variable
    Work work = Work::Commit;

    // The words after EXIT or QUIT; throws ConsoleError for a word it does not know.
    static ExitAction parseExit(const std::vector<std::string>& words, size_t from = 1);
    // The words after "WHENEVER SQLERROR" or "WHENEVER OSERROR".
    static ExitAction parseWhenever(const std::vector<std::string>& words, size_t from = 2);
};

}  // namespace tk::console
