// Console statement execution: query rows under headings, feedback lines, commits around DDL,
// bind variables, DBMS_OUTPUT lines and ORA- error reports, all within one open transaction.
#include "StatementRunner.hpp"

#include <regex>

#include "ConsoleError.hpp"
#include "TableDescription.hpp"
#include "connect/Session.hpp"

namespace tk::console {
namespace {

// 942 for "ORA-00942: …", 552 for "SP2-0552: …".
int errorNumber(const std::string& text) {
    static const std::regex kCode(R"(^[A-Z0-9]+-0*(\d{1,9}))");
    std::smatch m;
    return std::regex_search(text, m, kCode) ? std::stoi(m[1].str()) : 1;
}

}  // namespace

StatementRunner::StatementRunner(std::shared_ptr<connect::Connection> connection, std::ostream& out)
    : connection_(std::move(connection)), out_(out), notices_(connection_->session().raw()) {
    connection_->BeginTrans();
}

bool StatementRunner::run(const std::string& statement, bool plsql) {
    StatementKind kind = classify(statement, plsql);
    return attempt([&] { dispatch(prepared(statement, kind), kind); }, "ERROR at line 1:");
}

bool StatementRunner::describe(const std::string& object) {
    return attempt([&] { TableDescription::print(*connection_, object, out_); }, "ERROR:");
}

// The connection component names the Oracle code where the failure has one;
// any other failure the server raises is an application error to Oracle.
template <typename Fn>
bool StatementRunner::attempt(Fn&& work, const char* errorHeading) {
    bool ok = false;
    try {
        work();
        lastCode_ = 0;
        ok = true;
    } catch (const RunTimeError& e) {
        printServerOutput();
        out_ << errorHeading << "\n";
        const std::string& text = e.description();
        report(text.starts_with("ORA-") ? text : "ORA-20000: " + text);
    } catch (const ConsoleError& e) {
        report(e);
    }
    out_.flush();
    return ok;
}

void StatementRunner::report(const ConsoleError& error) { report(std::string(error.what())); }

void StatementRunner::report(const std::string& error) {
    out_ << error << "\n";
    lastCode_ = errorNumber(error);
}

// A trigger's :new and :old are its own, and Oracle takes no bind variables in DDL.
std::string StatementRunner::prepared(const std::string& statement,
                                      const StatementKind& kind) const {
    if (kind.isDefinition || !BindVariables::mentioned(statement)) return statement;
    return kind.isBlock ? binds_.wrapped(statement) : binds_.inlined(statement);
}

void StatementRunner::dispatch(const std::string& sql, const StatementKind& kind) {
    if (kind.verb == "commit" || kind.verb == "rollback") {
        endWork(kind.verb == "commit");
        out_ << feedbackFor(kind, 0) << "\n";
    } else if (kind.isDefinition) {
        // Oracle commits before and after a definition.
        endTransaction(true);
        try {
            execute(sql, kind);
        } catch (...) {
            connection_->BeginTrans();
            throw;
        }
        connection_->BeginTrans();
    } else if (kind.isQuery) {
        query(sql);
    } else {
        execute(sql, kind);
    }
}

void StatementRunner::endWork(bool keep) {
    endTransaction(keep);
    connection_->BeginTrans();
}

void StatementRunner::finish(bool keep) { endTransaction(keep); }

void StatementRunner::endTransaction(bool keep) {
    if (keep)
        connection_->CommitTrans();
    else
        connection_->RollbackTrans();
}

void StatementRunner::query(const std::string& sql) {
    auto rs = connection_->GetRecordset(sql, 3, 1);
    std::vector<std::string> names;
    for (int i = 0; i < rs->fieldCount(); ++i) names.push_back(rs->fieldName(i));
    RowPrinter printer(out_, settings_, names);
    for (; !rs->eof(); rs->moveNext()) {
        std::vector<std::optional<std::string>> values;
        for (int i = 0; i < rs->fieldCount(); ++i) {
            const Variant& v = rs->field(i);
            values.push_back(v.isNull() ? std::nullopt : std::optional(v.toText()));
        }
        printer.row(values);
    }
    printer.end();
    printServerOutput();
}

void StatementRunner::execute(const std::string& sql, const StatementKind& kind) {
    int32_t count = 0;
    bool ok = false;
    if (kind.isNativeRoutine)
        connection_->session().runNative(sql);
    else
        connection_->ExecSql(sql, 1, count, ok);
    printServerOutput();
    std::string line = feedbackFor(kind, count);
    if (settings_.feedback > 0 && !line.empty()) out_ << line << "\n";
}

// Values a wrapped block reports go back to their bind variables, whatever SERVEROUTPUT says.
void StatementRunner::printServerOutput() {
    for (const std::string& line : notices_.take())
        if (!binds_.absorb(line) && settings_.serverOutput) out_ << line << "\n";
}

}  // namespace tk::console
