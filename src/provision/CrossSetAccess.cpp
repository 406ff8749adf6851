// The grants the administrative login gives on construction and revokes on destruction.
#include "provision/CrossSetAccess.hpp"

#include "connect/Session.hpp"
#include "frame/Conversion.hpp"
#include "provision/AccountSetAdmin.hpp"

namespace tk::am {
namespace {

// "{F}" is the set read, "{T}" the set reading it; both checked names.
std::string forSets(const std::string& script, const std::string& from, const std::string& to) {
    return ReplaceAll(ReplaceAll(script, "{F}", from), "{T}", to);
}

constexpr const char* kRead =
    "GRANT USAGE ON SCHEMA {F} TO {T}; GRANT SELECT ON ALL TABLES IN SCHEMA {F} TO {T};";
// An older module's schema has no such table; the upgrade then takes another route.
constexpr const char* kOtherCards =
    "DO $$ BEGIN IF to_regclass('{F}.amassetother') IS NOT NULL THEN "
    "GRANT INSERT ON {F}.AMAssetOther TO {T}; END IF; END $$;";
constexpr const char* kRevoke =
    "REVOKE ALL ON ALL TABLES IN SCHEMA {F} FROM {T}; REVOKE ALL ON SCHEMA {F} FROM {T};";

}  // namespace

CrossSetAccess::CrossSetAccess(const std::string& adminServer, const std::string& from,
                               const std::string& to, Purpose purpose)
    : from_(AccountSetAdmin::schemaName(from)), to_(AccountSetAdmin::schemaName(to)) {
    if (from_ == to_) return;
    session_ = std::make_unique<connect::Session>(adminServer, "", "");
    session_->runScript(
        forSets(std::string(kRead) + (purpose == Purpose::Upgrade ? kOtherCards : ""), from_, to_));
}

CrossSetAccess::~CrossSetAccess() {
    if (!session_) return;
    try {
        session_->runScript(forSets(kRevoke, from_, to_));
    } catch (...) {
        // Left for `accountset secure`: a destructor has no one to tell.
    }
}

}  // namespace tk::am
