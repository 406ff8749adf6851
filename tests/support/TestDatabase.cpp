// Makes and drops the tests' schemas, roles and account sets as the server's
// superuser, and the statement and row helpers on a connection.
#include "TestDatabase.hpp"

#include <gtest/gtest.h>
#include <libpq-fe.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "frame/Context.hpp"
#include "host/RunTimeError.hpp"
#include "provision/AccountSetAdmin.hpp"

namespace tk::test {
namespace {

void exec(const std::string& sql) {
    PGconn* conn = PQconnectdb(adminServer().c_str());
    if (PQstatus(conn) != CONNECTION_OK) {
        std::string message = PQerrorMessage(conn);
        PQfinish(conn);
        throw std::runtime_error("test server unreachable: " + message);
    }
    PQsetNoticeProcessor(
        conn, [](void*, const char*) {}, nullptr);
    PGresult* r = PQexec(conn, sql.c_str());
    bool ok = PQresultStatus(r) == PGRES_COMMAND_OK || PQresultStatus(r) == PGRES_TUPLES_OK;
    std::string message = PQerrorMessage(conn);
    PQclear(r);
    PQfinish(conn);
    if (!ok) throw std::runtime_error(message + " in: " + sql);
}

void execIn(const std::string& schema, const std::string& sql) {
    exec("SET search_path TO " + schema + ", oracompat, public; " + sql);
}

std::string uniqueName(const std::string& hint) {
    static std::atomic<int> counter{0};
    return hint + "_" + std::to_string(getpid()) + "_" + std::to_string(++counter);
}

}  // namespace

void ExecuteOk(connect::Connection& conn, const std::string& sql) {
    int32_t count = 0;
    bool ok = false;
    conn.ExecSql(sql, 1, count, ok);
    EXPECT_TRUE(ok) << sql;
}

std::string ErrorOf(connect::Connection& conn, const std::string& sql) {
    try {
        int32_t count = 0;
        bool ok = false;
        conn.ExecSql(sql, 1, count, ok);
    } catch (const RunTimeError& e) {
        return e.description();
    }
    return "";
}

std::vector<std::string> SortedRows(connect::Connection& conn, const std::string& sql,
                                    const std::string& skip) {
    std::vector<std::string> rows;
    for (auto rs = conn.GetRecordset(sql, 3, 1); !rs->eof(); rs->moveNext()) {
        std::string row;
        for (int i = 0; i < rs->fieldCount(); ++i)
            if (lowerAscii(rs->fieldName(i)) != lowerAscii(skip))
                row += (rs->field(i).isNull() ? "<null>" : rs->field(i).toText()) + "|";
        rows.push_back(row);
    }
    std::ranges::sort(rows);
    return rows;
}

std::string ReadFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string testServer() { return TKAM_TEST_SERVER; }
std::string adminServer() { return testServer() + " user=amasset"; }

TestSchema::TestSchema(const std::string& hint) : name_(uniqueName(hint)) {
    exec("CREATE ROLE " + name_ + " LOGIN SUPERUSER; CREATE SCHEMA " + name_ + " AUTHORIZATION " +
         name_);
}

TestSchema::~TestSchema() {
    try {
        exec("DROP SCHEMA IF EXISTS " + name_ + " CASCADE; DROP ROLE IF EXISTS " + name_);
    } catch (...) {
    }
}

std::shared_ptr<connect::Connection> TestSchema::connect() const {
    auto conn = std::make_shared<connect::Connection>();
    conn->ServerName = testServer();
    conn->UserName = name_;
    conn->Open();
    return conn;
}

namespace {

am::AccountSetOptions DemoOptions(bool demo, bool onlineDevice) {
    am::AccountSetOptions options;
    options.years = {2024, 2025};
    options.demo = demo;
    options.onlineDevice = onlineDevice;
    return options;
}

}  // namespace

TestAccountSet::TestAccountSet(const std::string& hint, bool demo, bool onlineDevice)
    : TestAccountSet(hint, DemoOptions(demo, onlineDevice)) {}

TestAccountSet::TestAccountSet(const std::string& hint, const am::AccountSetOptions& options)
    : name_(uniqueName(hint)) {
    am::AccountSetAdmin(adminServer()).create(name_, options);
}

TestAccountSet::~TestAccountSet() {
    try {
        am::AccountSetAdmin(adminServer()).drop(name_);
    } catch (...) {
    }
}

std::shared_ptr<connect::Connection> TestAccountSet::connect() const {
    auto conn = std::make_shared<connect::Connection>();
    conn->ServerName = testServer();
    conn->UserName = name_;
    conn->Open();
    return conn;
}

std::shared_ptr<connect::Connection> TestAccountSet::useOnThisThread() const {
    auto conn = connect();
    // The whole context: a name another test left behind would address its dropped schema.
    am::context() = {};
    am::context().User = name_;
    am::context().ConnBase = conn;
    return conn;
}

void TestSchema::admin(const std::string& sql) const { execIn(name_, sql); }

void TestAccountSet::admin(const std::string& sql) const { execIn(name_, sql); }

}  // namespace tk::test
