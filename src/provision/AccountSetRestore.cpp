// pg_restore's script sent through psql inside one transaction of our making: the set of the
// archive's name set aside for it, the restored schema renamed, checked, put in place and secured;
// the commit sent only once pg_restore has ended well.
#include "provision/AccountSetRestore.hpp"

#include <random>
#include <stdexcept>

#include "frame/Conversion.hpp"
#include "frame/DataAccess.hpp"
#include "provision/AccountSetAdmin.hpp"
#include "provision/BackupFile.hpp"
#include "provision/ServerPrograms.hpp"

namespace tk::am {
namespace fs = std::filesystem;
namespace {

// The schemas of one restore: the archive's, one the set of that name waits
// in meanwhile, the restored one until it is checked, and the one it becomes.
struct Names {
    std::string original, aside, restored, target;
};

std::string literal(const std::string& text) { return "'" + QuoteSql(text) + "'"; }

Names namesFor(const BackupManifest& manifest, const RestoreOptions& options) {
    std::random_device entropy;
    const std::string tag = std::to_string(entropy() % 1000000000u);
    return {AccountSetAdmin::schemaName(manifest.schema), "amaside_" + tag, "amrestore_" + tag,
            AccountSetAdmin::schemaName(options.as.empty() ? manifest.schema : options.as)};
}

std::string ifSchemaExists(const std::string& schema, const std::string& then) {
    return "DO $$ BEGIN IF EXISTS (SELECT 1 FROM pg_namespace WHERE nspname = " + literal(schema) +
           ") THEN " + then + " END IF; END $$;";
}

// The archive creates its schema under its own name: a set of that name on
// this server waits aside for the transaction.
std::string head(const Names& n) {
    return std::string("BEGIN;") + AccountSetAdmin::kSecuringLock +
           ifSchemaExists(n.original, "ALTER SCHEMA " + n.original + " RENAME TO " + n.aside + ";");
}

// Every table the manifest names, with its row count and checksum, and no
// other: {0} the schema, {1} how many tables, {2} the sums query of table %s,
// {3} the manifest's rows after a first row that gives their types.
constexpr const char* kCheck = R"(
SET client_min_messages = notice;
DO $$
DECLARE
    r record;
    n bigint;
    s numeric;
BEGIN
    IF (SELECT count(*) FROM pg_class WHERE relkind = 'r' AND relnamespace = {0}::regnamespace) <> {1}
    THEN
        RAISE EXCEPTION '恢复后的表数与备份清单不符';
    END IF;
    FOR r IN SELECT * FROM (VALUES (NULL::text, 0::bigint, 0::numeric){3}) AS m(name, rows, sums)
              WHERE name IS NOT NULL
    LOOP
        EXECUTE format({2}, format('%I.%I', {0}, r.name)) INTO n, s;
        IF n <> r.rows OR s <> r.sums THEN
            RAISE EXCEPTION '表 % 恢复后与备份清单不符: 应有 % 行, 实有 % 行%', r.name, r.rows, n,
                CASE WHEN n = r.rows THEN ', 内容校验和不同' ELSE '' END;
        END IF;
        RAISE NOTICE 'tkam-verified %', r.name;
    END LOOP;
END $$;
SET client_min_messages = warning;
)";

// The routines dumped with the archive's schema {0} on their search path
// follow their set under its new name {1}.
constexpr const char* kFollowingRename = R"(
DO $$
DECLARE
    f record;
BEGIN
    FOR f IN SELECT p.oid::regprocedure AS routine,
                    array_to_string(array(SELECT CASE WHEN trim(e) = {0} THEN {1} ELSE trim(e) END
                                            FROM unnest(string_to_array(substr(c, 13), ',')) e),
                                    ', ') AS path
               FROM pg_proc p, unnest(p.proconfig) c
              WHERE p.pronamespace = {1}::regnamespace AND c LIKE 'search_path=%'
    LOOP
        EXECUTE format('ALTER ROUTINE %s SET search_path TO %s', f.routine, f.path);
    END LOOP;
END $$;
)";

