// Runs console statements through the connection component and prints Oracle-style output.
#pragma once
#include <memory>
#include <ostream>
#include <string>

#include "connect/Connection.hpp"
#include "host/RunTimeError.hpp"

namespace tk::console {

// The SET options that change what is printed.
struct OutputSettings {
    bool heading = true;
    int feedback = 6;  // "n rows selected." from this many rows; 0 for never
};

// Runs one statement or PL/SQL block through the connection component and
// answers as Oracle's console does: query rows, the feedback line, or the
// error as "ORA-nnnnn: message". Work runs in one transaction that COMMIT,
// ROLLBACK and the end of the session close, as in Oracle.
class StatementRunner {
  public:
    StatementRunner(std::shared_ptr<connect::Connection> connection, std::ostream& out);
    OutputSettings& settings() { return settings_; }
    void run(const std::string& statement, bool plsql);
    // The session's work is kept when it ends.
    void finish();

  private:
    void query(const std::string& sql);
    void execute(const std::string& sql, bool plsql);
    void endTransaction(bool keep);
    void report(const RunTimeError& error);

    std::shared_ptr<connect::Connection> connection_;
    std::ostream& out_;
    OutputSettings settings_;
};

}  // namespace tk::console
