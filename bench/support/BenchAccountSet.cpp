// The bench server from TKAM_BENCH_SERVER, the set created and logged on to, admin scripts run
// as the superuser, and the set dropped at exit unless TKAM_BENCH_KEEP=1.
#include "BenchAccountSet.hpp"

#include <libpq-fe.h>

#include <cstdlib>
#include <iostream>
#include <memory>
#include <stdexcept>

#include "frame/Context.hpp"

namespace tk::bench {

const std::string& benchServer() {
    static const std::string server = [] {
        const char* value = std::getenv("TKAM_BENCH_SERVER");
        if (!value || !*value) {
            std::cerr << "TKAM_BENCH_SERVER is not set (an admin connection string with "
                         "user=amasset); run the benchmarks with ./run bench\n";
            std::exit(2);
        }
        return std::string(value);
    }();
    return server;
}

BenchAccountSet::BenchAccountSet(std::string name, bool demo, std::vector<int> years)
    : name_(std::move(name)), admin_(benchServer()), adminConn_(nullptr, &PQfinish) {
    am::AccountSetOptions options;
    options.years = std::move(years);
    options.demo = demo;
    options.replace = true;
    admin_.create(name_, options);
    conn_ = std::make_shared<connect::Connection>();
    conn_->ServerName = benchServer();
    conn_->UserName = am::AccountSetAdmin::schemaName(name_);
    conn_->Open();
    useOnThisThread();
}

// Runs at exit, after the thread's context is gone: it must not be touched here.
BenchAccountSet::~BenchAccountSet() {
    adminConn_.reset();
    conn_->Close();
    // TKAM_BENCH_KEEP=1 leaves the set on the server, to look at its rows and plans.
    const char* keep = std::getenv("TKAM_BENCH_KEEP");
    if (!keep || std::string(keep) != "1") admin_.drop(name_);
}

void BenchAccountSet::useOnThisThread() {
    am::context().User = conn_->UserName;
    am::context().ConnBase = conn_;
}

std::string BenchAccountSet::schema() const { return am::AccountSetAdmin::schemaName(name_); }

pg_result* BenchAccountSet::run(const std::string& sql) {
    if (!adminConn_) {
        adminConn_.reset(PQconnectdb(benchServer().c_str()));
        PQsetNoticeProcessor(
            adminConn_.get(), [](void*, const char*) {}, nullptr);
        admin("SET search_path TO " + schema() + ", oracompat, public");
    }
    PGresult* result = PQexec(adminConn_.get(), sql.c_str());
    const auto status = PQresultStatus(result);
    if (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK) return result;
    PQclear(result);
    throw std::runtime_error(PQerrorMessage(adminConn_.get()));
}

void BenchAccountSet::admin(const std::string& script) { PQclear(run(script)); }

void BenchAccountSet::settle() {
    // (not among the statements the processes are shown to spend their time in;
    // the setting is the session's, so it is set back for what follows)
    admin("SET pg_stat_statements.track_utility = off");
    admin("CHECKPOINT");
    admin("VACUUM (ANALYZE)");
    admin("RESET pg_stat_statements.track_utility");
}

std::vector<std::vector<std::string>> BenchAccountSet::adminRows(const std::string& query) {
    std::unique_ptr<PGresult, decltype(&PQclear)> result(run(query), &PQclear);
    std::vector<std::vector<std::string>> rows(PQntuples(result.get()));
    for (int r = 0; r < PQntuples(result.get()); ++r)
        for (int c = 0; c < PQnfields(result.get()); ++c)
            rows[r].emplace_back(PQgetvalue(result.get(), r, c));
    return rows;
}

}  // namespace tk::bench
