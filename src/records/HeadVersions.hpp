#pragma once
#include <cstdint>
#include <string>

#include "connect/Dispatchable.hpp"
#include "frame/PublicDef.hpp"

namespace tk::am {

// The head-and-versions model that the card-like records repeat: one head row
// per record holding its first and latest version, and a chain of version rows
// each naming the version before it. What one record's tables are called is
// given at construction; the rules and statements below hold for each of them.
class HeadVersions {
public:
    struct Tables {
        const char* head;       // one row per record
        const char* version;    // one row per version
        const char* key;        // the record's id, in both tables
        const char* versionID;  // the version table's key
        const char* latest;     // head column: the latest version
        const char* previous;   // version column: the version it follows
    };

    // What a save asks for, read from the signs of a record's id and its
    // version's id: a negative id deletes, a zero version adds one, and a zero
    // record id with it starts a new record.
    enum class Request { Delete, NewRecord, NewVersion, ChangeVersion, Refuse };
    static Request requestOf(int32_t recordID, int32_t versionID);

    // Which version a load reads by Mode: the first for atAdd, the latest for
    // atDec and atOther, otherwise the one the given id names.
    enum class Pick { First, Latest, Given };
    static Pick versionToLoad(AlterTypeEnum mode);

    // What a deletion removes by Mode: the whole record for atAdd, the latest
    // version for atDec and atOther, otherwise nothing.
    enum class Removal { WholeRecord, LatestVersion, Nothing };
    static Removal removalFor(AlterTypeEnum mode);

    // A record's first version is also its head's first and latest, and follows none.
    static void startChain(int32_t firstVersionID, int32_t& versionID, int32_t& initID,
                           int32_t& lastID, int32_t& recentID);

    explicit HeadVersions(Tables tables) : t_(tables) {}

    int32_t newVersionID() const;
    bool headExists(int32_t key) const;
    std::string moveLatest(int32_t key, int32_t versionID) const;
    // Points the head back at the version the deleted one follows: whichever
    // version is named, so only the latest is deleted this way.
    std::string stepLatestBack(int32_t versionID) const;
    std::string deleteVersions(int32_t key) const;
    std::string deleteHead(int32_t key) const;
    std::string deleteVersion(int32_t versionID) const;

private:
    Tables t_;
};

// `Mode` of a versioned record as a late-bound property.
template <typename T>
void describeMode(DispatchTable<T>& t) {
    t.method("Mode", [](T& self, Dispatchable::Args&) {
        return Variant(static_cast<int32_t>(self.Mode));
    });
    t.setter("Mode", [](T& self, Dispatchable::Args&, const Variant& v) {
        self.Mode = static_cast<AlterTypeEnum>(v.toInt32());
    });
}

}  // namespace tk::am
