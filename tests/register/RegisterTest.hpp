// The register tests' base: a demo account set of its own per test, on the
// test's thread, with query helpers.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "TestDatabase.hpp"
#include "frame/DataAccess.hpp"

namespace tk::am::test {

// Each test in a demo account set of its own, used on the test's thread.
class RegisterTest : public ::testing::Test {
  protected:
    tk::test::TestAccountSet set{"reg", /*demo=*/true};
    std::shared_ptr<connect::Connection> conn = set.useOnThisThread();

    // The first column of the query's first row.
    static Variant valueOf(const std::string& sql) { return OpenRecordset(sql, 3, 1)->field(0); }
    static int32_t numberOf(const std::string& sql) { return valueOf(sql).toInt32(); }
    static std::string textOf(const std::string& sql) { return valueOf(sql).toText(); }
    static int32_t countOf(const std::string& from) {
        return numberOf("Select Count(*) From " + from);
    }
    static void run(const std::string& sql) {
        std::string error;
        ASSERT_TRUE(ExecuteSql(sql, error)) << sql << ": " << error;
    }
};

}  // namespace tk::am::test
