// An asset's funding-source versions: the head and its pointers as versions
// are added, changed and deleted, and nothing written without asset or source.
#include <gtest/gtest.h>

#include "FundsDatabase.hpp"
#include "funds/clsAMAssetFund.hpp"

namespace tk::am {
namespace {

constexpr int32_t kAsset = 1, kOtherAsset = 2;
constexpr int32_t kOwnFunds = 1, kGrant = 2;

// An asset financed by two sources, with the card rows the funding versions hang off.
class AssetFunds : public FundsDatabase {
  protected:
    void SetUp() override {
        FundsDatabase::SetUp();
        for (int32_t asset : {kAsset, kOtherAsset}) {
            const std::string id = std::to_string(asset);
            exec(
                "Insert Into [User]AMAsset(lngAMAssetID,strAMAssetCode,lngAMAssetInitAlterID,"
                "lngAMAssetLastAlterID,lngOrganizationID) Values(" +
                id + ",'A" + id + "'," + id + "0," + id + "1,1)");
            for (const char* version : {"0", "1"})
                exec(
                    "Insert Into "
                    "[User]AMAssetAlter(lngAMAssetAlterID,lngAMAssetID,lngOrganizationID)"
                    " Values(" +
                    id + version + "," + id + ",1)");
        }
    }

    // Saves a new funding version; `predecessor` as the caller of a later version sets it.
    static clsAMAssetFund addVersion(int32_t asset, int32_t fund, double amount,
                                     int32_t predecessor = 0) {
        clsAMAssetFund version;
        version.lngAMAssetID = asset;
        version.lngAMAssetAlterID = asset * 10 + (predecessor ? 1 : 0);
        version.lngAMFundID = fund;
        version.lngAMAssetFundRecentAlterID = predecessor;
        version.intYear = 2024;
        version.bytPeriod = 3;
        version.strDate = "2024-03-15";
        version.dblAmount = amount;
        version.dblAmountAlter = amount;
        version.strNotes = "资金 " + std::to_string(fund);
        version.lngOrganizationID = 1;
        EXPECT_GT(version.SaveCard(), 0);
        return version;
    }

