// Entry point of the Oracle-to-PostgreSQL translator, with its result and error types.
#pragma once
#include <stdexcept>
#include <string>
#include <string_view>

namespace tk::translate {

struct Translation {
    std::string sql;  // one PostgreSQL statement
    // Set for an INSERT without a column list, so the connection can refuse a
    // source whose arity differs from the table's (Oracle raises
    // ORA-00913/ORA-00947; PostgreSQL would pad with defaults silently).
    // Empty / -1 otherwise.
    std::string insertTable;    // the translated target table reference, e.g. zt2024.amasset
    std::string insertSelect;   // the translated SELECT source (for INSERT … SELECT), else empty
    int insertValueCount = -1;  // number of expressions in VALUES(...), else -1
};

// A text the translator cannot carry over to PostgreSQL with Oracle's meaning.
class TranslationError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Translates the component's Oracle SQL and anonymous PL/SQL blocks into
// PostgreSQL with the same meaning. One statement per call.
class OracleTranslator {
  public:
    // inTransaction: a COMMIT/ROLLBACK inside an anonymous block must leave the
    // decision to the caller's open transaction (PostgreSQL refuses COMMIT in a
    // DO block inside one).
    static Translation translate(std::string_view oracleSql, bool inTransaction);
};

}  // namespace tk::translate
