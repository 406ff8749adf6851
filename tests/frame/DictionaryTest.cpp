// The data-dictionary checks and their per-login cache (tables, columns,
// readability), and the maintenance helpers: delete, truncate, reset sequence.
#include <gtest/gtest.h>

#include <filesystem>

#include "TestDatabase.hpp"
#include "frame/ComponentFolder.hpp"
#include "frame/Context.hpp"
#include "frame/Dictionary.hpp"

namespace tk::am {
namespace {

// Every test logs in as a role of its own, so the thread's existence cache
// (keyed by login) starts empty for it.
class DictionaryChecks : public ::testing::Test {
  protected:
    test::TestSchema schema{"dict"};

    void SetUp() override {
        SetComponentFolder(std::filesystem::temp_directory_path() / "tkam-dictionary-test");
        context() = Context{};
        context().User = schema.name();
        context().ConnBase = schema.connect();
    }
    void TearDown() override { context() = Context{}; }

    int32_t scalar(const std::string& sql) {
        auto rs = context().ConnBase->GetRecordset(sql, 3, 1);
        return rs->eof() ? -1 : rs->field(0).toInt32();
    }
    int32_t sequenceStart(const std::string& sequence) {
        return scalar("SELECT start_value FROM pg_sequences WHERE schemaname = '" + schema.name() +
                      "' AND sequencename = '" + sequence + "'");
    }
};

TEST_F(DictionaryChecks, TableAnswersAreCachedPerOwnerAndName) {
    schema.admin("CREATE TABLE AMAsset (lngAMAssetID integer)");
    EXPECT_TRUE(TableExists("AMAsset", schema.name()));
    schema.admin("DROP TABLE AMAsset");
    EXPECT_TRUE(TableExists("AMAsset", schema.name()));
    EXPECT_FALSE(TableExists("AMAssetLabel", schema.name()));
    schema.admin("CREATE TABLE AMAssetLabel (lngAMAssetLabelID integer)");
    EXPECT_FALSE(TableExists("AMAssetLabel", schema.name()));
    schema.admin("CREATE TABLE AMAssetAux (lngAMAssetAuxID integer)");
    EXPECT_TRUE(TableExists("AMAssetAux", schema.name()));
    EXPECT_FALSE(TableExists("AMAssetAux", "NOBODY"));
    EXPECT_TRUE(TableExists("amassetaux", schema.name()));
}

// A table's answer is its owner's: the same table under another owner is asked anew.
TEST_F(DictionaryChecks, ColumnAnswersAreCachedPerColumn) {
    schema.admin("CREATE TABLE AMAssetCustom (lngAMAssetCustomID integer)");
    EXPECT_TRUE(ColumnExists("amAssetCustom", "LNGAMASSETCUSTOMID", schema.name()));
    EXPECT_FALSE(ColumnExists("AMAssetCustom", "strNote", schema.name()));
    schema.admin("ALTER TABLE AMAssetCustom ADD strNote varchar(10)");
    schema.admin("ALTER TABLE AMAssetCustom DROP lngAMAssetCustomID");
    EXPECT_FALSE(ColumnExists("AMAssetCustom", "strNote", schema.name()));
    EXPECT_TRUE(ColumnExists("amAssetCustom", "LNGAMASSETCUSTOMID", schema.name()));
}

TEST_F(DictionaryChecks, ReadableRemembersOnlySuccess) {
    EXPECT_FALSE(TableReadable("AMAssetOther", schema.name()));
    schema.admin("CREATE TABLE AMAssetOther (lngAMAssetOtherID integer)");
    EXPECT_TRUE(TableReadable("AMAssetOther", schema.name()));
    schema.admin("DROP TABLE AMAssetOther");
    EXPECT_TRUE(TableReadable("AMAssetOther", schema.name()));
}

TEST_F(DictionaryChecks, WithoutConnectionEveryCheckIsFalse) {
    context().ConnBase.reset();
    EXPECT_FALSE(TableExists("AMAsset", schema.name()));
    EXPECT_FALSE(ColumnExists("AMAsset", "lngAMAssetID", schema.name()));
    EXPECT_FALSE(TableReadable("AMAsset", schema.name()));
}

// Schema maintenance

TEST_F(DictionaryChecks, TruncateAndDeleteWhereWithAnAlias) {
    schema.admin(
        "CREATE TABLE AMAssetAlter (lngAMAssetAlterID integer, lngOrganizationID integer);"
        "INSERT INTO AMAssetAlter VALUES (1, 1), (2, 2), (3, 2)");
    EXPECT_TRUE(DeleteWhere("AMAssetAlter a", schema.name(), "a.lngOrganizationID = 2"));
    EXPECT_EQ(scalar("SELECT count(*) FROM AMAssetAlter"), 1);
    EXPECT_TRUE(TruncateTable("AMAssetAlter", schema.name()));
    EXPECT_EQ(scalar("SELECT count(*) FROM AMAssetAlter"), 0);
    schema.admin("INSERT INTO AMAssetAlter VALUES (1, 1)");
    EXPECT_TRUE(DeleteWhere("AMAssetAlter", schema.name(), ""));
    EXPECT_EQ(scalar("SELECT count(*) FROM AMAssetAlter"), 0);
    EXPECT_FALSE(DeleteWhere("NoSuchTable", schema.name(), ""));
}

// An empty table leaves the sequence alone, and so does a table whose keys
// are below what the sequence gives or has given to any session; a class
// table is keyed by lngClassID.
TEST_F(DictionaryChecks, ResetSequenceStartsAfterTheLargestKeyOrFails) {
    schema.admin(
        "CREATE TABLE AMAsset (lngAMAssetID integer); CREATE SEQUENCE AMAsset_SEQ START WITH 100;"
        "CREATE TABLE Class2 (lngClassID integer); INSERT INTO Class2 VALUES (9);"
        "CREATE SEQUENCE Class2_SEQ");
    EXPECT_TRUE(ResetSequence("AMAsset", schema.name()));
    EXPECT_EQ(sequenceStart("amasset_seq"), 100);
    schema.admin("INSERT INTO AMAsset VALUES (7), (41)");
    EXPECT_TRUE(ResetSequence("AMAsset", schema.name()));
    EXPECT_EQ(sequenceStart("amasset_seq"), 100);
    schema.admin("INSERT INTO AMAsset VALUES (120); SELECT setval('AMAsset_SEQ', 130)");
    EXPECT_TRUE(ResetSequence("AMAsset", schema.name()));
    EXPECT_EQ(sequenceStart("amasset_seq"), 100) << "130 drawn elsewhere: no 121 again";
    schema.admin("INSERT INTO AMAsset VALUES (200)");
    EXPECT_TRUE(ResetSequence("AMAsset", schema.name()));
    EXPECT_EQ(sequenceStart("amasset_seq"), 201);
    EXPECT_TRUE(ResetSequence("Class2", schema.name()));
    EXPECT_EQ(sequenceStart("class2_seq"), 10);
    schema.admin(
        "CREATE TABLE AMAssetType (lngAMAssetTypeID integer); INSERT INTO AMAssetType VALUES (3)");
    EXPECT_FALSE(ResetSequence("AMAssetType", schema.name()));
}

}  // namespace
}  // namespace tk::am
