// The record tests' base: an account set of its own per test, query helpers,
// and asset cards written directly for the records to hang off.
#pragma once
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "TestDatabase.hpp"
#include "frame/DataAccess.hpp"

namespace tk::am::test {

// Each test in an account set of its own, used on the test's thread.
class RecordsTest : public ::testing::Test {
  protected:
    tk::test::TestAccountSet set{"rec"};
    std::shared_ptr<connect::Connection> conn = set.useOnThisThread();

    // The first column of the query's first row.
    static Variant valueOf(const std::string& sql) { return OpenRecordset(sql, 3, 1)->field(0); }
    static int32_t countOf(const std::string& sql) {
        return valueOf("Select Count(*) From " + sql).toInt32();
    }
    static std::string textOf(const std::string& sql) { return valueOf(sql).toText(); }
    static void run(const std::string& sql) {
        std::string error;
        EXPECT_TRUE(ExecuteSql(sql, error)) << sql << ": " << error;
    }
    // An asset card with the given alterations, written directly.
    static void addCard(int32_t assetID, std::initializer_list<int32_t> alterIDs) {
        run("Insert Into [User]AMAsset(lngAMAssetID,lngAMAssetInitAlterID,lngAMAssetLastAlterID) "
            "Values(" +
            std::to_string(assetID) + "," + std::to_string(*alterIDs.begin()) + "," +
            std::to_string(*(alterIDs.end() - 1)) + ")");
        for (int32_t alterID : alterIDs)
            run("Insert Into [User]AMAssetAlter(lngAMAssetAlterID,lngAMAssetID) Values(" +
                std::to_string(alterID) + "," + std::to_string(assetID) + ")");
    }
};

}  // namespace tk::am::test
