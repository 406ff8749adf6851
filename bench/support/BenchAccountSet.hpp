// The benchmarks' own account sets on the bench server, made on first use and dropped at exit.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "connect/Connection.hpp"
#include "provision/AccountSetAdmin.hpp"

struct pg_conn;
struct pg_result;

namespace tk::bench {

// The server named by TKAM_BENCH_SERVER (an admin connection string); the
// program ends with a message when it is not set.
const std::string& benchServer();

// An account set of a benchmark's own on the bench server, created (replacing
// a left-over copy) when first used, logged in on this thread, dropped at exit
// (kept when TKAM_BENCH_KEEP=1).
class BenchAccountSet {
  public:
    BenchAccountSet(std::string name, bool demo, std::vector<int> years = {2024, 2025});
    ~BenchAccountSet();
    BenchAccountSet(const BenchAccountSet&) = delete;
    BenchAccountSet& operator=(const BenchAccountSet&) = delete;

    connect::Connection& conn() { return *conn_; }
    // The thread's User and ConnBase point at this account set.
    void useOnThisThread();
    // Runs a PostgreSQL script inside the account set as the server's superuser.
    void admin(const std::string& script);
    // The rows of a query run as the superuser, each field as text.
    std::vector<std::vector<std::string>> adminRows(const std::string& query);
    std::string schema() const;
    // The server at rest, as it is a month after the last close: what earlier
    // work left dirty written out, every table vacuumed and analysed. Each
    // process and each floor starts from here, so neither pays for the
    // maintenance of what ran before it.
    void settle();

  private:
    pg_result* run(const std::string& sql);

    std::string name_;
    am::AccountSetAdmin admin_;
    std::shared_ptr<connect::Connection> conn_;
    std::unique_ptr<pg_conn, void (*)(pg_conn*)> adminConn_;
};

}  // namespace tk::bench
