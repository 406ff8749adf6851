// Ending the session: the exit status and the fate of the open work.
#include "ExitControl.hpp"

#include "CommandText.hpp"
#include "ConsoleError.hpp"
#include "host/RunTimeError.hpp"

namespace tk::console {

ExitControl::ExitControl(StatementRunner& runner, const SubstitutionVariables& variables,
                         std::ostream& out)
    : runner_(runner), variables_(variables), out_(out) {}

ExitAction ExitControl::continuing() {
    ExitAction action;
    action.exits = false;
    action.work = ExitAction::Work::Keep;
    return action;
}

void ExitControl::sqlFailed() { respond(sqlError_); }

void ExitControl::osFailed(int code) {
    osCode_ = code;
    respond(osError_);
}

void ExitControl::respond(const ExitAction& action) {
    if (action.exits) {
        exit(action);
    } else if (action.work != ExitAction::Work::Keep) {
        runner_.endWork(action.work == ExitAction::Work::Commit);
    }
}

bool ExitControl::exit(const ExitAction& action) {
    int status = 0;
    try {
        status = statusOf(action);
    } catch (const ConsoleError& e) {
        out_ << e.what() << "\n";
        return false;
    }
    exited_ = true;
    status_ = status & 0xFF;
    try {
        runner_.finish(action.work == ExitAction::Work::Commit);
    } catch (const RunTimeError& e) {
        // Work that cannot be kept is lost: the caller must not take it for a success.
        out_ << "ERROR:\n" << e.description() << "\n";
        if (status_ == 0) status_ = 1;
    }
    out_.flush();
    return true;
}

int ExitControl::statusOf(const ExitAction& action) const {
    switch (action.status) {
        case ExitAction::Status::SqlCode:
            return runner_.lastErrorCode();
        case ExitAction::Status::OsCode:
            return osCode_;
        case ExitAction::Status::Variable:
            return variableStatus(action.variable);
        case ExitAction::Status::Fixed:
            break;
    }
    return action.code;
}

// EXIT :name takes a bind variable's value, EXIT name a substitution variable's.
int ExitControl::variableStatus(const std::string& name) const {
    std::optional<std::string> value;
    if (name.starts_with(':')) {
        const BindVariables::Variable* bind = runner_.binds().find(name.substr(1));
        if (bind) value = bind->value.value_or("0");
    } else {
        value = variables_.value(name);
    }
    if (!value || !isNumber(trimmed(*value)))
        throw ConsoleError("SP2-0584: EXIT variable \"" + name + "\" was non-numeric");
    return std::stoi(trimmed(*value).substr(0, 9));
}

}  // namespace tk::console
