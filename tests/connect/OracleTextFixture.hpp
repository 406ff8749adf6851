// A schema of a test's own on a connection, for statements written in Oracle's dialect.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "TestDatabase.hpp"
#include "connect/Connection.hpp"

namespace tk::connect {

class OracleTextFixture : public ::testing::Test {
  protected:
    explicit OracleTextFixture(const std::string& hint) : schema(hint) {}

    void exec(const std::string& sql) { test::ExecuteOk(*conn, sql); }
    // The first column of the first row as text; "<null>" for none or NULL.
    std::string text(const std::string& sql) {
        auto rs = conn->GetRecordset(sql, 3, 1);
        return rs->eof() || rs->field(0).isNull() ? "<null>" : rs->field(0).toText();
    }
    std::string errorOf(const std::string& sql) { return test::ErrorOf(*conn, sql); }

    test::TestSchema schema;
    std::shared_ptr<Connection> conn = schema.connect();
};

}  // namespace tk::connect
