// The head-and-versions bookkeeping shared by the versioned records, and where each
// keeps its chain.
#pragma once
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "frame/PublicDef.hpp"

namespace tk::am {

// Where a record kind keeps its head and versions: one head row per owner
// pointing at its first and latest version, one row per version pointing at
// the version it follows (0 for the first).
struct VersionChain {
    std::string_view headTable;        // "AMAsset"
    std::string_view versionTable;     // "AMAssetAlter"
    std::string_view versionKey;       // "lngAMAssetAlterID"
    std::string_view latestPointer;    // on the head: "lngAMAssetLastAlterID"
    std::string_view previousPointer;  // on a version: "lngAMAssetRecentAlterID"
    // How a version row names its head, as the step-back statement spells it:
    // "AMAssetAlter.lngAMAssetID = AMAsset.lngAMAssetID".
    std::string_view headLink;
    // The same link as the statement's Exists test spells it, where that differs.
    std::string_view existsHeadLink = {};
    // The predecessor look-up names the head link before the version id.
    bool headLinkFirst = false;
};

// The bookkeeping every versioned record shares (asset card, funding
// sources, other card, labels): what the signs of the ids ask for, new ids,
// the probe for a head, the statements that move the head's latest pointer
// and delete versions, and running a save's statements. The record objects
// keep their own column lists and decide which of these they use.
class VersionedRecord {
  public:
    // 0 asks for a new row, a positive id names a row, a negative id asks for
    // its deletion (the absolute value being the id).
    enum class Action { Nothing, AddHead, AddVersion, ChangeVersion, Delete };
    static Action ActionFor(int32_t headID, int32_t versionID);

    // Which version LoadID reads: the first for atAdd, the latest for atDec and
    // atOther, the one whose id is given for any other Mode.
    enum class Pick { FirstVersion, LatestVersion, GivenVersion };
    static Pick VersionToLoad(AlterTypeEnum mode);

    // What a deletion removes: everything for atAdd, the newest version for
    // atDec and atOther, nothing for any other Mode.
    enum class Removal { WholeRecord, NewestVersion, None };
    static Removal RemovalFor(AlterTypeEnum mode);

    explicit VersionedRecord(const VersionChain& chain) : chain_(chain) {}

    // Ids from the sequences of the two tables.
    int32_t NewHeadID() const;
    int32_t NewVersionID() const;
    // A new head's first version is also its latest and follows none.
    static void StartChain(int32_t versionID, int32_t& version, int32_t& first, int32_t& latest,
                           int32_t& previous);

    // True when the probe text ("Select 1 From [User]… Where …") finds a head row.
    static bool HeadExists(const std::string& probe);

    // " Update [User]<head> Set <latest> = <id> Where <headWhere>"
    std::string PointLatestAt(int32_t versionID, const std::string& headWhere) const;
    // Moves the head of version `versionID` back to that version's predecessor.
    std::string StepLatestBack(int32_t versionID) const;
    // " Delete From [User]<versions> Where <versionKey> = <id>"
    std::string DeleteVersion(int32_t versionID) const;
    std::string DeleteVersions(const std::string& where) const;
    std::string DeleteHeads(const std::string& where) const;

    // The deletion Mode asks for (RemovalFor): every version and the head
    // matching `headWhere`, or the newest version `versionID` with the head
    // stepping back; false when Mode asks for none or a statement fails.
    bool Remove(AlterTypeEnum mode, const std::string& headWhere, int32_t versionID) const;

    // Runs the statements in order through ExecuteSql; false at the first that
    // fails, the ones before it staying done.
    static bool Execute(std::initializer_list<std::string> statements);

  private:
    VersionChain chain_;
};

}  // namespace tk::am
