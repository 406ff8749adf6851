// One PostgreSQL session running the component's Oracle SQL with Oracle's statement semantics.
#pragma once
#include <libpq-fe.h>

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "connect/PgResult.hpp"
#include "translate/OracleTranslator.hpp"
#include "translate/TranslationCache.hpp"

namespace tk::connect {

// Parameters of a statement the component builds itself (recordset write-back,
// stored-routine calls): text values with their PostgreSQL type.
struct NativeParams {
    std::vector<std::optional<std::string>> values;
    std::vector<Oid> types;
};

// One open PostgreSQL session: runs the component's Oracle texts with Oracle's
// meaning. Outside a transaction every statement commits on its own; inside one
// a failing statement undoes only itself, as Oracle does.
class Session {
  public:
    Session(const std::string& server, const std::string& user, const std::string& password);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Translates and runs one Oracle statement or anonymous block.
    PgResult runOracle(std::string_view oracleSql);
    // Runs a PostgreSQL statement of the component's own making.
    PgResult runNative(const std::string& sql, const NativeParams& params = {});

    // Runs a script of several statements of our own (schema DDL), never a
    // text built from user input: the simple protocol allows more than one.
    void runScript(const std::string& script);

    void begin();
    void commit();
    void rollback();
    bool inTransaction() const { return inTransaction_; }

    PGconn* raw() const { return conn_; }
    // Name of a table given by its object id, as the server shows it.
    const std::string& tableName(Oid table);
    // Name of column `number` (1-based) of a table.
    const std::string& columnName(Oid table, int number);

  private:
    translate::Translation translate(std::string_view oracleSql);
    PgResult execute(const std::string& sql, const NativeParams& params);
    PgResult executeChecked(const std::string& sql, const NativeParams& params);
    void checkInsertArity(const translate::Translation& t);
    template <typename Fn>
    PgResult guarded(Fn&& statement);
    struct Statement {
        const std::string& sql;
        const NativeParams& params;
    };
    std::vector<PgResult> pipeline(const std::vector<Statement>& statements);
    PgResult underSavepoint(const std::vector<Statement>& statements);

    PGconn* conn_ = nullptr;
    bool inTransaction_ = false;
    translate::TranslationCache translations_;
    std::unordered_map<Oid, std::string> tableNames_;
    std::unordered_map<Oid, std::vector<std::string>> columnNames_;
};

}  // namespace tk::connect
