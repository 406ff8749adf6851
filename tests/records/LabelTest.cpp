// Asset labels: head, version and custom row on saving, the latest pointer as
// versions come and change, loads, and each deletion mode.
#include "RecordsTestSupport.hpp"
#include "records/clsAMAssetLabel.hpp"

namespace tk::am {
namespace {

class LabelTest : public test::RecordsTest {
  protected:
    void SetUp() override {
        addCard(1, {11, 12});
        addCard(2, {21});
    }

    static clsAMAssetLabel newLabel(int32_t assetID, const std::string& number) {
        clsAMAssetLabel label;
        label.lngAMAssetID = assetID;
        label.lngAMAssetAlterID = assetID * 10 + 1;
        label.strAMAssetLabelNo = number;
        label.strNotes = "at the gate";
        label.dblQuantity1 = 2;
        label.strText1 = "first";
        label.lngOrganizationID = 1;
        return label;
    }
    // The label's next version, following its latest.
    static clsAMAssetLabel nextVersion(const clsAMAssetLabel& label) {
        clsAMAssetLabel next = label;
        next.lngAMAssetLabelRecentAlterID = label.lngAMAssetLabelAlterID;
        next.lngAMAssetLabelAlterID = 0;
        next.lngAMAssetAlterID = 12;
        return next;
    }
    static std::string labelColumn(int32_t labelID, const std::string& table,
                                   const std::string& column) {
        return textOf("Select " + column + " From [User]" + table +
                      " Where lngAMAssetLabelID = " + std::to_string(labelID));
    }
    static std::string versionColumn(int32_t versionID, const std::string& column) {
        return textOf("Select " + column +
                      " From [User]AMAssetLabelAlter Where lngAMAssetLabelAlterID = " +
                      std::to_string(versionID));
    }
    static int32_t rowsOfLabel(int32_t labelID, const std::string& table) {
        return countOf("[User]" + table + " Where lngAMAssetLabelID = " + std::to_string(labelID));
    }
};

TEST_F(LabelTest, ANewLabelWritesHeadVersionAndCustomRowAndANewVersionMovesTheLatest) {
    clsAMAssetLabel label = newLabel(1, "L-001");
    int32_t first = label.SaveCard();
    ASSERT_GT(first, 0);
    ASSERT_GT(label.lngAMAssetLabelID, 0);
    EXPECT_EQ(label.lngAMAssetLabelInitAlterID, first);
    EXPECT_EQ(label.lngAMAssetLabelLastAlterID, first);
    EXPECT_EQ(label.lngAMAssetLabelRecentAlterID, 0);
    int32_t id = label.lngAMAssetLabelID;
    EXPECT_EQ(labelColumn(id, "AMAssetLabel", "lngAMAssetLabelInitAlterID"), std::to_string(first));
    EXPECT_EQ(labelColumn(id, "AMAssetLabel", "lngAMAssetLabelLastAlterID"), std::to_string(first));
    EXPECT_EQ(versionColumn(first, "lngAMAssetLabelRecentAlterID"), "0");
    EXPECT_EQ(labelColumn(id, "AMAssetLabelCustom", "strText1"), "first");

    clsAMAssetLabel next = nextVersion(label);
    next.strAMAssetLabelNo = "L-002";
    next.strText1 = "second";
    next.strNotes = "in the hall";
    int32_t second = next.SaveCard();
    ASSERT_GT(second, first);
    EXPECT_EQ(labelColumn(id, "AMAssetLabel", "lngAMAssetLabelLastAlterID"),
              std::to_string(second));
    EXPECT_EQ(labelColumn(id, "AMAssetLabel", "strAMAssetLabelNo"), "L-001");
    EXPECT_EQ(versionColumn(second, "lngAMAssetLabelRecentAlterID"), std::to_string(first));
    EXPECT_EQ(versionColumn(first, "strNotes"), "at the gate");
    EXPECT_EQ(labelColumn(id, "AMAssetLabelCustom", "strText1"), "second");
    EXPECT_EQ(rowsOfLabel(id, "AMAssetLabelCustom"), 1);
}

TEST_F(LabelTest, ChangingAVersionLeavesTheLatestPointer) {
    clsAMAssetLabel label = newLabel(1, "L-001");
    int32_t first = label.SaveCard();
    int32_t second = nextVersion(label).SaveCard();

    label.lngAMAssetLabelAlterID = first;
    label.lngDepartmentID = 9;
    label.strAMAssetLabelNo = "L-009";
    EXPECT_EQ(label.SaveCard(), first);
    int32_t id = label.lngAMAssetLabelID;
    EXPECT_EQ(labelColumn(id, "AMAssetLabel", "lngAMAssetLabelLastAlterID"),
              std::to_string(second));
    EXPECT_EQ(labelColumn(id, "AMAssetLabel", "strAMAssetLabelNo"), "L-001");
    EXPECT_EQ(versionColumn(first, "lngDepartmentID"), "9");
    EXPECT_EQ(versionColumn(first, "strAMAssetLabelNo"), "L-009");
}

// Which version a load reads by Mode is the versioned records' shared test's.
TEST_F(LabelTest, ALoadTakesTheHeadsLabelNumberAndOnlyItsAssetsVersions) {
    clsAMAssetLabel label = newLabel(1, "L-001");
    int32_t first = label.SaveCard();
    clsAMAssetLabel next = nextVersion(label);
    next.strAMAssetLabelNo = "L-002";
    next.lngEmployeeID = 33;
    ASSERT_GT(next.SaveCard(), first);
    int32_t id = label.lngAMAssetLabelID;

    clsAMAssetLabel loaded;
    loaded.Mode = atAdd;
    loaded.LoadID(1, id);
    EXPECT_EQ(loaded.dblQuantity1, 2);
    loaded.Mode = atDec;
    loaded.LoadID(1, id);
    EXPECT_EQ(loaded.lngEmployeeID, 33);
    EXPECT_EQ(loaded.strAMAssetLabelNo.str(), "L-001");
    loaded.Mode = atUnkonwn;
    loaded.LoadID(1, first);  // a label version's id
    EXPECT_EQ(loaded.lngAMAssetAlterID, 11);
    loaded.LoadID(2, first);  // another asset's
    EXPECT_EQ(loaded.lngAMAssetLabelID, 0);
    EXPECT_EQ(loaded.strNotes.str(), " ");
}

TEST_F(LabelTest, LoadWithoutACustomRowGivesBlankCustomValues) {
    clsAMAssetLabel label = newLabel(1, "L-001");
    int32_t first = label.SaveCard();
    run("Delete From [User]AMAssetLabelCustom");

    clsAMAssetLabel loaded;
    loaded.LoadID(1, first);
    EXPECT_EQ(loaded.lngAMAssetLabelAlterID, first);
    EXPECT_EQ(loaded.strNotes.str(), "at the gate");
    EXPECT_EQ(loaded.dblQuantity1, 0);
    EXPECT_EQ(loaded.strText1.str(), " ");
}

// Stepping the head back is the versioned records' shared test's.
TEST_F(LabelTest, DeletingWithAtDecNeedsTheVersionAndAnswersIt) {
    clsAMAssetLabel label = newLabel(1, "L-001");
    label.SaveCard();
    clsAMAssetLabel next = nextVersion(label);
    int32_t second = next.SaveCard();

    int32_t id = label.lngAMAssetLabelID;
    next.Mode = atDec;
    next.lngAMAssetLabelID = -id;
    next.lngAMAssetLabelAlterID = 0;
    EXPECT_EQ(next.SaveCard(), 0) << "atDec deletes a version it is named";
    next.lngAMAssetLabelID = id;
    next.lngAMAssetLabelAlterID = -second;
    EXPECT_EQ(next.SaveCard(), second);
}

TEST_F(LabelTest, OtherDeletionRemovesHeadsWithoutAFirstVersionButNotTheirCustomRows) {
    clsAMAssetLabel label = newLabel(1, "L-001");
    int32_t only = label.SaveCard();
    clsAMAssetLabel orphan = newLabel(2, "L-100");
    orphan.SaveCard();
    run("Delete From [User]AMAssetLabelAlter Where lngAMAssetLabelID = " +
        std::to_string(orphan.lngAMAssetLabelID));
    clsAMAssetLabel kept = newLabel(2, "L-101");
    kept.SaveCard();

    label.Mode = atOther;
    label.lngAMAssetLabelAlterID = -only;
    EXPECT_EQ(label.SaveCard(), only);
    EXPECT_EQ(rowsOfLabel(label.lngAMAssetLabelID, "AMAssetLabel"), 0);
    EXPECT_EQ(rowsOfLabel(orphan.lngAMAssetLabelID, "AMAssetLabel"), 0);
    EXPECT_EQ(rowsOfLabel(kept.lngAMAssetLabelID, "AMAssetLabel"), 1);
    EXPECT_EQ(rowsOfLabel(label.lngAMAssetLabelID, "AMAssetLabelCustom"), 1);
    EXPECT_EQ(rowsOfLabel(orphan.lngAMAssetLabelID, "AMAssetLabelCustom"), 1);
}

TEST_F(LabelTest, AdditionModeDeletesOneLabelOrAllLabelsOfAnAsset) {
    clsAMAssetLabel one = newLabel(1, "L-001"), two = newLabel(1, "L-002"),
                    other = newLabel(2, "L-003");
    one.SaveCard();
    two.SaveCard();
    other.SaveCard();

    clsAMAssetLabel remove;
    remove.Mode = atAdd;
    remove.lngAMAssetLabelID = -one.lngAMAssetLabelID;
    EXPECT_EQ(remove.SaveCard(), one.lngAMAssetLabelID);
    for (const char* table : {"AMAssetLabel", "AMAssetLabelAlter", "AMAssetLabelCustom"}) {
        EXPECT_EQ(rowsOfLabel(one.lngAMAssetLabelID, table), 0) << table;
        EXPECT_EQ(rowsOfLabel(two.lngAMAssetLabelID, table), 1) << table;
    }

    remove.lngAMAssetLabelID = 0;
    remove.lngAMAssetID = -1;
    EXPECT_EQ(remove.SaveCard(), 1);
    for (const char* table : {"AMAssetLabel", "AMAssetLabelAlter", "AMAssetLabelCustom"}) {
        EXPECT_EQ(rowsOfLabel(two.lngAMAssetLabelID, table), 0) << table;
        EXPECT_EQ(rowsOfLabel(other.lngAMAssetLabelID, table), 1) << table;
    }
}

TEST_F(LabelTest, RefusesWithoutAnAssetOrALabelAndAnUnknownDeletionModeDoesNothing) {
    clsAMAssetLabel label = newLabel(0, "L-001");
    EXPECT_EQ(label.SaveCard(), 0);
    label.lngAMAssetID = 1;
    label.lngAMAssetLabelAlterID = 5;
    EXPECT_EQ(label.SaveCard(), 0);
    EXPECT_EQ(countOf("[User]AMAssetLabel"), 0);

    clsAMAssetLabel saved = newLabel(1, "L-001");
    int32_t first = saved.SaveCard();
    saved.Mode = atUnkonwn;
    saved.lngAMAssetLabelAlterID = -first;
    EXPECT_EQ(saved.SaveCard(), first) << "an unknown deletion mode succeeds without effect";
    EXPECT_EQ(rowsOfLabel(saved.lngAMAssetLabelID, "AMAssetLabelAlter"), 1);
}

}  // namespace
}  // namespace tk::am
