// Account sets created from the db/ scripts, dropped, listed, and moved from the old
// shared owner role onto their own.
#include "provision/AccountSetAdmin.hpp"

#include <libpq-fe.h>

#include <algorithm>
#include <fstream>

#include "connect/Session.hpp"
#include "frame/Conversion.hpp"
#include "host/Dispatchable.hpp"
#include "host/RunTimeError.hpp"

namespace tk::am {
namespace fs = std::filesystem;
namespace {

// Account sets made by earlier releases all ran as this one role, so that any
// could read and change any other; `secure` takes them out of it.
constexpr const char* kSharedOwnerRole = "amasset_owner";
constexpr const char* kMarker = "amasset account set";
constexpr const char* kBackupScriptFile = "070_backup_script.sql";

[[noreturn]] void fail(const std::string& message) {
    throw RunTimeError(errors::kInvalidArgument, message);
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) fail("无法读取 " + path.string());
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<fs::path> sqlFiles(const fs::path& folder) {
    std::vector<fs::path> files;
    if (!fs::exists(folder)) return files;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().extension() == ".sql") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

std::string literal(const std::string& text) { return "'" + ReplaceAll(text, "'", "''") + "'"; }

// "{S}" in each of these stands for the account set's schema (and role) name,
// checked by schemaName to hold letters, digits and underscores only.
std::string forSchema(const std::string& script, const std::string& schema) {
    return ReplaceAll(script, "{S}", schema);
}

// The account set's login: its own role, in no shared one, with no role to
// switch to; an administrator who is no superuser joins it to create its objects.
constexpr const char* kLoginRole = R"(
DO $$ BEGIN
    IF NOT EXISTS (SELECT 1 FROM pg_roles WHERE rolname = '{S}') THEN CREATE ROLE {S} LOGIN; END IF;
    IF EXISTS (SELECT 1 FROM pg_roles WHERE rolname = 'amasset_owner') THEN REVOKE amasset_owner FROM {S}; END IF;
    IF NOT (SELECT rolsuper FROM pg_roles WHERE rolname = current_user) THEN GRANT {S} TO CURRENT_USER; END IF;
END $$;
ALTER ROLE {S} LOGIN;
ALTER ROLE {S} RESET role;
)";

// Every object of the schema becomes its role's (a table takes its indexes and
// the sequences of its columns along), and another account set's role loses
// what it was granted there.
constexpr const char* kOwnObjects = R"(
SET LOCAL search_path TO pg_catalog;
DO $$
DECLARE
    r record;
BEGIN
    ALTER SCHEMA {S} OWNER TO {S};
    FOR r IN SELECT format('%I.%I', n.nspname, c.relname) AS name,
                    CASE c.relkind WHEN 'S' THEN 'SEQUENCE' WHEN 'v' THEN 'VIEW'
                                   WHEN 'm' THEN 'MATERIALIZED VIEW' WHEN 'f' THEN 'FOREIGN TABLE'
                                   ELSE 'TABLE' END AS kind
               FROM pg_class c JOIN pg_namespace n ON n.oid = c.relnamespace
              WHERE n.nspname = '{S}' AND c.relkind IN ('r', 'p', 'v', 'm', 'f', 'S')
                AND c.relowner <> '{S}'::regrole
                AND NOT EXISTS (SELECT 1 FROM pg_depend d
                                 WHERE d.classid = 'pg_class'::regclass AND d.objid = c.oid
                                   AND d.deptype IN ('a', 'i') AND c.relkind = 'S')
    LOOP
        EXECUTE format('ALTER %s %s OWNER TO {S}', r.kind, r.name);
    END LOOP;
    FOR r IN SELECT p.oid::regprocedure AS name,
                    CASE p.prokind WHEN 'p' THEN 'PROCEDURE' WHEN 'a' THEN 'AGGREGATE'
                                   ELSE 'FUNCTION' END AS kind
               FROM pg_proc p JOIN pg_namespace n ON n.oid = p.pronamespace
              WHERE n.nspname = '{S}' AND p.proowner <> '{S}'::regrole
    LOOP
        EXECUTE format('ALTER %s %s OWNER TO {S}', r.kind, r.name);
    END LOOP;
    FOR r IN SELECT format('%I.%I', n.nspname, t.typname) AS name,
                    CASE t.typtype WHEN 'd' THEN 'DOMAIN' ELSE 'TYPE' END AS kind
               FROM pg_type t JOIN pg_namespace n ON n.oid = t.typnamespace
               LEFT JOIN pg_class c ON c.oid = t.typrelid
              WHERE n.nspname = '{S}' AND (t.typtype IN ('d', 'e') OR c.relkind = 'c')
                AND t.typowner <> '{S}'::regrole
    LOOP
        EXECUTE format('ALTER %s %s OWNER TO {S}', r.kind, r.name);
    END LOOP;
    FOR r IN SELECT DISTINCT g.rolname
               FROM pg_roles g
               JOIN pg_namespace other ON other.nspname = g.rolname
                                      AND obj_description(other.oid, 'pg_namespace') = 'amasset account set'
              WHERE g.rolname <> '{S}'
                AND (EXISTS (SELECT 1 FROM pg_namespace n, aclexplode(n.nspacl) a
                              WHERE n.nspname = '{S}' AND a.grantee = g.oid)
                  OR EXISTS (SELECT 1 FROM pg_class c JOIN pg_namespace n ON n.oid = c.relnamespace,
                                           aclexplode(c.relacl) a
                              WHERE n.nspname = '{S}' AND a.grantee = g.oid))
    LOOP
        EXECUTE format('REVOKE ALL ON ALL TABLES IN SCHEMA {S} FROM %I', r.rolname);
        EXECUTE format('REVOKE ALL ON SCHEMA {S} FROM %I', r.rolname);
    END LOOP;
END $$;
)";

