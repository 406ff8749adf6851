// The versioned records' common statements: the latest pointer moved or stepped back,
// versions and heads deleted.
#include "register/VersionedRecord.hpp"

#include "frame/DataAccess.hpp"

namespace tk::am {

VersionedRecord::Action VersionedRecord::ActionFor(int32_t headID, int32_t versionID) {
    if (headID < 0 || versionID < 0) return Action::Delete;
    if (headID == 0) return versionID == 0 ? Action::AddHead : Action::Nothing;
    return versionID == 0 ? Action::AddVersion : Action::ChangeVersion;
}

VersionedRecord::Pick VersionedRecord::VersionToLoad(AlterTypeEnum mode) {
    if (mode == atAdd) return Pick::FirstVersion;
    if (mode == atDec || mode == atOther) return Pick::LatestVersion;
    return Pick::GivenVersion;
}

VersionedRecord::Removal VersionedRecord::RemovalFor(AlterTypeEnum mode) {
    if (mode == atAdd) return Removal::WholeRecord;
    if (mode == atDec || mode == atOther) return Removal::NewestVersion;
    return Removal::None;
}

int32_t VersionedRecord::NewHeadID() const { return GetNewID(std::string(chain_.headTable), ""); }

int32_t VersionedRecord::NewVersionID() const {
    return GetNewID(std::string(chain_.versionTable), "");
}

void VersionedRecord::StartChain(int32_t versionID, int32_t& version, int32_t& first,
                                 int32_t& latest, int32_t& previous) {
    version = first = latest = versionID;
    previous = 0;
}

bool VersionedRecord::HeadExists(const std::string& probe) {
    RecordsetPtr rs = OpenRecordset(probe, 3, 1);
    bool exists = !IsRecordsetEmpty(rs);
    CloseRecordset(rs);
    return exists;
}

std::string VersionedRecord::PointLatestAt(int32_t versionID, const std::string& headWhere) const {
    return " Update [User]" + std::string(chain_.headTable) + " Set " +
           std::string(chain_.latestPointer) + " = " + std::to_string(versionID) + " Where " +
           headWhere;
}

std::string VersionedRecord::StepLatestBack(int32_t versionID) const {
    const std::string versions(chain_.versionTable);
    const std::string isVersion =
        versions + "." + std::string(chain_.versionKey) + " = " + std::to_string(versionID);
    const std::string link(chain_.headLink);
    const std::string existsLink(chain_.existsHeadLink.empty() ? chain_.headLink
                                                               : chain_.existsHeadLink);
    const std::string pick =
        chain_.headLinkFirst ? link + " And " + isVersion : isVersion + " And " + link;
    return " Update [User]" + std::string(chain_.headTable) + " Set " +
           std::string(chain_.latestPointer) + " = (Select " + versions + "." +
           std::string(chain_.previousPointer) + " From [User]" + versions + " Where " + pick +
           ") Where Exists (Select 1 From [User]" + versions + " Where " + isVersion + " And " +
           existsLink + ")";
}

std::string VersionedRecord::DeleteVersion(int32_t versionID) const {
    return DeleteVersions(std::string(chain_.versionKey) + " = " + std::to_string(versionID));
}

std::string VersionedRecord::DeleteVersions(const std::string& where) const {
    return " Delete From [User]" + std::string(chain_.versionTable) + " Where " + where;
}

std::string VersionedRecord::DeleteHeads(const std::string& where) const {
    return " Delete From [User]" + std::string(chain_.headTable) + " Where " + where;
}

bool VersionedRecord::Remove(AlterTypeEnum mode, const std::string& headWhere,
                             int32_t versionID) const {
    switch (RemovalFor(mode)) {
        case Removal::WholeRecord:
            return Execute({DeleteVersions(headWhere), DeleteHeads(headWhere)});
        case Removal::NewestVersion:
            return Execute({StepLatestBack(versionID), DeleteVersion(versionID)});
        case Removal::None:
            break;
    }
    return false;
}

bool VersionedRecord::Execute(std::initializer_list<std::string> statements) {
    std::string errorText;
    for (const std::string& sql : statements)
        if (!ExecuteSql(sql, errorText)) return false;
    return true;
}

}  // namespace tk::am