std::string checkAgainst(const BackupManifest& manifest, const std::string& schema) {
    std::string rows;
    for (const auto& t : manifest.tables)
        rows += ", (" + literal(t.table) + ", " + std::to_string(t.rows) + ", " +
                literal(t.checksum) + ")";
    return BackupManifest::kRowTextSettings +
           FormatTemplate(kCheck, {literal(schema), std::to_string(manifest.tables.size()),
                                   literal(BackupManifest::sumsQuery("%s")), rows});
}

std::string followingRename(const Names& n) {
    return n.original == n.target
               ? ""
               : FormatTemplate(kFollowingRename, {literal(n.original), literal(n.target)});
}

std::string alreadyThere(const std::string& schema) {
    return "账套 " + UpperAscii(schema) + " 已存在; 如需替换请指定 --replace";
}

std::string intoPlace(const Names& n, bool replace) {
    const std::string taken = replace ? "DROP SCHEMA " + n.target + " CASCADE;"
                                      : "RAISE EXCEPTION " + literal(alreadyThere(n.target)) + ";";
    return ifSchemaExists(n.target, taken) + "ALTER SCHEMA " + n.restored + " RENAME TO " +
           n.target + ";" + followingRename(n);
}

std::string tail(const Names& n, const BackupManifest& manifest, const RestoreOptions& options,
                 AccountSetAdmin& admin) {
    return "ALTER SCHEMA " + n.original + " RENAME TO " + n.restored + ";" +
           ifSchemaExists(n.aside, "ALTER SCHEMA " + n.aside + " RENAME TO " + n.original + ";") +
           checkAgainst(manifest, n.restored) + intoPlace(n, options.replace) +
           admin.securingScript(n.target, manifest.hasTable("amasset"), options.password) +
           "COMMIT;";
}

// The table pg_restore restores the rows of, or psql's notice says is checked.
std::string tableOf(const std::string& line) {
    const std::string checked = "tkam-verified ";
    if (const size_t at = line.find(checked); at != std::string::npos)
        return line.substr(at + checked.size());
    return ServerPrograms::tableNamed(line, "processing data for table ");
}

// Told before anything is done; the transaction refuses it again, should the
// name be taken meanwhile.
void refuseTakenName(AccountSetAdmin& admin, const std::string& target, bool replace) {
    if (!admin.exists(target)) return;
    if (!replace) throw std::runtime_error(alreadyThere(target));
    if (!admin.isAccountSet(target))
        throw std::runtime_error(UpperAscii(target) + " 不是账套, 不能替换");
}

}  // namespace

AccountSetRestore::AccountSetRestore(std::string adminServer)
    : adminServer_(std::move(adminServer)) {}

BackupManifest AccountSetRestore::restore(const fs::path& file, const RestoreOptions& options,
                                          const BackupProgress& progress) {
    const BackupManifest manifest = BackupFile::open(file);
    const Names names = namesFor(manifest, options);
    AccountSetAdmin admin(adminServer_);
    refuseTakenName(admin, names.target, options.replace);
    ServerPrograms programs(adminServer_);
    size_t done = 0;
    programs.onLine([&, total = 2 * manifest.tables.size()](const std::string& line) {
        if (std::string table = tableOf(line); !table.empty() && progress)
            progress(table, ++done, total);
    });
    try {
        programs.pipe({ServerPrograms::path("pg_restore"), "--verbose", "--no-owner",
                       "--no-privileges", "--file=-", fs::absolute(file).string()},
                      head(names),
                      {ServerPrograms::path("psql"), "--no-psqlrc", "--quiet",
                       "--set=ON_ERROR_STOP=1", "--file=-"},
                      tail(names, manifest, options, admin));
    } catch (const std::exception& e) {
        throw std::runtime_error(std::string("账套未恢复, 数据库保持原样: ") + e.what());
    }
    return manifest;
}

}  // namespace tk::am