// Only once no account set is in it any more; a role that still owns or may
// use something elsewhere stays.
constexpr const char* kDropSharedOwner = R"(
DO $$ BEGIN
    IF EXISTS (SELECT 1 FROM pg_roles WHERE rolname = 'amasset_owner')
       AND NOT EXISTS (SELECT 1 FROM pg_auth_members m JOIN pg_roles r ON r.oid = m.roleid
                        WHERE r.rolname = 'amasset_owner') THEN
        DROP ROLE amasset_owner;
    END IF;
EXCEPTION WHEN dependent_objects_still_exist THEN
    NULL;
END $$;
)";

// The SCRAM-SHA-256 secret of the password, made here so that the password
// itself never travels to the server.
std::string scramSecret(connect::Session& session, const std::string& role,
                        const std::string& password) {
    char* secret =
        PQencryptPasswordConn(session.raw(), password.c_str(), role.c_str(), "scram-sha-256");
    if (!secret) fail(std::string("无法生成账套口令: ") + PQerrorMessage(session.raw()));
    std::string text = secret;
    PQfreemem(secret);
    return text;
}

}  // namespace

// Servers started side by side, and restores, secure the same sets: one at a time.
const char* const AccountSetAdmin::kSecuringLock =
    "SELECT pg_advisory_xact_lock(hashtext('amasset secure'));";

AccountSetAdmin::AccountSetAdmin(const std::string& adminServer, fs::path dbDir)
    : session_(std::make_unique<connect::Session>(adminServer, "", "")), dbDir_(std::move(dbDir)) {}

AccountSetAdmin::~AccountSetAdmin() = default;

std::string AccountSetAdmin::schemaName(const std::string& name) {
    std::string schema = lowerAscii(Trim(name));
    bool valid = !schema.empty() && schema.size() <= 30 &&
                 std::isalpha(static_cast<unsigned char>(schema[0]));
    for (char c : schema)
        valid = valid && (std::isalnum(static_cast<unsigned char>(c)) || c == '_');
    if (!valid)
        fail("账套名称无效: \"" + name + "\"(以字母开头, 只含字母、数字和下划线, 最长 30 个字符)");
    if (schema == "public" || schema == "sys" || schema == "oracle" || schema == "oracompat" ||
        schema.starts_with("pg_") || schema == kSharedOwnerRole)
        fail("账套名称被系统保留: " + name);
    return schema;
}

