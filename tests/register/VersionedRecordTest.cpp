#include <gtest/gtest.h>

#include "RegisterTest.hpp"
#include "register/VersionedRecord.hpp"

namespace tk::am::test {
namespace {

const VersionedRecord kCard({.headTable = "AMAsset",
                             .versionTable = "AMAssetAlter",
                             .versionKey = "lngAMAssetAlterID",
                             .latestPointer = "lngAMAssetLastAlterID",
                             .previousPointer = "lngAMAssetRecentAlterID",
                             .headLink = "AMAssetAlter.lngAMAssetID = AMAsset.lngAMAssetID"});

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
