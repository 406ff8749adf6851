// The asset's other card: its versions and the head's pointers, the flexible
// key copied onto the card's alteration, and deletions.
#include "RecordsTestSupport.hpp"
#include "records/clsAMAssetOtherCard.hpp"

namespace tk::am {
namespace {

const std::string kZeros(310, '0');

class OtherCardTest : public test::RecordsTest {
  protected:
    void SetUp() override { addCard(1, {11, 12, 13}); }

    static clsAMAssetOtherCard versionOf(int32_t alterID, const std::string& style) {
        clsAMAssetOtherCard card;
        card.lngAMAssetID = 1;
        card.lngAMAssetAlterID = alterID;
        card.strAssetStyle = style;
        card.strFlexibleID = "1" + kZeros.substr(1);
        return card;
    }
    static std::string headColumn(const std::string& column) {
        return textOf("Select " + column + " From [User]AMAssetOther Where lngAMAssetID = 1");
    }
    static std::string versionColumn(int32_t versionID, const std::string& column) {
        return textOf("Select " + column +
                      " From [User]AMAssetOtherAlter Where lngAMAssetOtherAlterID = " +
                      std::to_string(versionID));
    }
};

TEST_F(OtherCardTest, FirstVersionStartsTheHeadAndLaterOnesMoveOnlyTheLatestPointer) {
    clsAMAssetOtherCard card = versionOf(11, "first");
    int32_t first = card.SaveCard();
    ASSERT_GT(first, 0);
    EXPECT_EQ(card.lngAMAssetOtherAlterID, first);
    EXPECT_EQ(card.lngAMAssetOtherInitAlterID, first);
    EXPECT_EQ(card.lngAMAssetOtherLastAlterID, first);
    EXPECT_EQ(card.lngAMAssetOtherRecentAlterID, 0);
    EXPECT_EQ(headColumn("lngAMAssetOtherLastAlterID"), std::to_string(first));
    EXPECT_EQ(versionColumn(first, "lngAMAssetOtherRecentAlterID"), "0");
    EXPECT_EQ(versionColumn(first, "lngAMAssetAlterID"), "11");

    clsAMAssetOtherCard second = versionOf(12, "second");
    second.lngAMAssetOtherRecentAlterID = first;
    int32_t secondID = second.SaveCard();
    ASSERT_GT(secondID, first);
    EXPECT_EQ(second.lngAMAssetOtherLastAlterID, 0) << "the object's head pointer is the caller's";
    EXPECT_EQ(headColumn("lngAMAssetOtherInitAlterID"), std::to_string(first));
    EXPECT_EQ(headColumn("lngAMAssetOtherLastAlterID"), std::to_string(secondID));
    EXPECT_EQ(headColumn("strAssetStyle"), "first")
        << "the head keeps the first version's attributes";
    EXPECT_EQ(versionColumn(secondID, "strAssetStyle"), "second");
    EXPECT_EQ(versionColumn(secondID, "lngAMAssetOtherRecentAlterID"), std::to_string(first));
}

// Which version a load reads by Mode is the versioned records' shared test's.
TEST_F(OtherCardTest, ALoadTakesTheHeadsAttributesAndTheChainsPointers) {
    int32_t first = versionOf(11, "first").SaveCard();
    clsAMAssetOtherCard second = versionOf(12, "second");
    second.intYear = 2025;
    second.lngAMAssetOtherRecentAlterID = first;
    int32_t secondID = second.SaveCard();

    clsAMAssetOtherCard card;
    card.Mode = atAdd;
    card.LoadID(1);
    EXPECT_EQ(card.lngAMAssetAlterID, 11);
    card.Mode = atOther;
    card.LoadID(1);
    EXPECT_EQ(card.intYear, 2025);
    EXPECT_EQ(card.strAssetStyle.str(), "first");
    card.Mode = atUnkonwn;
    card.LoadID(12);  // a card alteration's id
    EXPECT_EQ(card.lngAMAssetOtherAlterID, secondID);
    EXPECT_EQ(card.lngAMAssetOtherRecentAlterID, first);
    EXPECT_EQ(card.lngAMAssetOtherInitAlterID, first);
}

TEST_F(OtherCardTest, ChangingAVersionMakesItTheLatestAndLeavesTheHeadsAttributes) {
    int32_t first = versionOf(11, "first").SaveCard();
    clsAMAssetOtherCard second = versionOf(12, "second");
    second.lngAMAssetOtherRecentAlterID = first;
    second.SaveCard();

    clsAMAssetOtherCard change = versionOf(13, "changed");
    change.lngAMAssetOtherAlterID = first;
    change.lngDepartmentID = 7;
    change.lngCulturalRelicID = 4;
    change.dblLandArea = 1234.5;
    EXPECT_EQ(change.SaveCard(), first);

    EXPECT_EQ(headColumn("lngAMAssetOtherLastAlterID"), std::to_string(first));
    EXPECT_EQ(headColumn("strAssetStyle"), "first");
    EXPECT_EQ(versionColumn(first, "strAssetStyle"), "changed");
    EXPECT_EQ(versionColumn(first, "lngCulturalRelicID"), "4");
    EXPECT_EQ(versionColumn(first, "lngDepartmentID"), "7");
    EXPECT_EQ(
        valueOf("Select dblLandArea From [User]AMAssetOtherAlter Where lngAMAssetOtherAlterID = " +
                std::to_string(first))
            .toDouble(),
        1234.5);
    EXPECT_EQ(versionColumn(first, "lngAMAssetAlterID"), "11")
        << "a change keeps the card alteration";
}

TEST_F(OtherCardTest, EverySaveCopiesTheFlexibleKeyOntoTheCardAlteration) {
    clsAMAssetOtherCard card = versionOf(12, "x");
    card.strFlexibleID = "";
    card.SaveCard();
    EXPECT_EQ(textOf("Select strFlexibleID From [User]AMAssetAlter Where lngAMAssetAlterID = 12"),
              kZeros);
    EXPECT_EQ(textOf("Select strFlexibleID From [User]AMAssetAlter Where lngAMAssetAlterID = 11"),
              " ");
}

// Stepping the head back is the versioned records' shared test's.
TEST_F(OtherCardTest, ADeletionAnswersTheAssetAndAtAddTakesTheWholeCard) {
    int32_t first = versionOf(11, "first").SaveCard();
    clsAMAssetOtherCard second = versionOf(12, "second");
    second.lngAMAssetOtherRecentAlterID = first;
    int32_t secondID = second.SaveCard();

    second.Mode = atDec;
    second.lngAMAssetOtherAlterID = -secondID;
    EXPECT_EQ(second.SaveCard(), 1);

    clsAMAssetOtherCard whole;
    whole.Mode = atAdd;
    whole.lngAMAssetID = -1;
    EXPECT_EQ(whole.SaveCard(), 1);
    EXPECT_EQ(countOf("[User]AMAssetOther"), 0);
    EXPECT_EQ(countOf("[User]AMAssetOtherAlter"), 0);
}

TEST_F(OtherCardTest, RefusesWithoutAnAssetOrWithAnUnknownDeletionMode) {
    int32_t first = versionOf(11, "first").SaveCard();
    clsAMAssetOtherCard card;
    EXPECT_EQ(card.SaveCard(), 0);
    card.lngAMAssetOtherAlterID = 5;
    EXPECT_EQ(card.SaveCard(), 0);
    card.lngAMAssetID = 1;
    card.lngAMAssetOtherAlterID = -first;
    card.Mode = atUnkonwn;
    EXPECT_EQ(card.SaveCard(), 0);
    EXPECT_EQ(countOf("[User]AMAssetOtherAlter"), 1);
}

}  // namespace
}  // namespace tk::am
