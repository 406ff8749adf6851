// The batch-addition row: every stored field round-trips by name, texts keep
// their quotes, a save updates only its own row, the style is never written.
#include <gtest/gtest.h>

#include <map>

#include "TestDatabase.hpp"
#include "batch/clsAMAssetBatchAdd.hpp"
#include "frame/ClassRegistry.hpp"
#include "frame/DataAccess.hpp"

namespace tk::am {
namespace {

using Args = Dispatchable::Args;

class BatchAddTest : public ::testing::Test {
  protected:
    tk::test::TestAccountSet set{"batch"};
    std::shared_ptr<connect::Connection> conn = set.useOnThisThread();

    static RecordsetPtr rowOf(int32_t id) {
        return OpenRecordset("Select * From [User]AMAssetBatchAdd Where lngAMAssetBatchAddID = " +
                                 std::to_string(id),
                             3, 1);
    }
    static int32_t rowCount() {
        return OpenRecordset("Select Count(*) From [User]AMAssetBatchAdd", 3, 1)
            ->field(0)
            .toInt32();
    }
};

std::shared_ptr<Dispatchable> createBatchRow() {
    return ClassRegistry::instance().create("TkAMAssetInt.clsAMAssetBatchAdd");
}

// A distinct value of the property's own type for column `i`; every text holds a quote.
Variant sampleFor(const Variant& current, int i) {
    switch (current.type()) {
        case Variant::Type::I2:
            return Variant(int16_t{1});
        case Variant::Type::R8:
            return Variant(i + 0.25);
        case Variant::Type::Text:
            return Variant("t'" + std::to_string(i));
        default:
            return Variant(int32_t{1000 + i});
    }
}

TEST_F(BatchAddTest, EveryStoredFieldRoundTripsByName) {
    auto row = createBatchRow();
    ASSERT_TRUE(row);
    RecordsetPtr columns = OpenRecordset("Select * From [User]AMAssetBatchAdd Where 1 = 0", 3, 1);
    std::map<std::string, Variant> assigned;
    Args none;
    for (int i = 0; i < columns->fieldCount(); ++i) {
        std::string name = columns->fieldName(i);
        if (name == "lngamassetbatchaddid" || name == "strassetstyle") continue;
        Variant value = sampleFor(row->invoke(name, none), i);
        row->assign(name, none, value);
        assigned[name] = value;
    }
    ASSERT_EQ(assigned.size(), 112u);
    int32_t id = row->invoke("SaveCard", none).toInt32();
    ASSERT_GT(id, 0);

    auto loaded = createBatchRow();
    loaded->assign("LoadID", none, Variant(id));
    EXPECT_EQ(loaded->invoke("lngAMAssetBatchAddID", none).toInt32(), id);
    RecordsetPtr stored = rowOf(id);
    for (const auto& [name, value] : assigned) {
        EXPECT_EQ(loaded->invoke(name, none).toText(), value.toText()) << name;
        EXPECT_EQ(stored->field(name).toText(), value.toText()) << name;
    }
}

TEST_F(BatchAddTest, TextsAreStoredAsAssigned) {
    clsAMAssetBatchAdd quoted;
    quoted.strAMAssetName = "O'Brien's {5} desk";
    quoted.dblAmount = 1234.5;
    EXPECT_EQ(quoted.strAMAssetName.str(), "O'Brien's {5} desk");
    const int32_t quotedId = quoted.SaveCard();
    ASSERT_GT(quotedId, 0);
    EXPECT_EQ(rowOf(quotedId)->field("strAMAssetName").toText(), "O'Brien's {5} desk");
    EXPECT_EQ(rowOf(quotedId)->field("dblAmount").toDouble(), 1234.5);
}

TEST_F(BatchAddTest, ASecondSaveOfANewRowUpdatesIt) {
    clsAMAssetBatchAdd row;
    row.strAMAssetName = "first";
    int32_t id = row.SaveCard();
    ASSERT_GT(id, 0);
    row.strAMAssetName = "second";
    EXPECT_EQ(row.SaveCard(), id);
    EXPECT_EQ(rowCount(), 1);
    EXPECT_EQ(rowOf(id)->field("strAMAssetName").toText(), "second");
}

TEST_F(BatchAddTest, TheUpdateFindsTheRowOnlyByIdInitialFlagAndOrganisation) {
    clsAMAssetBatchAdd row;
    row.lngOrganizationID = 1;
    row.strAMAssetName = "kept";
    int32_t id = row.SaveCard();

    clsAMAssetBatchAdd other;
    other.LoadID(id);
    other.lngOrganizationID = 2;
    other.strAMAssetName = "lost";
    EXPECT_EQ(other.SaveCard(), id);
    EXPECT_EQ(rowOf(id)->field("strAMAssetName").toText(), "kept");
    EXPECT_EQ(rowOf(id)->field("lngOrganizationID").toInt32(), 1);
}

TEST_F(BatchAddTest, StyleIsLoadedButNeverWritten) {
    clsAMAssetBatchAdd row;
    row.strAssetStyle = "tower";
    int32_t id = row.SaveCard();
    EXPECT_EQ(rowOf(id)->field("strAssetStyle").toText(), " ");

    clsAMAssetBatchAdd loaded;
    loaded.LoadID(id);
    EXPECT_EQ(loaded.strAssetStyle.str(), " ");
}

TEST_F(BatchAddTest, LoadingAMissingIdClearsTheRecordSoTheNextSaveInserts) {
    clsAMAssetBatchAdd row;
    row.strAMAssetName = "first";
    int32_t first = row.SaveCard();

    row.LoadID(first + 100);
    EXPECT_EQ(row.lngAMAssetBatchAddID, 0);
    EXPECT_EQ(row.strAMAssetName.str(), " ");
    EXPECT_EQ(row.strFlexibleID.str(), std::string(310, '0'));
    int32_t second = row.SaveCard();
    EXPECT_GT(second, first);
    EXPECT_EQ(rowCount(), 2);
}

}  // namespace
}  // namespace tk::am
