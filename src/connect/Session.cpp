// The session: log-in with the user's schema first on the search path, translated Oracle SQL,
// per-statement savepoints inside a transaction, and Oracle's INSERT arity check.
#include "connect/Session.hpp"

#include <cstdlib>

#include "connect/DatabaseError.hpp"

namespace tk::connect {
namespace {

std::string quoteIdent(PGconn* conn, const std::string& name) {
    char* quoted = PQescapeIdentifier(conn, name.c_str(), name.size());
    std::string out = quoted ? quoted : "\"\"";
    PQfreemem(quoted);
    return out;
}

std::string lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

const std::string kSavepoint = "SAVEPOINT tk_stmt";
const std::string kRelease = "RELEASE SAVEPOINT tk_stmt";
const std::string kRollbackTo = "ROLLBACK TO SAVEPOINT tk_stmt";
// Oracle refuses an INSERT without column list whose values do not fill the
// table (ORA-00913 / ORA-00947); PostgreSQL would fill the rest with defaults.
const std::string kInsertArity = "SELECT oracompat.insert_arity($1::regclass, $2::integer)";

bool succeeded(const PGresult* r) {
    auto status = PQresultStatus(r);
    return status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK;
}

}  // namespace

// Oracle user names are case-insensitive; the roles and schemas standing for
// them are created in lower case.
Session::Session(const std::string& server, const std::string& userName,
                 const std::string& password) {
    const std::string user = lower(userName);
    // A program that runs another may name the sessions it opens, to find them again.
    const char* named = std::getenv("PGAPPNAME");
    const char* keys[] = {"dbname",           "user", "password", "client_encoding",
                          "application_name", nullptr};
    const char* values[] = {server.c_str(),
                            user.empty() ? nullptr : user.c_str(),
                            password.empty() ? nullptr : password.c_str(),
                            "UTF8",
                            named && *named ? named : "TkConnectBase",
                            nullptr};
    conn_ = PQconnectdbParams(keys, values, 1);
    if (PQstatus(conn_) != CONNECTION_OK) {
        std::string message = PQerrorMessage(conn_);
        PQfinish(conn_);
        conn_ = nullptr;
        throw databaseError("ORA-12154", "无法连接数据库: " + message);
    }
    PQsetNoticeProcessor(
        conn_, [](void*, const char*) {}, nullptr);
    // The login user is also a schema: its tables come first, then the Oracle
    // compatibility objects (dual, the dictionary views).
    std::string schema = user.empty() ? std::string(PQuser(conn_)) : user;
    runNative("SET search_path TO " + quoteIdent(conn_, schema) + ", oracompat, public");
    runNative("SET datestyle TO ISO, YMD");
}

Session::~Session() {
    if (conn_) PQfinish(conn_);
}

translate::Translation Session::translate(std::string_view oracleSql) {
    try {
        return translations_.translate(oracleSql, inTransaction_);
    } catch (const translate::TranslationError& e) {
        throw databaseError("ORA-00900", e.what());
    }
}

PgResult Session::runOracle(std::string_view oracleSql) {
    const translate::Translation t = translate(oracleSql);
    if (t.insertTable.empty()) return runNative(t.sql);
    if (inTransaction_ && t.insertValueCount >= 0) {
        // The count is checked by the server ahead of the row: one round trip.
        const NativeParams arity{{t.insertTable, std::to_string(t.insertValueCount)}, {}};
        const NativeParams none;
        return underSavepoint({{kInsertArity, arity}, {t.sql, none}});
    }
    return guarded([&] {
        checkInsertArity(t);
        return executeChecked(t.sql, {});
    });
}

PgResult Session::runNative(const std::string& sql, const NativeParams& params) {
    if (!inTransaction_) return executeChecked(sql, params);
    return underSavepoint({{sql, params}});
}

// The statements between a savepoint and its release, sent together; the
// first failure undoes them all. The last statement's result.
PgResult Session::underSavepoint(const std::vector<Statement>& statements) {
    const NativeParams none;
    std::vector<Statement> all{{kSavepoint, none}};
    for (const Statement& s : statements) all.push_back(s);
    all.push_back({kRelease, none});
    std::vector<PgResult> results = pipeline(all);
    for (const auto& r : results)
        if (!r || !succeeded(r.get())) {
            if (PQresultStatus(r.get()) == PGRES_PIPELINE_ABORTED) continue;
            pipeline({{kRollbackTo, none}, {kRelease, none}});
            throw databaseError(r.get(), conn_);
        }
    return std::move(results[results.size() - 2]);
}

// Inside a transaction each statement runs under its own savepoint, so that
// its failure undoes only itself; the savepoint is released on success to keep
// the number of live subtransactions small.
template <typename Fn>
PgResult Session::guarded(Fn&& statement) {
    if (!inTransaction_) return statement();
    executeChecked(kSavepoint, {});
    try {
        PgResult result = statement();
        executeChecked(kRelease, {});
        return result;
    } catch (...) {
        pipeline({{kRollbackTo, {}}, {kRelease, {}}});
        throw;
    }
}

// Sends the statements together and waits once: one round trip for all.
std::vector<PgResult> Session::pipeline(const std::vector<Statement>& statements) {
    PQenterPipelineMode(conn_);
    for (const auto& s : statements) {
        std::vector<const char*> values;
        for (const auto& v : s.params.values) values.push_back(v ? v->c_str() : nullptr);
        PQsendQueryParams(conn_, s.sql.c_str(), static_cast<int>(values.size()),
                          s.params.types.empty() ? nullptr : s.params.types.data(), values.data(),
                          nullptr, nullptr, 0);
    }
    PQpipelineSync(conn_);
    std::vector<PgResult> results;
    for (size_t i = 0; i < statements.size(); ++i) {
        PgResult last;
        while (PGresult* r = PQgetResult(conn_)) last.reset(r);
        results.push_back(std::move(last));
    }
    PgResult sync(PQgetResult(conn_));
    PQexitPipelineMode(conn_);
    return results;
}

PgResult Session::execute(const std::string& sql, const NativeParams& params) {
    std::vector<const char*> values;
    for (const auto& v : params.values) values.push_back(v ? v->c_str() : nullptr);
    return PgResult(PQexecParams(conn_, sql.c_str(), static_cast<int>(values.size()),
                                 params.types.empty() ? nullptr : params.types.data(),
                                 values.data(), nullptr, nullptr, 0));
}

PgResult Session::executeChecked(const std::string& sql, const NativeParams& params) {
    PgResult result = execute(sql, params);
    if (!result || !succeeded(result.get())) throw databaseError(result.get(), conn_);
    return result;
}

// PostgreSQL fills missing columns of an insert with their defaults; Oracle
// refuses a source whose width differs from the table's.
void Session::checkInsertArity(const translate::Translation& t) {
    NativeParams table{{t.insertTable}, {}};
    PgResult count = executeChecked(
        "SELECT count(*) FROM pg_attribute WHERE attrelid = $1::regclass AND attnum > 0 AND NOT "
        "attisdropped",
        table);
    int columns = std::atoi(PQgetvalue(count.get(), 0, 0));
    int given = t.insertValueCount;
    if (given < 0) {
        PgResult prepared(PQprepare(conn_, "", t.insertSelect.c_str(), 0, nullptr));
        if (!succeeded(prepared.get())) throw databaseError(prepared.get(), conn_);
        PgResult described(PQdescribePrepared(conn_, ""));
        if (!succeeded(described.get())) throw databaseError(described.get(), conn_);
        given = PQnfields(described.get());
    }
    if (given > columns) throw databaseError("ORA-00913", "too many values");
    if (given < columns) throw databaseError("ORA-00947", "not enough values");
}

void Session::runScript(const std::string& script) {
    PgResult result(PQexec(conn_, script.c_str()));
    if (!result || !succeeded(result.get())) throw databaseError(result.get(), conn_);
}

void Session::begin() {
    if (inTransaction_) throw RunTimeError(errors::kDatabase, "事务已经开始");
    executeChecked("BEGIN", {});
    inTransaction_ = true;
}

void Session::commit() {
    if (!inTransaction_) throw RunTimeError(errors::kDatabase, "没有已开始的事务");
    inTransaction_ = false;
    executeChecked("COMMIT", {});
}

void Session::rollback() {
    if (!inTransaction_) throw RunTimeError(errors::kDatabase, "没有已开始的事务");
    inTransaction_ = false;
    executeChecked("ROLLBACK", {});
}

const std::string& Session::tableName(Oid table) {
    auto it = tableNames_.find(table);
    if (it != tableNames_.end()) return it->second;
    PgResult r = runNative("SELECT $1::oid::regclass::text", {{std::to_string(table)}, {}});
    return tableNames_[table] = PQgetvalue(r.get(), 0, 0);
}

const std::string& Session::columnName(Oid table, int number) {
    auto it = columnNames_.find(table);
    if (it == columnNames_.end()) {
        PgResult r = runNative(
            "SELECT attnum, attname FROM pg_attribute WHERE attrelid = $1::oid AND attnum > 0",
            {{std::to_string(table)}, {}});
        std::vector<std::string> names;
        for (int i = 0; i < PQntuples(r.get()); ++i) {
            size_t n = static_cast<size_t>(std::atoi(PQgetvalue(r.get(), i, 0)));
            if (names.size() < n) names.resize(n);
            names[n - 1] = quoteIdent(conn_, PQgetvalue(r.get(), i, 1));
        }
        it = columnNames_.emplace(table, std::move(names)).first;
    }
    return it->second.at(static_cast<size_t>(number - 1));
}

}  // namespace tk::connect
