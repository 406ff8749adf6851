// The funding-source tests' base: a fresh demo account set on the test's
// thread, with plain SQL helpers.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "TestDatabase.hpp"
#include "frame/Context.hpp"
#include "frame/DataAccess.hpp"

namespace tk::am {

// A fresh demo account set on the test's thread, with plain SQL helpers.
class FundsDatabase : public ::testing::Test {
  protected:
    test::TestAccountSet set{"funds", true};

    void SetUp() override { set.useOnThisThread(); }
    void TearDown() override { context() = Context{}; }

    static void exec(const std::string& sql) {
        std::string error;
        ASSERT_TRUE(ExecuteSql(sql, error)) << error << "\n" << sql;
    }
    // The first column of the first row, or "<none>".
    static std::string value(const std::string& sql) {
        RecordsetPtr rs = OpenRecordset(sql, 3, 1);
        return rs->eof() ? "<none>" : rs->field(0).toText();
    }
    static int count(const std::string& table, const std::string& where) {
        return std::stoi(value("Select Count(*) From [User]" + table + " Where " + where));
    }
};

}  // namespace tk::am
