#include "provision/AccountSetAdmin.hpp"

#include <libpq-fe.h>

#include <algorithm>
#include <fstream>

#include "connect/RunTimeError.hpp"
#include "connect/Session.hpp"
#include "frame/Utility.hpp"

namespace tk::am {
namespace fs = std::filesystem;
namespace {

// Every account set's objects belong to this role; each account set's login
// role runs as it, so the carry-forward can read one account set from another.
constexpr const char* kOwnerRole = "amasset_owner";
constexpr const char* kMarker = "amasset account set";

[[noreturn]] void fail(const std::string& message) { throw RunTimeError(errors::kInvalidArgument, message); }

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

}  // namespace

AccountSetAdmin::AccountSetAdmin(const std::string& adminServer, fs::path dbDir)
    : session_(std::make_unique<connect::Session>(adminServer, "", "")), dbDir_(std::move(dbDir)) {}

AccountSetAdmin::~AccountSetAdmin() = default;

std::string AccountSetAdmin::schemaName(const std::string& name) {
    std::string schema = lowerAscii(Trim(name));
    bool valid = !schema.empty() && schema.size() <= 30 && std::isalpha(static_cast<unsigned char>(schema[0]));
    for (char c : schema) valid = valid && (std::isalnum(static_cast<unsigned char>(c)) || c == '_');
    if (!valid) fail("账套名称无效: \"" + name + "\"(以字母开头, 只含字母、数字和下划线, 最长 30 个字符)");
    if (schema == "public" || schema == "sys" || schema == "oracle" || schema == "oracompat" ||
        schema.starts_with("pg_") || schema == kOwnerRole)
        fail("账套名称被系统保留: " + name);
    return schema;
}

bool AccountSetAdmin::exists(const std::string& name) {
    connect::PgResult r = session_->runNative(
        "SELECT 1 FROM pg_namespace WHERE nspname = $1", {{schemaName(name)}, {}});
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
        // Account sets created side by side must not race to create the shared owner role.
        session_->runScript(
            "SELECT pg_advisory_xact_lock(hashtext('" + std::string(kOwnerRole) + "'));"
            "DO $$ BEGIN IF NOT EXISTS (SELECT 1 FROM pg_roles WHERE rolname = '" +
            std::string(kOwnerRole) + "') THEN CREATE ROLE " + kOwnerRole +
            " NOLOGIN; END IF; END $$;"
            "DROP SCHEMA IF EXISTS " + schema + " CASCADE;"
            "DO $$ BEGIN IF NOT EXISTS (SELECT 1 FROM pg_roles WHERE rolname = '" + schema +
            "') THEN CREATE ROLE " + schema + " LOGIN; END IF; END $$;"
            "GRANT " + kOwnerRole + " TO " + schema + ";"
            "ALTER ROLE " + schema + " SET role = '" + kOwnerRole + "';"
            "CREATE SCHEMA " + schema + " AUTHORIZATION " + kOwnerRole + ";"
            "COMMENT ON SCHEMA " + schema + " IS " + literal(kMarker) + ";"
            "SET LOCAL ROLE " + kOwnerRole + ";"
            "SET LOCAL search_path TO " + schema + ", oracompat, public;");
        runFolder(dbDir_ / "account_set", "");
        runFolder(dbDir_ / "routines", "");
        if (options.onlineDevice) {
            runFile(dbDir_ / "optional" / "online_device.sql", "");
            runFile(dbDir_ / "optional" / "online_device_routines.sql", "");
        }
        if (options.selfService) runFile(dbDir_ / "optional" / "self_service.sql", "");
        if (options.demo) runFolder(dbDir_ / "demo", "ARRAY[" + years + "]::int[]");
        if (!options.like.empty())
            for (const auto& file : sqlFiles(dbDir_ / "like"))
                runFile(file, "ARRAY[" + years + "]::int[]", schemaName(options.like));
        session_->commit();
    } catch (...) {
        session_->rollback();
        throw;
    }
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
    session_->runScript("DROP SCHEMA " + schema + " CASCADE; DROP ROLE IF EXISTS " + schema + ";");
}

std::vector<AccountSetInfo> AccountSetAdmin::list() {
    connect::PgResult r = session_->runNative(
        "SELECT upper(n.nspname), (SELECT count(*) FROM pg_class c WHERE c.relnamespace = n.oid "
        "AND c.relkind = 'r') FROM pg_namespace n WHERE obj_description(n.oid, 'pg_namespace') = $1 "
        "ORDER BY 1",
        {{kMarker}, {}});
    std::vector<AccountSetInfo> sets;
    for (int i = 0; i < PQntuples(r.get()); ++i)
        sets.push_back({PQgetvalue(r.get(), i, 0), std::atoi(PQgetvalue(r.get(), i, 1))});
    return sets;
}

}  // namespace tk::am
