// The private server initialised, started and stopped through the PostgreSQL tools,
// stale locks cleared, and its account-set database installed.
#include "provision/EmbeddedServer.hpp"

#include <libpq-fe.h>
#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <vector>

#include "provision/AccountSetAdmin.hpp"
#include "provision/DatabaseFolder.hpp"
#include "provision/Process.hpp"
#include "provision/ServerPrograms.hpp"

namespace tk::am {
namespace fs = std::filesystem;
namespace {

// A Unix socket path must fit sun_path (108 bytes with the file name).
constexpr size_t kMaxSocketDir = 90;

bool isRoot() { return geteuid() == 0; }

void ensureServiceUser() {
    if (getpwnam(EmbeddedServer::kSuperuser)) return;
    int rc = runProgram({"useradd", "--system", "--no-create-home", "--shell", "/usr/sbin/nologin",
                         EmbeddedServer::kSuperuser});
    if (rc != 0) throw std::runtime_error("无法创建运行数据库的系统用户 amasset");
}

// A quarter of the machine's memory, at most 512 MB: a period close of
// 100,000 assets rewrites a few hundred megabytes of balance, journal and
// apportionment rows, which 128 MB could not keep.
long sharedBuffersMB() {
    const long pages = sysconf(_SC_PHYS_PAGES), pageSize = sysconf(_SC_PAGESIZE);
    if (pages <= 0 || pageSize <= 0) return 128;
    return std::clamp(pages / 4 / (1024 * 1024 / pageSize), 128L, 512L);
}

void giveToServiceUser(const fs::path& dir) {
    runProgram({"chown", "-R", std::string(EmbeddedServer::kSuperuser) + ":", dir.string()});
}

struct PgConn {
    PGconn* conn;
    explicit PgConn(const std::string& url) : conn(PQconnectdb(url.c_str())) {
        if (PQstatus(conn) != CONNECTION_OK) {
            std::string message = PQerrorMessage(conn);
            PQfinish(conn);
            throw std::runtime_error("无法连接内置数据库: " + message);
        }
        PQsetNoticeProcessor(
            conn, [](void*, const char*) {}, nullptr);
    }
    ~PgConn() { PQfinish(conn); }
    bool exec(const std::string& sql, bool mustSucceed = true) {
        PGresult* r = PQexec(conn, sql.c_str());
        bool ok = PQresultStatus(r) == PGRES_COMMAND_OK || PQresultStatus(r) == PGRES_TUPLES_OK;
        std::string message = PQerrorMessage(conn);
        PQclear(r);
        if (!ok && mustSucceed) throw std::runtime_error(message);
        return ok;
    }
};

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A lock file (the data directory's, the socket's) left by a server that
// died names a process that is gone, a zombie, or now another program;
// PostgreSQL refuses to start on the last two. Such a file goes.
void removeStaleLocks(const fs::path& dataDir) {
    if (!fs::exists(dataDir)) return;
    for (const auto& entry : fs::directory_iterator(dataDir)) {
        const std::string name = entry.path().filename().string();
        if (name != "postmaster.pid" && !(name.starts_with(".s.PGSQL.") && name.ends_with(".lock")))
            continue;
        long pid = 0;
        if (!(std::ifstream(entry.path()) >> pid) || pid <= 0) continue;
        std::ifstream command("/proc/" + std::to_string(pid) + "/cmdline");
        std::string program;
        std::getline(command, program, '\0');
        if (fs::path(program).filename() != "postgres") fs::remove(entry.path());
    }
}

}  // namespace

EmbeddedServer::EmbeddedServer(fs::path dataDir) : dataDir_(fs::absolute(std::move(dataDir))) {
    if (dataDir_.string().size() > kMaxSocketDir)
        throw std::runtime_error("数据目录路径过长(套接字路径限制): " + dataDir_.string());
}

fs::path EmbeddedServer::defaultDataDir() {
    if (isRoot()) return "/var/lib/amasset/pg";
    if (const char* state = std::getenv("XDG_STATE_HOME"); state && *state)
        return fs::path(state) / "amasset" / "pg";
    const char* home = std::getenv("HOME");
    return fs::path(home ? home : "/tmp") / ".local" / "state" / "amasset" / "pg";
}

int EmbeddedServer::pgTool(const std::string& tool, std::vector<std::string> args,
                           bool quiet) const {
    std::vector<std::string> argv;
    if (isRoot()) argv = {"runuser", "-u", kSuperuser, "--"};
    argv.push_back(ServerPrograms::path(tool));
    argv.insert(argv.end(), args.begin(), args.end());
    return runProgram(argv, quiet);
}

bool EmbeddedServer::running() const {
    // pg_ctl would take a stale lock's process, whatever it is, for the server.
    removeStaleLocks(dataDir_);
    return fs::exists(dataDir_ / "PG_VERSION") &&
           pgTool("pg_ctl", {"status", "-D", dataDir_.string()}, true) == 0;
}

void EmbeddedServer::initialise(bool durable) {
    fs::create_directories(dataDir_);
    fs::permissions(dataDir_, fs::perms::owner_all, fs::perm_options::replace);
    if (isRoot()) {
        ensureServiceUser();
        giveToServiceUser(dataDir_);
    }
    if (pgTool("initdb",
               {"-D", dataDir_.string(), "-E", "UTF8", "--locale=C.UTF-8", "-A", "trust", "-U",
                kSuperuser},
               true) != 0)
        throw std::runtime_error("initdb 失败: " + dataDir_.string());
    std::ofstream conf(dataDir_ / "postgresql.conf", std::ios::app);
    conf << "\n# Private instance: Unix socket in the data directory only.\n"
         << "listen_addresses = ''\n"
         << "unix_socket_directories = '" << dataDir_.string() << "'\n"
         << "max_connections = 100\n"
         << "shared_buffers = " + std::to_string(sharedBuffersMB()) + "MB\n"
         // a close writes gigabytes of WAL: checkpoints seconds apart would
         // write the same pages again and again
         << "max_wal_size = 4GB\ncheckpoint_timeout = 15min\n"
         << "lc_messages = 'C'\n";
    if (!durable) conf << "fsync = off\nsynchronous_commit = off\nfull_page_writes = off\n";
}

std::vector<std::string> EmbeddedServer::start(bool fresh, bool durable) {
    if (fresh && fs::exists(dataDir_)) stop(true);
    if (!fs::exists(dataDir_ / "PG_VERSION")) initialise(durable);
    if (!running()) {
        auto log = (dataDir_ / "server.log").string();
        // The socket where the data directory is now: a copy restored from a
        // backup elsewhere names the directory it was taken from.
        const std::string socket = "-c unix_socket_directories='" + dataDir_.string() + "'";
        if (pgTool("pg_ctl",
                   {"start", "-w", "-t", "60", "-D", dataDir_.string(), "-l", log, "-o", socket},
                   true) != 0)
            throw std::runtime_error("数据库服务启动失败, 见 " + log);
    }
    installDatabase();
    // Account sets of earlier releases shared one owner role; from here on each keeps to its own.
    return AccountSetAdmin(adminUrl(kDatabase)).secureAll();
}

void EmbeddedServer::stop(bool remove) {
    if (running()) pgTool("pg_ctl", {"stop", "-w", "-m", "fast", "-D", dataDir_.string()}, true);
    if (remove) fs::remove_all(dataDir_);
}

void EmbeddedServer::backup(const fs::path& dir, const std::function<void(int)>& progress) const {
    if (fs::exists(dir) && !fs::is_empty(dir))
        throw std::runtime_error("备份目录 " + dir.string() + " 已存在且不为空");
    const bool made = !fs::exists(dir);
    ServerPrograms programs(adminUrl("postgres"));
    // "12345/67890 kB (17%), 0/1 tablespace"
    programs.onLine([&](const std::string& line) {
        const size_t percent = line.find("%)");
        const size_t open = line.rfind('(', percent);
        if (percent != std::string::npos && open != std::string::npos && progress)
            progress(std::atoi(line.c_str() + open + 1));
    });
    try {
        programs.run({ServerPrograms::path("pg_basebackup"), "--pgdata=" + dir.string(),
                      "--format=tar", "--wal-method=stream", "--checkpoint=fast", "--progress"});
    } catch (...) {
        std::error_code ignored;
        if (made) fs::remove_all(dir, ignored);
        throw;
    }
}

std::string EmbeddedServer::adminUrl(const std::string& database) const {
    return "host=" + dataDir_.string() + " dbname=" + database + " user=" + kSuperuser;
}

std::string EmbeddedServer::url() const {
    return "host=" + dataDir_.string() + " dbname=" + kDatabase;
}

// The account-set database, with the objects installed once per database.
void EmbeddedServer::installDatabase() const {
    {
        PgConn admin(adminUrl("postgres"));
        PGresult* r = PQexec(admin.conn, "SELECT 1 FROM pg_database WHERE datname = 'amasset'");
        bool exists = PQntuples(r) > 0;
        PQclear(r);
        if (!exists) admin.exec("CREATE DATABASE amasset ENCODING 'UTF8'");
    }
    PgConn db(adminUrl(kDatabase));
    db.exec("CREATE EXTENSION IF NOT EXISTS orafce");
    std::vector<fs::path> files;
    fs::path dir = am::DatabaseFolder() / "database";
    if (!fs::exists(dir)) return;
    for (const auto& entry : fs::directory_iterator(dir))
        if (entry.path().extension() == ".sql") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    for (const auto& file : files) {
        try {
            db.exec(readFile(file));
        } catch (const std::exception& e) {
            throw std::runtime_error(file.filename().string() + ": " + e.what());
        }
    }
}

}  // namespace tk::am
