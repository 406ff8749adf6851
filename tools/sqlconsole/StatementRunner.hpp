// Runs console statements through the connection component and prints Oracle-style output.
#pragma once
#include <memory>
#include <ostream>
#include <string>

#include "BindVariables.hpp"
#include "ConsoleError.hpp"
#include "Feedback.hpp"
#include "NoticeCollector.hpp"
#include "RowPrinter.hpp"
#include "connect/Connection.hpp"
#include "host/RunTimeError.hpp"

namespace tk::console {

// Runs one statement or PL/SQL block through the connection component and
// answers as Oracle's console does: query rows, the feedback line, or the
// error as "ORA-nnnnn: message". Work runs in one transaction that COMMIT,
// ROLLBACK and the end of the session close, as in Oracle. Bind variables
// are filled in, and DBMS_OUTPUT lines printed when SERVEROUTPUT is on.
class StatementRunner {
  public:
    StatementRunner(std::shared_ptr<connect::Connection> connection, std::ostream& out);
    OutputSettings& settings() { return settings_; }
    BindVariables& binds() { return binds_; }
    // False when the statement failed; its error is printed.
    bool run(const std::string& statement, bool plsql);
    // A statement the console could not send, as a failed one.
    void report(const ConsoleError& error);
    // DESCRIBE; false when there is no such table or view.
    bool describe(const std::string& object);
    // The number of the last statement's error (942 for ORA-00942), 0 after a success.
    int lastErrorCode() const { return lastCode_; }
    // Keeps or undoes the open work and starts new work.
    void endWork(bool keep);
    // Keeps or undoes the session's work as it ends.
    void finish(bool keep);

  private:
    template <typename Fn>
    bool attempt(Fn&& work, const char* errorHeading);
    std::string prepared(const std::string& statement, const StatementKind& kind) const;
    void dispatch(const std::string& sql, const StatementKind& kind);
    void query(const std::string& sql);
    void execute(const std::string& sql, const StatementKind& kind);
    void printServerOutput();
    void report(const std::string& error);
    void endTransaction(bool keep);

    std::shared_ptr<connect::Connection> connection_;
    std::ostream& out_;
    OutputSettings settings_;
    NoticeCollector notices_;
    BindVariables binds_;
    int lastCode_ = 0;
};

}  // namespace tk::console