bool AccountSetAdmin::exists(const std::string& name) {
    connect::PgResult r = session_->runNative("SELECT 1 FROM pg_namespace WHERE nspname = $1",
                                              {{schemaName(name)}, {}});
    return PQntuples(r.get()) > 0;
}

bool AccountSetAdmin::isAccountSet(const std::string& name) {
    connect::PgResult r = session_->runNative(
        "SELECT 1 FROM pg_namespace WHERE nspname = $1"
        " AND obj_description(oid, 'pg_namespace') = $2",
        {{schemaName(name), std::string(kMarker)}, {}});
    return PQntuples(r.get()) > 0;
}

void AccountSetAdmin::create(const std::string& name, const AccountSetOptions& options) {
    std::string schema = schemaName(name);
    if (exists(schema) && !options.replace)
        fail("账套 " + name + " 已存在; 如需重建请指定替换 (--replace)");
    std::string years;
    for (int year : options.years) years += (years.empty() ? "" : ",") + std::to_string(year);
    session_->begin();
    try {
        session_->runScript("DROP SCHEMA IF EXISTS " + schema + " CASCADE;" +
                            loginScript(schema, options.password) + "CREATE SCHEMA " + schema +
                            " AUTHORIZATION " + schema +
                            ";"
                            "COMMENT ON SCHEMA " +
                            schema + " IS " + literal(kMarker) +
                            ";"
                            "SET LOCAL ROLE " +
                            schema +
                            ";"
                            "SET LOCAL search_path TO " +
                            schema + ", oracompat, public;");
        runFolder(dbDir_ / "account_set", "");
        runFolder(dbDir_ / "routines", "");
        if (options.onlineDevice) {
            runFile(dbDir_ / "optional" / "online_device.sql", "");
            runFile(dbDir_ / "optional" / "online_device_routines.sql", "");
        }
        if (options.selfService) runFile(dbDir_ / "optional" / "self_service.sql", "");
        if (options.demo) runFolder(dbDir_ / "demo", "ARRAY[" + years + "]::int[]");
        if (!options.like.empty()) copyReferenceData(schema, schemaName(options.like), years);
        session_->commit();
    } catch (...) {
        session_->rollback();
        throw;
    }
}

// The new set reads the other one inside this transaction only: the grant
// and its revocation commit together, as nothing.
void AccountSetAdmin::copyReferenceData(const std::string& schema, const std::string& like,
                                        const std::string& years) {
    // Its tables, and its sequences, which the new set's start past.
    const std::string tables = " ALL TABLES IN SCHEMA " + like;
    const std::string sequences = " ALL SEQUENCES IN SCHEMA " + like;
    session_->runScript("RESET ROLE; GRANT USAGE ON SCHEMA " + like + " TO " + schema +
                        "; GRANT SELECT ON" + tables + " TO " + schema + "; GRANT SELECT ON" +
                        sequences + " TO " + schema + "; SET LOCAL ROLE " + schema + ";");
    for (const auto& file : sqlFiles(dbDir_ / "like"))
        runFile(file, "ARRAY[" + years + "]::int[]", like);
    session_->runScript("RESET ROLE; REVOKE ALL ON" + tables + " FROM " + schema +
                        "; REVOKE ALL ON" + sequences + " FROM " + schema +
                        "; REVOKE ALL ON SCHEMA " + like + " FROM " + schema + ";");
}

// The script run as the account set's role, in its schema.
std::string AccountSetAdmin::asAccountSet(const std::string& schema, const std::string& script) {
    return "SET LOCAL ROLE " + schema + "; SET LOCAL search_path TO " + schema +
           ", oracompat, public;" + script + ";RESET ROLE;";
}

void AccountSetAdmin::runFolder(const fs::path& folder, const std::string& yearsArray) {
    for (const auto& file : sqlFiles(folder)) runFile(file, yearsArray);
}

