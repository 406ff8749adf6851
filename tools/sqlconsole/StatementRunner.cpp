// Console statement execution: query rows under headings, feedback lines, commits around DDL
// and ORA- error reports, all within one open transaction.
#include "StatementRunner.hpp"

#include "Feedback.hpp"
#include "connect/Session.hpp"

namespace tk::console {

StatementRunner::StatementRunner(std::shared_ptr<connect::Connection> connection, std::ostream& out)
    : connection_(std::move(connection)), out_(out) {
    connection_->BeginTrans();
}

void StatementRunner::run(const std::string& statement, bool plsql) {
    StatementKind kind = classify(statement, plsql);
    try {
        if (kind.verb == "commit" || kind.verb == "rollback") {
            endTransaction(kind.verb == "commit");
            connection_->BeginTrans();
            out_ << feedbackFor(kind, 0) << "\n";
        } else if (kind.isDefinition) {
            // Oracle commits before and after a definition.
            endTransaction(true);
            try {
                execute(statement, plsql);
            } catch (...) {
                connection_->BeginTrans();
                throw;
            }
            connection_->BeginTrans();
        } else if (kind.isQuery) {
            query(statement);
        } else {
            execute(statement, plsql);
        }
    } catch (const RunTimeError& e) {
        report(e);
    }
    out_.flush();
}

void StatementRunner::finish() { endTransaction(true); }

void StatementRunner::endTransaction(bool keep) {
    if (keep)
        connection_->CommitTrans();
    else
        connection_->RollbackTrans();
}

void StatementRunner::query(const std::string& sql) {
    auto rs = connection_->GetRecordset(sql, 3, 1);
    int rows = 0;
    for (; !rs->eof(); rs->moveNext(), ++rows) {
        if (rows == 0 && settings_.heading) {
            std::string names, rule;
            for (int i = 0; i < rs->fieldCount(); ++i) {
                std::string name = upperAscii(rs->fieldName(i));
                names += (i ? " " : "") + name;
                rule += (i ? " " : "") + std::string(name.size(), '-');
            }
            out_ << names << "\n" << rule << "\n";
        }
        for (int i = 0; i < rs->fieldCount(); ++i) {
            const Variant& v = rs->field(i);
            out_ << (i ? " " : "") << (v.isNull() ? std::string() : v.toText());
        }
        out_ << "\n";
    }
    if (rows == 0)
        out_ << "no rows selected\n";
    else if (settings_.feedback > 0 && rows >= settings_.feedback)
        out_ << rows << (rows == 1 ? " row selected.\n" : " rows selected.\n");
}

void StatementRunner::execute(const std::string& sql, bool plsql) {
    StatementKind kind = classify(sql, plsql);
    int32_t count = 0;
    bool ok = false;
    if (kind.isNativeRoutine)
        connection_->session().runNative(sql);
    else
        connection_->ExecSql(sql, 1, count, ok);
    std::string line = feedbackFor(kind, count);
    if (settings_.feedback > 0 && !line.empty()) out_ << line << "\n";
}

// The connection component names the Oracle code where the failure has one;
// any other failure the server raises is an application error to Oracle.
void StatementRunner::report(const RunTimeError& error) {
    std::string text = error.description();
    if (!text.starts_with("ORA-")) text = "ORA-20000: " + text;
    out_ << "ERROR at line 1:\n" << text << "\n";
}

}  // namespace tk::console
