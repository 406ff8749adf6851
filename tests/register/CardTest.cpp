// The asset card: head and version chain kept in step through additions,
// changes and deletions, loads, quoting, and a save failing part-way.
#include <gtest/gtest.h>

#include <vector>

#include "RegisterTest.hpp"
#include "register/clsAMAssetCard.hpp"

namespace tk::am::test {
namespace {

struct Head {
    int32_t first, latest;
    bool operator==(const Head&) const = default;
};

std::string Id(int32_t id) { return std::to_string(id); }

class CardTest : public RegisterTest {
  protected:
    static Head headOf(int32_t asset) {
        auto rs = OpenRecordset(
            "Select lngAMAssetInitAlterID, lngAMAssetLastAlterID From [User]AMAsset Where "
            "lngAMAssetID = " +
                Id(asset),
            3, 1);
        return {rs->field(0).toInt32(), rs->field(1).toInt32()};
    }
    static std::string headText(int32_t asset, const std::string& column) {
        return textOf("Select " + column + " From [User]AMAsset Where lngAMAssetID = " + Id(asset));
    }
    static std::string versionText(int32_t version, const std::string& column) {
        return textOf("Select " + column +
                      " From [User]AMAssetAlter Where lngAMAssetAlterID = " + Id(version));
    }
    // The versions from the head's latest back to the first.
    static std::vector<int32_t> chainOf(int32_t asset) {
        std::vector<int32_t> chain;
        for (int32_t v = headOf(asset).latest; v != 0 && chain.size() < 20;
             v = numberOf("Select lngAMAssetRecentAlterID From [User]AMAssetAlter Where "
                          "lngAMAssetAlterID = " +
                          Id(v)))
            chain.push_back(v);
        return chain;
    }
    static void fill(clsAMAssetCard& card) {
        card.Mode = atAdd;
        card.strAMAssetName = "数控车床";
        card.strAMAssetCode = "02010010001";
        card.strAMAssetCardCode = "K0001";
        card.strCreateDate = "2024-03-15";
        card.strStartDate = "2024-03-15";
        card.strDate = "2024-03-15";
        card.strInvoiceNumber = "INV-1";
        card.lngOrganizationID = 1;
        card.lngAMAssetTypeID = 10;
        card.lngDepartmentID = 3;
        card.lngCardTemplateID = 4;
        card.intYear = 2024;
        card.bytPeriod = 3;
        card.bytAlterType = 1;
        card.bytDepreciationMethod = 2;
        card.dblAmount = 120000.5;
        card.dblUseage = 120;
    }
    // A new version of `card`'s asset following its current one.
    static void nextVersion(clsAMAssetCard& card, AlterTypeEnum mode, int32_t follows) {
        card.Mode = mode;
        card.lngAMAssetAlterID = 0;
        card.lngAMAssetRecentAlterID = follows;
    }
};

TEST_F(CardTest, LifeOfACardKeepsHeadAndChainInStep) {
    clsAMAssetCard card;
    fill(card);
    const int32_t asset = card.SaveCard();
    ASSERT_GT(asset, 0);
    const int32_t first = card.lngAMAssetAlterID;
    EXPECT_EQ(card.lngAMAssetID, asset);
    EXPECT_EQ(card.lngAMAssetInitAlterID, first);
    EXPECT_EQ(card.lngAMAssetLastAlterID, first);
    EXPECT_EQ(card.lngAMAssetRecentAlterID, 0);
    EXPECT_EQ(headOf(asset), (Head{first, first}));
    EXPECT_EQ(chainOf(asset), (std::vector{first}));

    SCOPED_TRACE("a decrease moves the latest pointer only");
    nextVersion(card, atDec, first);
    card.strAMAssetName = "报废车床";
    card.strInvoiceNumber = "INV-2";
    card.lngCardTemplateID = 9;
    ASSERT_EQ(card.SaveCard(), asset);
    const int32_t decrease = card.lngAMAssetAlterID;
    EXPECT_EQ(card.lngAMAssetLastAlterID, first) << "the object's own pointer stays";
    EXPECT_EQ(headOf(asset), (Head{first, decrease}));
    EXPECT_EQ(headText(asset, "strInvoiceNumber"), "INV-1");
    EXPECT_EQ(headText(asset, "lngCardTemplateID"), "4");
    EXPECT_EQ(versionText(decrease, "strAMAssetName"), "报废车床");
    EXPECT_EQ(chainOf(asset), (std::vector{decrease, first}));

    SCOPED_TRACE("an other change also carries the invoice");
    nextVersion(card, atOther, decrease);
    card.strInvoiceNumber = "INV-3";
    ASSERT_EQ(card.SaveCard(), asset);
    const int32_t other = card.lngAMAssetAlterID;
    EXPECT_EQ(headOf(asset), (Head{first, other}));
    EXPECT_EQ(headText(asset, "strInvoiceNumber"), "INV-3");
    EXPECT_EQ(headText(asset, "strAMAssetName"), "数控车床");

    SCOPED_TRACE("an addition carries codes and classification, not the name");
    nextVersion(card, atAdd, other);
    card.strAMAssetCode = "NEW-CODE";
    card.lngAMAssetTypeID = 11;
    card.lngDepartmentID = 4;
    card.blnIsAddDep = true;
    ASSERT_EQ(card.SaveCard(), asset);
    const int32_t addition = card.lngAMAssetAlterID;
    EXPECT_EQ(headOf(asset), (Head{first, addition}));
    EXPECT_EQ(headText(asset, "strAMAssetCode"), "NEW-CODE");
    EXPECT_EQ(headText(asset, "lngAMAssetTypeID"), "11");
    EXPECT_EQ(headText(asset, "lngDepartmentID"), "4");
    EXPECT_EQ(headText(asset, "blnIsAddDep"), "1");
    EXPECT_EQ(headText(asset, "strAMAssetName"), "数控车床");
    EXPECT_EQ(chainOf(asset), (std::vector{addition, other, decrease, first}));

    SCOPED_TRACE("without a known Mode the version is left an orphan");
    nextVersion(card, atUnkonwn, addition);
    EXPECT_EQ(card.SaveCard(), 0);
    const int32_t orphan = card.lngAMAssetAlterID;
    EXPECT_EQ(countOf("[User]AMAssetAlter Where lngAMAssetAlterID = " + Id(orphan)), 1);
    EXPECT_EQ(headOf(asset), (Head{first, addition}));

    SCOPED_TRACE("changing a version with atDec rewrites it and the head's template");
    card.Mode = atDec;
    card.lngAMAssetAlterID = addition;
    card.dblAmount = 777.25;
    card.lngCardTemplateID = 12;
    card.strInvoiceNumber = "INV-X";
    ASSERT_EQ(card.SaveCard(), asset);
    EXPECT_EQ(versionText(addition, "dblAmount"), "777.25");
    EXPECT_EQ(versionText(addition, "lngAMAssetRecentAlterID"), Id(other));
    EXPECT_EQ(headText(asset, "lngCardTemplateID"), "12");
    EXPECT_EQ(headText(asset, "strInvoiceNumber"), "INV-3");

    SCOPED_TRACE("changing the first version with atAdd rewrites the head, not its pointer");
    card.Mode = atAdd;
    card.lngAMAssetAlterID = first;
    card.strAMAssetName = "数控车床（大修）";
    card.strStartDate = "2024-04-01";
    ASSERT_EQ(card.SaveCard(), asset);
    EXPECT_EQ(headText(asset, "strAMAssetName"), "数控车床（大修）");
    EXPECT_EQ(headText(asset, "strStartDate"), "2024-04-01");
    EXPECT_EQ(headOf(asset), (Head{first, addition}));

    SCOPED_TRACE("deleting the newest version steps the head back");
    card.Mode = atDec;
    card.lngAMAssetAlterID = -addition;
    EXPECT_EQ(card.SaveCard(), addition);
    EXPECT_EQ(headOf(asset), (Head{first, other}));
    EXPECT_EQ(chainOf(asset), (std::vector{other, decrease, first}));
    EXPECT_EQ(countOf("[User]AMAssetAlter Where lngAMAssetAlterID = " + Id(addition)), 0);

    SCOPED_TRACE("deleting the asset removes the head and every version");
    card.Mode = atAdd;
    card.lngAMAssetID = -asset;
    card.lngAMAssetAlterID = 0;
    EXPECT_EQ(card.SaveCard(), asset);
    EXPECT_EQ(countOf("[User]AMAsset"), 0);
    EXPECT_EQ(countOf("[User]AMAssetAlter"), 0);
}

TEST_F(CardTest, ZeroCasesWriteNothingButAChangeOfTheVersion) {
    clsAMAssetCard card;
    fill(card);
    const int32_t asset = card.SaveCard();
    const int32_t version = card.lngAMAssetAlterID;

    clsAMAssetCard stray;
    fill(stray);
    stray.lngAMAssetAlterID = 5;
    EXPECT_EQ(stray.SaveCard(), 0);
    stray.Mode = atDec;
    stray.lngAMAssetAlterID = -version;
    EXPECT_EQ(stray.SaveCard(), 0) << "no asset id: not even a deletion";

    card.Mode = atUnkonwn;
    card.lngAMAssetID = -asset;
    EXPECT_EQ(card.SaveCard(), 0);
    EXPECT_EQ(countOf("[User]AMAsset"), 1);
    EXPECT_EQ(countOf("[User]AMAssetAlter"), 1);

    SCOPED_TRACE("a change without a known Mode rewrites the version but fails");
    card.lngAMAssetID = asset;
    card.strAMAssetName = "只改版本";
    EXPECT_EQ(card.SaveCard(), 0);
    EXPECT_EQ(versionText(version, "strAMAssetName"), "只改版本");
    EXPECT_EQ(headText(asset, "strAMAssetName"), "数控车床");
}

// Which version a load reads by Mode is the versioned records' shared test's.
TEST_F(CardTest, ALoadTakesTheVersionsColumnsAndTheOnesItSharesFromTheHead) {
    clsAMAssetCard card;
    fill(card);
    const int32_t asset = card.SaveCard();
    const int32_t first = card.lngAMAssetAlterID;
    nextVersion(card, atDec, first);
    card.dblAmount = 50;
    card.strDate = "2024-06-30";
    card.strAMAssetName = "版本里的新名";
    card.lngDepartmentID = 5;
    card.lngOrganizationID = 2;
    card.strNotes = "版本备注";
    card.SaveCard();
    const int32_t latest = card.lngAMAssetAlterID;

    clsAMAssetCard loaded;
    loaded.Mode = atAdd;
    loaded.LoadID(asset);
    EXPECT_DOUBLE_EQ(loaded.dblAmount, 120000.5);
    EXPECT_EQ(loaded.Mode, atAdd);
    loaded.Mode = atOther;
    loaded.LoadID(asset);
    EXPECT_EQ(loaded.lngAMAssetRecentAlterID, first);
    EXPECT_EQ(loaded.strDate, "2024-06-30");
    loaded.Mode = atUnkonwn;
    loaded.LoadID(first);
    EXPECT_EQ(loaded.lngAMAssetLastAlterID, latest);

    SCOPED_TRACE("the columns a version shares with the head are the head's");
    clsAMAssetCard joined;
    joined.LoadID(latest);
    EXPECT_EQ(joined.lngAMAssetID, asset);
    EXPECT_EQ(joined.strAMAssetName, "数控车床");
    EXPECT_EQ(joined.lngDepartmentID, 3);
    EXPECT_EQ(joined.lngOrganizationID, 1);
    EXPECT_EQ(joined.strNotes, "版本备注") << "a version-only column";
}

TEST_F(CardTest, AddDepFlagIsSetOnlyByOne) {
    clsAMAssetCard card;
    fill(card);
    card.blnIsAddDep = true;
    const int32_t asset = card.SaveCard();
    clsAMAssetCard loaded;
    loaded.Mode = atAdd;
    loaded.LoadID(asset);
    EXPECT_TRUE(loaded.blnIsAddDep);
    run("Update [User]AMAsset Set blnIsAddDep = NULL");
    loaded.LoadID(asset);
    EXPECT_FALSE(loaded.blnIsAddDep);
    run("Update [User]AMAsset Set blnIsAddDep = -1");
    loaded.LoadID(asset);
    EXPECT_FALSE(loaded.blnIsAddDep);
}

TEST_F(CardTest, AnApostropheSurvivesTheRoundTrip) {
    clsAMAssetCard card;
    fill(card);
    card.strAMAssetName = "O'Brien's 车床";
    const int32_t asset = card.SaveCard();
    ASSERT_GT(asset, 0);
    EXPECT_EQ(headText(asset, "strAMAssetName"), "O'Brien's 车床");
    clsAMAssetCard loaded;
    loaded.Mode = atAdd;
    loaded.LoadID(asset);
    EXPECT_EQ(loaded.strAMAssetName, "O'Brien's 车床") << "loaded texts are as stored";

    // A loaded card saved as the next version pastes its texts quoted again.
    loaded.Mode = atOther;
    loaded.lngAMAssetRecentAlterID = loaded.lngAMAssetAlterID;
    loaded.lngAMAssetAlterID = 0;
    ASSERT_EQ(loaded.SaveCard(), asset);
    EXPECT_EQ(textOf("Select strAMAssetName From [User]AMAssetAlter Where lngAMAssetAlterID = " +
                     Id(loaded.lngAMAssetAlterID)),
              "O'Brien's 车床");
}

TEST_F(CardTest, AFailedSecondStatementLeavesTheFirstUnlessRolledBack) {
    // Only the version row has strDate, and only the version table refuses this one.
    run("Alter Table [User]AMAssetAlter Add Constraint no_16th Check (strDate <> '2024-03-16')");
    clsAMAssetCard card;
    fill(card);
    card.strDate = "2024-03-16";
    EXPECT_EQ(card.SaveCard(), 0);
    EXPECT_EQ(countOf("[User]AMAsset"), 1);
    EXPECT_EQ(countOf("[User]AMAssetAlter"), 0);

    run("Delete From [User]AMAsset");
    clsAMAssetCard inTransaction;
    fill(inTransaction);
    inTransaction.strDate = "2024-03-16";
    conn->BeginTrans();
    EXPECT_EQ(inTransaction.SaveCard(), 0);
    conn->RollbackTrans();
    EXPECT_EQ(countOf("[User]AMAsset"), 0);
}

TEST_F(CardTest, CodeEndingInNulIsSavedWithoutIt) {
    clsAMAssetCard card;
    fill(card);
    card.strAMAssetCode = std::string("0201", 4) + '\0';
    const int32_t asset = card.SaveCard();
    ASSERT_GT(asset, 0);
    EXPECT_EQ(headText(asset, "strAMAssetCode"), "0201");
    EXPECT_EQ(card.strAMAssetCode.str().size(), 5u) << "the property keeps what it was given";
}

}  // namespace
}  // namespace tk::am::test