    // Two versions of the own-funds source of the asset, the second following the first.
    static std::pair<clsAMAssetFund, clsAMAssetFund> chainOfTwo() {
        clsAMAssetFund first = addVersion(kAsset, kOwnFunds, 1000);
        return {first, addVersion(kAsset, kOwnFunds, 1500, first.lngAMAssetFundAlterID)};
    }
    static std::string head(int32_t asset, int32_t fund) {
        return value(
            "Select lngAMAssetFundInitAlterID || '/' || lngAMAssetFundLastAlterID From "
            "[User]AMAssetFund Where lngAMAssetID = " +
            std::to_string(asset) + " And lngAMFundID = " + std::to_string(fund));
    }
    static std::string pointers(int32_t first, int32_t last) {
        return std::to_string(first) + "/" + std::to_string(last);
    }
    static int32_t deleteVersion(int32_t asset, int32_t version, AlterTypeEnum mode) {
        clsAMAssetFund fund;
        fund.Mode = mode;
        fund.lngAMAssetID = asset;
        fund.lngAMFundID = kOwnFunds;
        fund.lngAMAssetFundAlterID = -version;
        return fund.SaveCard();
    }
    static int versions() { return count("AMAssetFundAlter", "1 = 1"); }
    static int heads() { return count("AMAssetFund", "1 = 1"); }
};

TEST_F(AssetFunds, FirstVersionCreatesItsSourcesHeadAndLaterOnesMoveOnlyTheLatestPointer) {
    clsAMAssetFund first;
    first.lngAMAssetID = kAsset;
    first.lngAMAssetAlterID = 10;
    first.lngAMFundID = kOwnFunds;
    first.lngAMAssetFundRecentAlterID = 77;  // a first version has no predecessor
    first.dblAmount = 1234.5;

    int32_t id = first.SaveCard();
    ASSERT_GT(id, 0);
    EXPECT_EQ(first.lngAMAssetFundAlterID, id);
    EXPECT_EQ(first.lngAMAssetFundInitAlterID, id);
    EXPECT_EQ(first.lngAMAssetFundLastAlterID, id);
    EXPECT_EQ(first.lngAMAssetFundRecentAlterID, 0);
    EXPECT_EQ(head(kAsset, kOwnFunds), pointers(id, id));
    EXPECT_EQ(
        value("Select lngAMAssetFundRecentAlterID || ':' || lngAMAssetAlterID || ':' || dblAmount"
              " From [User]AMAssetFundAlter Where lngAMAssetFundAlterID = " +
              std::to_string(id)),
        "0:10:1234.5");

    clsAMAssetFund grant = addVersion(kAsset, kGrant, 500);
    EXPECT_EQ(head(kAsset, kGrant),
              pointers(grant.lngAMAssetFundAlterID, grant.lngAMAssetFundAlterID));
    EXPECT_EQ(heads(), 2);

    // A later version keeps its predecessor and moves only the latest pointer.
    clsAMAssetFund second;
    second.lngAMAssetID = kAsset;
    second.lngAMFundID = kOwnFunds;
    second.lngAMAssetFundInitAlterID = 5;
    second.lngAMAssetFundRecentAlterID = 4242;  // kept as the caller set it, checked or not
    int32_t later = second.SaveCard();

    ASSERT_GT(later, id);
    EXPECT_EQ(second.lngAMAssetFundInitAlterID, 5);
    EXPECT_EQ(head(kAsset, kOwnFunds), pointers(id, later));
    EXPECT_EQ(value("Select lngAMAssetFundRecentAlterID From [User]AMAssetFundAlter Where "
                    "lngAMAssetFundAlterID = " +
                    std::to_string(later)),
              "4242");
}

// Which version a load reads by Mode is the versioned records' shared test's;
// a source's version loaded by Mode carries its head's pointers and its own figures.
TEST_F(AssetFunds, ALoadCarriesItsSourcesHeadAndItsOwnFigures) {
    clsAMAssetFund own1 = addVersion(kAsset, kOwnFunds, 1000);
    clsAMAssetFund grant = addVersion(kAsset, kGrant, 300);
    clsAMAssetFund own2 = addVersion(kAsset, kOwnFunds, 1500, own1.lngAMAssetFundAlterID);

    clsAMAssetFund loaded;
    loaded.Mode = atAdd;
    loaded.LoadID(kAsset, kOwnFunds);
    EXPECT_DOUBLE_EQ(loaded.dblAmount, 1000);
    EXPECT_EQ(loaded.strDate.str(), "2024-03-15");
    EXPECT_EQ(loaded.strNotes.str(), "资金 1");
    EXPECT_EQ(loaded.lngAMAssetFundLastAlterID, own2.lngAMAssetFundAlterID);

    for (AlterTypeEnum latest : {atDec, atOther}) {
        loaded.Mode = latest;
        loaded.LoadID(kAsset, kOwnFunds);
        EXPECT_EQ(loaded.lngAMAssetFundRecentAlterID, own1.lngAMAssetFundAlterID);
        EXPECT_EQ(loaded.Mode, latest);
    }

    // By id the version meets every head of its asset; it takes its own source's.
    loaded.Mode = atUnkonwn;
    for (const clsAMAssetFund* version : {&grant, &own1}) {
        loaded.LoadID(kAsset, version->lngAMAssetFundAlterID);
        EXPECT_EQ(loaded.lngAMAssetFundAlterID, version->lngAMAssetFundAlterID);
        EXPECT_EQ(loaded.lngAMFundID, version->lngAMFundID);
        EXPECT_EQ(loaded.lngAMAssetFundInitAlterID, version->lngAMAssetFundInitAlterID);
        EXPECT_DOUBLE_EQ(loaded.dblAmount, version->dblAmount);
    }
}

TEST_F(AssetFunds, ChangeRewritesTheVersionButNotItsAssetVersionOrOrganization) {
    clsAMAssetFund version = addVersion(kAsset, kOwnFunds, 1000);
    version.dblAmount = 800.25;
    version.dblTransferAmountAlter = -200;
    version.lngPayAccountID = 8;
    version.bytStatus = 2;
    version.strNotes = "O'Brien 的调拨";
    version.lngAMAssetAlterID = 99;
    version.lngOrganizationID = 2;
    const int32_t id = version.lngAMAssetFundAlterID;
    EXPECT_EQ(version.SaveCard(), id);

    clsAMAssetFund loaded;
    loaded.LoadID(kAsset, id);
    EXPECT_DOUBLE_EQ(loaded.dblAmount, 800.25);
    EXPECT_DOUBLE_EQ(loaded.dblTransferAmountAlter, -200);
    EXPECT_EQ(loaded.lngPayAccountID, 8);
    EXPECT_EQ(loaded.bytStatus, 2);
    EXPECT_EQ(loaded.strNotes.str(), "O'Brien 的调拨");  // as stored: not quoted again
    EXPECT_EQ(loaded.lngAMAssetAlterID, 10);
    EXPECT_EQ(loaded.lngOrganizationID, 1);
}

TEST_F(AssetFunds, NothingIsWrittenWithoutAnAssetASourceOrAKnownDeletionMode) {
    clsAMAssetFund empty;
    empty.lngAMAssetID = kAsset;
    EXPECT_EQ(empty.SaveCard(), 0);  // source 0 and version 0
    empty.lngAMAssetFundAlterID = 7;
    EXPECT_EQ(empty.SaveCard(), 0);  // a change needs a source

    clsAMAssetFund version = addVersion(kAsset, kOwnFunds, 1000);
    version.lngAMAssetID = 0;
    EXPECT_EQ(version.SaveCard(), 0);
    EXPECT_EQ(deleteVersion(kAsset, version.lngAMAssetFundAlterID, atUnkonwn), 0);
    EXPECT_EQ(versions(), 1);
    EXPECT_EQ(heads(), 1);
}

TEST_F(AssetFunds, DeletingAFirstVersionRemovesTheHeadsItLeavesWithoutOne) {
    clsAMAssetFund own = addVersion(kAsset, kOwnFunds, 1000);
    clsAMAssetFund grant = addVersion(kAsset, kGrant, 300);
    clsAMAssetFund other = addVersion(kOtherAsset, kOwnFunds, 50);
    exec("Delete From [User]AMAssetFundAlter Where lngAMAssetFundAlterID = " +
         std::to_string(other.lngAMAssetFundAlterID));

    // atDec cleans up the heads of its own asset only.
    EXPECT_EQ(deleteVersion(kAsset, own.lngAMAssetFundAlterID, atDec), own.lngAMAssetFundAlterID);
    EXPECT_EQ(head(kAsset, kOwnFunds), "<none>");
    EXPECT_NE(head(kAsset, kGrant), "<none>");
    EXPECT_NE(head(kOtherAsset, kOwnFunds), "<none>");

    // atOther cleans up the heads of every asset.
    clsAMAssetFund again = addVersion(kAsset, kOwnFunds, 1000);
    EXPECT_EQ(deleteVersion(kAsset, again.lngAMAssetFundAlterID, atOther),
              again.lngAMAssetFundAlterID);
    EXPECT_EQ(head(kAsset, kOwnFunds), "<none>");
    EXPECT_EQ(head(kOtherAsset, kOwnFunds), "<none>");
    EXPECT_EQ(head(kAsset, kGrant),
              pointers(grant.lngAMAssetFundAlterID, grant.lngAMAssetFundAlterID));
}

TEST_F(AssetFunds, DeletingWithAtAddRemovesTheVersionAndTheHeadItStarts) {
    auto [first, second] = chainOfTwo();

    // A later version goes alone; the head keeps pointing at it.
    EXPECT_EQ(deleteVersion(kAsset, second.lngAMAssetFundAlterID, atAdd),
              second.lngAMAssetFundAlterID);
    EXPECT_EQ(head(kAsset, kOwnFunds),
              pointers(first.lngAMAssetFundAlterID, second.lngAMAssetFundAlterID));

    // A negative source asks for the deletion as well.
    clsAMAssetFund byFund;
    byFund.Mode = atAdd;
    byFund.lngAMAssetID = kAsset;
    byFund.lngAMFundID = -kOwnFunds;
    byFund.lngAMAssetFundAlterID = first.lngAMAssetFundAlterID;
    EXPECT_EQ(byFund.SaveCard(), first.lngAMAssetFundAlterID);
    EXPECT_EQ(head(kAsset, kOwnFunds), "<none>");
    EXPECT_EQ(versions(), 0);
}

}  // namespace
}  // namespace tk::am
