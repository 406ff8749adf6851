#include "records/HeadVersions.hpp"

#include "frame/Utility.hpp"
#include "records/RecordSql.hpp"

namespace tk::am {

HeadVersions::Request HeadVersions::requestOf(int32_t recordID, int32_t versionID) {
    if (recordID < 0 || versionID < 0) return Request::Delete;
    if (recordID == 0) return versionID == 0 ? Request::NewRecord : Request::Refuse;
    return versionID == 0 ? Request::NewVersion : Request::ChangeVersion;
}

HeadVersions::Pick HeadVersions::versionToLoad(AlterTypeEnum mode) {
    if (mode == atAdd) return Pick::First;
    if (mode == atDec || mode == atOther) return Pick::Latest;
    return Pick::Given;
}

HeadVersions::Removal HeadVersions::removalFor(AlterTypeEnum mode) {
    if (mode == atAdd) return Removal::WholeRecord;
    if (mode == atDec || mode == atOther) return Removal::LatestVersion;
    return Removal::Nothing;
}

void HeadVersions::startChain(int32_t firstVersionID, int32_t& versionID, int32_t& initID,
                              int32_t& lastID, int32_t& recentID) {
    versionID = initID = lastID = firstVersionID;
    recentID = 0;
}

int32_t HeadVersions::newVersionID() const { return GetNewID(t_.version); }

bool HeadVersions::headExists(int32_t key) const {
    return HasRow("Select 1 From [User]" + std::string(t_.head) + " Where " + t_.key + " = " +
                  std::to_string(key));
}

std::string HeadVersions::moveLatest(int32_t key, int32_t versionID) const {
    return " Update [User]" + std::string(t_.head) + " Set " + t_.latest + " = " +
           std::to_string(versionID) + " Where " + t_.key + " = " + std::to_string(key);
}

std::string HeadVersions::stepLatestBack(int32_t versionID) const {
    const std::string head = t_.head, version = t_.version, id = std::to_string(versionID);
    const std::string sameVersion = " Where " + version + "." + t_.versionID + " = " + id +
                                    " And " + version + "." + t_.key + " = " + head + "." + t_.key;
    return " Update [User]" + head + " Set " + t_.latest + " = (Select " + version + "." +
           t_.previous + " From [User]" + version + sameVersion +
           ") Where Exists (Select 1 From [User]" + version + sameVersion + ")";
}

std::string HeadVersions::deleteVersions(int32_t key) const {
    return " Delete From [User]" + std::string(t_.version) + " Where " + t_.key + " = " +
           std::to_string(key);
}

std::string HeadVersions::deleteHead(int32_t key) const {
    return " Delete From [User]" + std::string(t_.head) + " Where " + t_.key + " = " +
           std::to_string(key);
}

std::string HeadVersions::deleteVersion(int32_t versionID) const {
    return " Delete From [User]" + std::string(t_.version) + " Where " + t_.versionID + " = " +
           std::to_string(versionID);
}

}  // namespace tk::am
