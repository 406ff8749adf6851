// The contract every versioned record keeps (asset card, funding source,
// label, other card): which version a load reads by Mode, and a deletion of
// the latest version stepping the head back.
#include <gtest/gtest.h>

#include "TestDatabase.hpp"
#include "frame/DataAccess.hpp"
#include "funds/clsAMAssetFund.hpp"
#include "records/clsAMAssetLabel.hpp"
#include "records/clsAMAssetOtherCard.hpp"
#include "register/clsAMAssetCard.hpp"

namespace tk::am::test {
namespace {

std::string Id(int32_t id) { return std::to_string(id); }

int32_t NumberOf(const std::string& sql) { return OpenRecordset(sql, 3, 1)->field(0).toInt32(); }

// An asset card with two card versions (11 and 12) the other records hang off.
void AddBareCard() {
    for (const char* sql :
         {"Insert Into [User]AMAsset(lngAMAssetID,lngAMAssetInitAlterID,lngAMAssetLastAlterID,"
          "lngOrganizationID) Values(1,11,12,1)",
          "Insert Into [User]AMAssetAlter(lngAMAssetAlterID,lngAMAssetID,lngOrganizationID) "
          "Values(11,1,1)",
          "Insert Into [User]AMAssetAlter(lngAMAssetAlterID,lngAMAssetID,lngOrganizationID) "
          "Values(12,1,1)"})
        ASSERT_TRUE(ExecuteSql(sql)) << sql;
}

// A record's chain of two versions: the head it hangs off (its key) and the
// ids of the first version and of the second, which follows it.
struct Chain {
    int32_t key = 0, first = 0, second = 0;
};

struct CardKind {
    static Chain Make() {
        clsAMAssetCard card;
        card.Mode = atAdd;
        card.strAMAssetName = "数控车床";
        card.strAMAssetCode = "02010010001";
        card.lngOrganizationID = 1;
        card.lngAMAssetTypeID = 10;
        card.dblAmount = 1000;
        Chain c{card.SaveCard(), card.lngAMAssetAlterID, 0};
        card.Mode = atDec;
        card.lngAMAssetAlterID = 0;
        card.lngAMAssetRecentAlterID = c.first;
        card.SaveCard();
        c.second = card.lngAMAssetAlterID;
        return c;
    }
    static int32_t Load(AlterTypeEnum mode, const Chain& c, bool byVersion) {
        clsAMAssetCard card;
        card.Mode = mode;
        card.LoadID(byVersion ? c.first : c.key);
        return card.lngAMAssetAlterID;
    }
    static int32_t DeleteLatest(const Chain& c) {
        clsAMAssetCard card;
        card.Mode = atDec;
        card.lngAMAssetID = c.key;
        card.lngAMAssetAlterID = -c.second;
        return card.SaveCard();
    }
    static int32_t Latest(const Chain& c) {
        return NumberOf("Select lngAMAssetLastAlterID From [User]AMAsset Where lngAMAssetID = " +
                        Id(c.key));
    }
    static int32_t Versions(const Chain& c) {
        return NumberOf("Select Count(*) From [User]AMAssetAlter Where lngAMAssetID = " +
                        Id(c.key));
    }
};

struct FundKind {
    static clsAMAssetFund Version(int32_t cardVersion, int32_t follows) {
        clsAMAssetFund fund;
        fund.lngAMAssetID = 1;
        fund.lngAMFundID = 1;
        fund.lngAMAssetAlterID = cardVersion;
        fund.lngAMAssetFundRecentAlterID = follows;
        fund.dblAmount = 1000;
        fund.lngOrganizationID = 1;
        return fund;
    }
    static Chain Make() {
        AddBareCard();
        clsAMAssetFund first = Version(11, 0);
        first.SaveCard();
        clsAMAssetFund second = Version(12, first.lngAMAssetFundAlterID);
        second.SaveCard();
        return {1, first.lngAMAssetFundAlterID, second.lngAMAssetFundAlterID};
    }
    static int32_t Load(AlterTypeEnum mode, const Chain& c, bool byVersion) {
        clsAMAssetFund fund;
        fund.Mode = mode;
        fund.LoadID(c.key, byVersion ? c.first : 1);
        return fund.lngAMAssetFundAlterID;
    }
    static int32_t DeleteLatest(const Chain& c) {
        clsAMAssetFund fund;
        fund.Mode = atDec;
        fund.lngAMAssetID = c.key;
        fund.lngAMFundID = 1;
        fund.lngAMAssetFundAlterID = -c.second;
        return fund.SaveCard();
    }
    static int32_t Latest(const Chain& c) {
        return NumberOf(
            "Select lngAMAssetFundLastAlterID From [User]AMAssetFund Where lngAMAssetID = " +
            Id(c.key));
    }
    static int32_t Versions(const Chain& c) {
        return NumberOf("Select Count(*) From [User]AMAssetFundAlter Where lngAMAssetID = " +
                        Id(c.key));
    }
};

struct LabelKind {
    static Chain Make() {
        AddBareCard();
        clsAMAssetLabel label;
        label.lngAMAssetID = 1;
        label.lngAMAssetAlterID = 11;
        label.strAMAssetLabelNo = "L-001";
        label.lngOrganizationID = 1;
        const int32_t first = label.SaveCard();
        label.lngAMAssetLabelRecentAlterID = first;
        label.lngAMAssetLabelAlterID = 0;
        label.lngAMAssetAlterID = 12;
        return {label.lngAMAssetLabelID, first, label.SaveCard()};
    }
    static int32_t Load(AlterTypeEnum mode, const Chain& c, bool byVersion) {
        clsAMAssetLabel label;
        label.Mode = mode;
        label.LoadID(1, byVersion ? c.first : c.key);
        return label.lngAMAssetLabelAlterID;
    }
    static int32_t DeleteLatest(const Chain& c) {
        clsAMAssetLabel label;
        label.Mode = atDec;
        label.lngAMAssetID = 1;
        label.lngAMAssetLabelID = c.key;
        label.lngAMAssetLabelAlterID = -c.second;
        return label.SaveCard();
    }
    static int32_t Latest(const Chain& c) {
        return NumberOf(
            "Select lngAMAssetLabelLastAlterID From [User]AMAssetLabel Where lngAMAssetLabelID = " +
            Id(c.key));
    }
    static int32_t Versions(const Chain& c) {
        return NumberOf("Select Count(*) From [User]AMAssetLabelAlter Where lngAMAssetLabelID = " +
                        Id(c.key));
    }
};

// An other card's version is found by the card version it belongs to.
struct OtherCardKind {
    static Chain Make() {
        AddBareCard();
        clsAMAssetOtherCard card;
        card.lngAMAssetID = 1;
        card.lngAMAssetAlterID = 11;
        card.strAssetStyle = "first";
        const int32_t first = card.SaveCard();
        clsAMAssetOtherCard second;
        second.lngAMAssetID = 1;
        second.lngAMAssetAlterID = 12;
        second.lngAMAssetOtherRecentAlterID = first;
        return {1, first, second.SaveCard()};
    }
    static int32_t Load(AlterTypeEnum mode, const Chain& c, bool byVersion) {
        clsAMAssetOtherCard card;
        card.Mode = mode;
        card.LoadID(byVersion ? 11 : c.key);
        return card.lngAMAssetOtherAlterID;
    }
    static int32_t DeleteLatest(const Chain& c) {
        clsAMAssetOtherCard card;
        card.Mode = atDec;
        card.lngAMAssetID = c.key;
        card.lngAMAssetOtherAlterID = -c.second;
        return card.SaveCard();
    }
    static int32_t Latest(const Chain& c) {
        return NumberOf(
            "Select lngAMAssetOtherLastAlterID From [User]AMAssetOther Where lngAMAssetID = " +
            Id(c.key));
    }
    static int32_t Versions(const Chain& c) {
        return NumberOf("Select Count(*) From [User]AMAssetOtherAlter Where lngAMAssetID = " +
                        Id(c.key));
    }
};

template <typename Kind>
class VersionedRecordTest : public ::testing::Test {
  protected:
    tk::test::TestAccountSet set{"ver", /*demo=*/true};
    std::shared_ptr<connect::Connection> conn = set.useOnThisThread();
};

using Kinds = ::testing::Types<CardKind, FundKind, LabelKind, OtherCardKind>;
TYPED_TEST_SUITE(VersionedRecordTest, Kinds);

// atAdd reads the first version, atDec and atOther the latest, any other
// Mode the version named.
TYPED_TEST(VersionedRecordTest, ALoadReadsTheVersionItsModeNames) {
    const Chain c = TypeParam::Make();
    ASSERT_GT(c.first, 0);
    ASSERT_GT(c.second, c.first);
    EXPECT_EQ(TypeParam::Load(atAdd, c, false), c.first);
    EXPECT_EQ(TypeParam::Load(atDec, c, false), c.second);
    EXPECT_EQ(TypeParam::Load(atOther, c, false), c.second);
    EXPECT_EQ(TypeParam::Load(atUnkonwn, c, true), c.first);
}

// Deleting the latest version removes it and the head points at the one it
// followed again.
TYPED_TEST(VersionedRecordTest, DeletingTheLatestVersionStepsTheHeadBack) {
    const Chain c = TypeParam::Make();
    ASSERT_EQ(TypeParam::Latest(c), c.second);
    EXPECT_GT(TypeParam::DeleteLatest(c), 0);
    EXPECT_EQ(TypeParam::Latest(c), c.first);
    EXPECT_EQ(TypeParam::Versions(c), 1);
}

}  // namespace
}  // namespace tk::am::test
