#include <gtest/gtest.h>

#include "RegisterTest.hpp"
#include "register/VersionedRecord.hpp"

namespace tk::am::test {
namespace {

using Action = VersionedRecord::Action;

const VersionedRecord kCard({.headTable = "AMAsset",
                             .versionTable = "AMAssetAlter",
                             .versionKey = "lngAMAssetAlterID",
                             .latestPointer = "lngAMAssetLastAlterID",
                             .previousPointer = "lngAMAssetRecentAlterID",
                             .headLink = "AMAssetAlter.lngAMAssetID = AMAsset.lngAMAssetID"});

TEST(VersionedRecord, SignsOfTheIdsChooseTheAction) {
    EXPECT_EQ(VersionedRecord::ActionFor(0, 0), Action::AddHead);
    EXPECT_EQ(VersionedRecord::ActionFor(0, 5), Action::Nothing);
    EXPECT_EQ(VersionedRecord::ActionFor(7, 0), Action::AddVersion);
    EXPECT_EQ(VersionedRecord::ActionFor(7, 5), Action::ChangeVersion);
    EXPECT_EQ(VersionedRecord::ActionFor(-7, 0), Action::Delete);
    EXPECT_EQ(VersionedRecord::ActionFor(7, -5), Action::Delete);
    EXPECT_EQ(VersionedRecord::ActionFor(0, -5), Action::Delete);
}

TEST(VersionedRecord, ModeChoosesWhatIsLoadedAndRemoved) {
    EXPECT_EQ(VersionedRecord::VersionToLoad(atAdd), VersionedRecord::Pick::FirstVersion);
    EXPECT_EQ(VersionedRecord::VersionToLoad(atOther), VersionedRecord::Pick::LatestVersion);
    EXPECT_EQ(VersionedRecord::VersionToLoad(atUnkonwn), VersionedRecord::Pick::GivenVersion);
    EXPECT_EQ(VersionedRecord::RemovalFor(atAdd), VersionedRecord::Removal::WholeRecord);
    EXPECT_EQ(VersionedRecord::RemovalFor(atDec), VersionedRecord::Removal::NewestVersion);
    EXPECT_EQ(VersionedRecord::RemovalFor(static_cast<AlterTypeEnum>(9)),
              VersionedRecord::Removal::None);
}

TEST(VersionedRecord, StepBackIsSpelledAsEachRecordKindHasIt) {
    EXPECT_EQ(kCard.StepLatestBack(4),
              " Update [User]AMAsset Set lngAMAssetLastAlterID = (Select "
              "AMAssetAlter.lngAMAssetRecentAlterID From [User]AMAssetAlter Where "
              "AMAssetAlter.lngAMAssetAlterID = 4 And AMAssetAlter.lngAMAssetID = "
              "AMAsset.lngAMAssetID) Where Exists (Select 1 From [User]AMAssetAlter Where "
              "AMAssetAlter.lngAMAssetAlterID = 4 And AMAssetAlter.lngAMAssetID = "
              "AMAsset.lngAMAssetID)");
    const VersionedRecord label({.headTable = "AMAssetLabel",
                                 .versionTable = "AMAssetLabelAlter",
                                 .versionKey = "lngAMAssetLabelAlterID",
                                 .latestPointer = "lngAMAssetLabelLastAlterID",
                                 .previousPointer = "lngAMAssetLabelRecentAlterID",
                                 .headLink = "AMAssetLabelAlter.lngAMAssetLabelID = "
                                             "AMAssetLabel.lngAMAssetLabelID",
                                 .headLinkFirst = true});
    EXPECT_EQ(label.StepLatestBack(3),
              " Update [User]AMAssetLabel Set lngAMAssetLabelLastAlterID = (Select "
              "AMAssetLabelAlter.lngAMAssetLabelRecentAlterID From [User]AMAssetLabelAlter Where "
              "AMAssetLabelAlter.lngAMAssetLabelID = AMAssetLabel.lngAMAssetLabelID And "
              "AMAssetLabelAlter.lngAMAssetLabelAlterID = 3) Where Exists (Select 1 From "
              "[User]AMAssetLabelAlter Where AMAssetLabelAlter.lngAMAssetLabelAlterID = 3 And "
              "AMAssetLabelAlter.lngAMAssetLabelID = AMAssetLabel.lngAMAssetLabelID)");
    const VersionedRecord fund(
        {.headTable = "AMAssetFund",
         .versionTable = "AMAssetFundAlter",
         .versionKey = "lngAMAssetFundAlterID",
         .latestPointer = "lngAMAssetFundLastAlterID",
         .previousPointer = "lngAMAssetFundRecentAlterID",
         .headLink = "AMAssetFundAlter.lngAMAssetid = AMAssetFund.lngAMAssetID And "
                     "AMAssetFundAlter.lngAMFundID = AMAssetFund.lngAMfundID",
         .existsHeadLink = "AMAssetFundAlter.lngAMAssetid = AMAssetFund.lngAMAssetID And "
                           "AMAssetFund.lngAMFundID = AMAssetFundAlter.lngAMfundID"});
    EXPECT_EQ(fund.StepLatestBack(2),
              " Update [User]AMAssetFund Set lngAMAssetFundLastAlterID = (Select "
              "AMAssetFundAlter.lngAMAssetFundRecentAlterID From [User]AMAssetFundAlter Where "
              "AMAssetFundAlter.lngAMAssetFundAlterID = 2 And AMAssetFundAlter.lngAMAssetid = "
              "AMAssetFund.lngAMAssetID And AMAssetFundAlter.lngAMFundID = "
              "AMAssetFund.lngAMfundID) Where Exists (Select 1 From [User]AMAssetFundAlter Where "
              "AMAssetFundAlter.lngAMAssetFundAlterID = 2 And AMAssetFundAlter.lngAMAssetid = "
              "AMAssetFund.lngAMAssetID And AMAssetFund.lngAMFundID = "
              "AMAssetFundAlter.lngAMfundID)");
}

using VersionedRecordDb = RegisterTest;

TEST_F(VersionedRecordDb, ProbePointerMovesAndDeletesWorkOnTheTables) {
    EXPECT_FALSE(VersionedRecord::HeadExists("Select 1 From [User]AMAsset Where lngAMAssetID = 1"));
    run("Insert Into [User]AMAsset(lngAMAssetID,lngAMAssetInitAlterID,lngAMAssetLastAlterID) "
        "Values(1,10,10)");
    run("Insert Into [User]AMAssetAlter(lngAMAssetAlterID,lngAMAssetID) Values(10,1)");
    run("Insert Into [User]AMAssetAlter(lngAMAssetAlterID,lngAMAssetID,lngAMAssetRecentAlterID) "
        "Values(11,1,10)");
    EXPECT_TRUE(VersionedRecord::HeadExists("Select 1 From [User]AMAsset Where lngAMAssetID = 1"));

    ASSERT_TRUE(VersionedRecord::Execute({kCard.PointLatestAt(11, "lngAMAssetID = 1")}));
    EXPECT_EQ(numberOf("Select lngAMAssetLastAlterID From [User]AMAsset"), 11);
    ASSERT_TRUE(VersionedRecord::Execute({kCard.StepLatestBack(11), kCard.DeleteVersion(11)}));
    EXPECT_EQ(numberOf("Select lngAMAssetLastAlterID From [User]AMAsset"), 10);
    EXPECT_EQ(countOf("[User]AMAssetAlter"), 1);

    EXPECT_FALSE(VersionedRecord::Execute(
        {kCard.DeleteHeads("no such column = 1"), kCard.DeleteVersions("lngAMAssetID = 1")}));
    EXPECT_EQ(countOf("[User]AMAssetAlter"), 1) << "statements after a failure do not run";
    EXPECT_EQ(kCard.NewVersionID(), 1);
    EXPECT_EQ(kCard.NewHeadID(), 1);
}

}  // namespace
}  // namespace tk::am::test
