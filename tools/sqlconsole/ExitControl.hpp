// When and how the console ends: EXIT, QUIT, WHENEVER SQLERROR and WHENEVER OSERROR.
#pragma once
#include <ostream>

#include "ExitAction.hpp"
#include "StatementRunner.hpp"
#include "SubstitutionVariables.hpp"

namespace tk::console {

// Carries out EXIT and the WHENEVER conditions: keeps or undoes the open work
// and decides the process's exit status, so that a caller can tell a script
// that stopped on an error from one that ran through.
class ExitControl {
  public:
    ExitControl(StatementRunner& runner, const SubstitutionVariables& variables, std::ostream& out);
    void onSqlError(const ExitAction& action) { sqlError_ = action; }
    void onOsError(const ExitAction& action) { osError_ = action; }
    // A statement failed / a file could not be opened or written (errno `code`).
    void sqlFailed();
    void osFailed(int code);
    // EXIT, or the end of the input; false when the status is not a number.
    bool exit(const ExitAction& action);
    bool exited() const { return exited_; }
    // The process's exit status: 0 to 255.
    int status() const { return status_; }

  private:
    void respond(const ExitAction& action);
    int statusOf(const ExitAction& action) const;
    int variableStatus(const std::string& name) const;

    StatementRunner& runner_;
    const SubstitutionVariables& variables_;
    std::ostream& out_;
    ExitAction sqlError_ = continuing(), osError_ = continuing();
    int osCode_ = 0;
    bool exited_ = false;
    int status_ = 0;

    static ExitAction continuing();
};

}  // namespace tk::console
