// A read-only repeatable-read transaction exports its snapshot, sums every table in it and holds
// it while pg_dump dumps the schema in it to a hidden file, which is sealed and renamed into place.
#include "provision/AccountSetBackup.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <future>
#include <mutex>
#include <stdexcept>

#include "connect/Session.hpp"
#include "provision/AccountSetAdmin.hpp"
#include "provision/BackupFile.hpp"
#include "provision/ServerPrograms.hpp"

namespace tk::am {
namespace fs = std::filesystem;
namespace {

std::string value(connect::Session& session, const std::string& sql) {
    connect::PgResult r = session.runNative(sql);
    return PQntuples(r.get()) > 0 ? PQgetvalue(r.get(), 0, 0) : "";
}

// The backup while it is written: a hidden file beside the one it becomes,
// readable by its owner alone (it holds the whole books), gone unless kept.
class PartialFile {
  public:
    explicit PartialFile(const fs::path& file)
        : file_(fs::absolute(file)),
          path_(file_.parent_path() /
                ("." + file_.filename().string() + ".partial-" + std::to_string(getpid()))) {
        std::error_code leftOver;
        fs::remove(path_, leftOver);
        const int fd = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0) throw std::runtime_error("无法写入备份文件 " + file_.string());
        ::close(fd);
    }
    ~PartialFile() {
        std::error_code ignored;
        if (!kept_) fs::remove(path_, ignored);
    }
    const fs::path& path() const { return path_; }
    // Renamed into place, the directory's entry flushed too.
    void keep() {
        fs::rename(path_, file_);
        kept_ = true;
        const int dir = ::open(file_.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dir >= 0) fsync(dir), ::close(dir);
    }

  private:
    fs::path file_, path_;
    bool kept_ = false;
};

struct Snapshot {
    std::string id;
    std::vector<std::pair<std::string, std::string>> tables;  // name, quoted qualified name
};

Snapshot exportSnapshot(connect::Session& session, const std::string& schema) {
    session.runScript(std::string("BEGIN ISOLATION LEVEL REPEATABLE READ, READ ONLY;") +
                      BackupManifest::kRowTextSettings);
    Snapshot snapshot{value(session, "SELECT pg_export_snapshot()"), {}};
    connect::PgResult r = session.runNative(
        "SELECT c.relname, format('%I.%I', n.nspname, c.relname) FROM pg_class c"
        " JOIN pg_namespace n ON n.oid = c.relnamespace"
        " WHERE n.nspname = $1 AND c.relkind = 'r' ORDER BY c.relname",
        {{schema}, {}});
    for (int i = 0; i < PQntuples(r.get()); ++i)
        snapshot.tables.emplace_back(PQgetvalue(r.get(), i, 0), PQgetvalue(r.get(), i, 1));
    return snapshot;
}

using Advance = std::function<void(const std::string& table)>;

// Each table's sums in the snapshot, within what is left of the time limit.
std::vector<TableSums> sumTables(connect::Session& session, const Snapshot& snapshot,
                                 const ServerPrograms& programs, const Advance& advance) {
    std::vector<TableSums> sums;
    for (const auto& [table, qualified] : snapshot.tables) {
        session.runScript("SET LOCAL statement_timeout = " +
                          std::to_string(std::max<int64_t>(1, programs.left().count())));
        try {
            connect::PgResult r = session.runNative(BackupManifest::sumsQuery(qualified));
            sums.push_back(
                {table, std::stoll(PQgetvalue(r.get(), 0, 0)), PQgetvalue(r.get(), 0, 1)});
        } catch (const std::exception&) {
            if (programs.left().count() > 0) throw;
            throw std::runtime_error("备份超过时间限制, 已终止 (读表 " + table + " 时)");
        }
        advance(table);
    }
    return sums;
}

void dump(ServerPrograms& programs, const std::string& schema, const std::string& snapshot,
          const fs::path& file, const Advance& advance) {
    programs.onLine([&](const std::string& line) {
        std::string table = ServerPrograms::tableNamed(line, "dumping contents of table ");
        if (!table.empty()) advance(table);
    });
    programs.run({ServerPrograms::path("pg_dump"), "--format=custom", "--verbose",
                  "--schema=" + schema, "--strict-names", "--snapshot=" + snapshot,
                  "--file=" + file.string()});
}

}  // namespace

AccountSetBackup::AccountSetBackup(std::string adminServer)
    : adminServer_(std::move(adminServer)) {}

BackupManifest AccountSetBackup::write(const std::string& name, const fs::path& file,
                                       const BackupProgress& progress) {
    const std::string schema = AccountSetAdmin::schemaName(name);
    if (!AccountSetAdmin(adminServer_).isAccountSet(schema))
        throw std::runtime_error("账套 " + name + " 不存在");
    ServerPrograms programs(adminServer_);
    connect::Session session(adminServer_, "", "");
    const Snapshot snapshot = exportSnapshot(session, schema);
    BackupManifest manifest;
    manifest.release = BackupManifest::kRelease;
    manifest.schema = schema;
    manifest.server = value(session, "SHOW server_version");
    manifest.taken = value(session, "SELECT to_char(now(), 'YYYY-MM-DD\"T\"HH24:MI:SS\"Z\"')");
    size_t done = 0;
    std::mutex advancing;
    auto advance = [&, total = 2 * snapshot.tables.size()](const std::string& table) {
        std::lock_guard<std::mutex> one(advancing);
        if (progress) progress(table, ++done, total);
    };
    PartialFile partial(file);
    // The sums and the dump read the same snapshot side by side.
    auto sums = std::async(std::launch::async,
                           [&] { return sumTables(session, snapshot, programs, advance); });
    dump(programs, schema, snapshot.id, partial.path(), advance);
    manifest.tables = sums.get();
    session.runNative("COMMIT");
    BackupFile::seal(partial.path(), manifest);
    partial.keep();
    return manifest;
}

}  // namespace tk::am