void AccountSetAdmin::runFile(const fs::path& file, const std::string& yearsArray,
                              const std::string& likeSchema) {
    std::string script = readFile(file);
    if (!yearsArray.empty()) script = ReplaceAll(script, "{YEARS}", yearsArray);
    if (!likeSchema.empty()) script = ReplaceAll(script, "{LIKE}", likeSchema);
    try {
        session_->runScript(script);
    } catch (const RunTimeError& e) {
        throw RunTimeError(e.number(), file.filename().string() + ": " + e.description());
    }
}

void AccountSetAdmin::drop(const std::string& name) {
    std::string schema = schemaName(name);
    if (!exists(schema)) fail("账套 " + name + " 不存在");
    // The role goes with whatever it was granted on other account sets.
    session_->runScript(forSchema(
        "DROP SCHEMA {S} CASCADE; DO $$ BEGIN IF EXISTS (SELECT 1 FROM pg_roles WHERE rolname = "
        "'{S}') THEN DROP OWNED BY {S}; DROP ROLE {S}; END IF; END $$;",
        schema));
}

void AccountSetAdmin::secure(const std::string& name) {
    std::string schema = schemaName(name);
    if (!exists(schema)) fail("账套 " + name + " 不存在");
    session_->begin();
    try {
        session_->runScript(kSecuringLock + securingScript(schema, hasRegister(schema)));
        session_->commit();
    } catch (...) {
        session_->rollback();
        throw;
    }
}

std::string AccountSetAdmin::securingScript(const std::string& schema, bool upToDate,
                                            const std::string& password) {
    return loginScript(schema, password) + forSchema(kOwnObjects, schema) +
           (upToDate ? upToDateScript(schema) : "");
}

std::string AccountSetAdmin::loginScript(const std::string& schema, const std::string& password) {
    std::string login = forSchema(kLoginRole, schema);
    if (!password.empty())
        login += "ALTER ROLE " + schema + " PASSWORD " +
                 literal(scramSecret(*session_, schema, password)) + ";";
    return login;
}

std::vector<std::string> AccountSetAdmin::secureAll() {
    std::vector<std::string> failures;
    for (const auto& set : list()) {
        try {
            secure(set.name);
        } catch (const std::exception& e) {
            failures.push_back("账套 " + set.name + ": " + e.what());
        }
    }
    session_->runScript(kDropSharedOwner);
    return failures;
}

// A set of the suite's older module, or any schema of another layout, is the
// source of an upgrade as it stands: this component's tables in it would make
// it look like a set of its own.
bool AccountSetAdmin::hasRegister(const std::string& schema) {
    connect::PgResult r = session_->runNative(
        "SELECT 1 FROM pg_class c JOIN pg_namespace n ON n.oid = c.relnamespace"
        " WHERE n.nspname = $1 AND c.relname = 'amasset' AND c.relkind = 'r'",
        {{schema}, {}});
    return PQntuples(r.get()) > 0;
}

// The table files make what a set lacks and leave the rest as it is; the
// adjustment scripts' table is left out, since having it marks a set as
// adjusted.
std::string AccountSetAdmin::upToDateScript(const std::string& schema) {
    std::string script;
    for (const auto& file : sqlFiles(dbDir_ / "account_set"))
        if (file.filename() != kBackupScriptFile) script += asAccountSet(schema, readFile(file));
    for (const auto& file : sqlFiles(dbDir_ / "routines"))
        script += asAccountSet(schema, readFile(file));
    return script;
}

std::vector<AccountSetInfo> AccountSetAdmin::list() {
    connect::PgResult r = session_->runNative(
        "SELECT upper(n.nspname), (SELECT count(*) FROM pg_class c WHERE c.relnamespace = n.oid "
        "AND c.relkind = 'r') FROM pg_namespace n WHERE obj_description(n.oid, 'pg_namespace') = "
        "$1 "
        "ORDER BY 1",
        {{kMarker}, {}});
    std::vector<AccountSetInfo> sets;
    for (int i = 0; i < PQntuples(r.get()); ++i)
        sets.push_back({PQgetvalue(r.get(), i, 0), std::atoi(PQgetvalue(r.get(), i, 1))});
    return sets;
}

}  // namespace tk::am
