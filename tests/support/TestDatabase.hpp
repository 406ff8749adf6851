// Schemas and account sets of a test's own on the test server, dropped again
// afterwards, and helpers for running statements and comparing rows.
#pragma once
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "connect/Connection.hpp"
#include "provision/AccountSetAdmin.hpp"

namespace tk::test {

// Runs a statement on the connection; the test fails when it does not succeed.
void ExecuteOk(connect::Connection& conn, const std::string& sql);
// Runs a statement expected to fail; the description of its error ("" when none).
std::string ErrorOf(connect::Connection& conn, const std::string& sql);

// Every row the query gives as "field|field|…|" (NULL as <null>), without the
// column named `skip`, sorted: what two runs or account sets must agree on.
std::vector<std::string> SortedRows(connect::Connection& conn, const std::string& sql,
                                    const std::string& skip = "");

// A schema (and login role of the same name) of its own for one test, on the
// server the test run started; dropped again when the object goes.
class TestSchema {
  public:
    explicit TestSchema(const std::string& hint = "t");
    ~TestSchema();
    TestSchema(const TestSchema&) = delete;
    TestSchema& operator=(const TestSchema&) = delete;

    const std::string& name() const { return name_; }
    // A connection logged in as the schema's role.
    std::shared_ptr<connect::Connection> connect() const;
    // Runs PostgreSQL statements as the server's superuser, in this schema.
    void admin(const std::string& sql) const;

  private:
    std::string name_;
};

// A provisioned account set of its own for one test (tables, sequences, routines,
// optionally the demo reference data), dropped again when the object goes.
class TestAccountSet {
  public:
    explicit TestAccountSet(const std::string& hint = "zt", bool demo = false,
                            bool onlineDevice = false);
    // One made as `accountset create` makes it with these options.
    TestAccountSet(const std::string& hint, const am::AccountSetOptions& options);
    ~TestAccountSet();
    TestAccountSet(const TestAccountSet&) = delete;
    TestAccountSet& operator=(const TestAccountSet&) = delete;

    const std::string& name() const { return name_; }
    std::shared_ptr<connect::Connection> connect() const;
    // Runs PostgreSQL statements as the server's superuser, in this account set.
    void admin(const std::string& sql) const;
    // Sets the thread's User and ConnBase to this account set.
    std::shared_ptr<connect::Connection> useOnThisThread() const;

  private:
    std::string name_;
};

// A file's whole content ("" when it cannot be read).
std::string ReadFile(const std::filesystem::path& file);

// The test server's connection string (ServerName).
std::string testServer();
// A connection string for the superuser.
std::string adminServer();

}  // namespace tk::test
