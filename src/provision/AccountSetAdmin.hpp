// Administration of account sets, each a schema with its own login role, made from
// the db/ scripts.
#pragma once
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "provision/DatabaseFolder.hpp"

namespace tk::connect {
class Session;
}

namespace tk::am {

struct AccountSetOptions {
    std::vector<int> years;  // accounting years of the reference data
    bool demo = false;       // load the reference data of a working account set
    bool onlineDevice = false;
    bool selfService = false;
    bool replace = false;  // drop an existing account set of that name first
    std::string like;      // copy this account set's reference data (periods: `years`)
    // The login's password, kept as a SCRAM-SHA-256 secret; none on the embedded
    // server, which admits its own socket only.
    std::string password;
};

struct AccountSetInfo {
    std::string name;  // as Oracle shows user names: upper case
    int tables = 0;
};

// Creates, drops and lists account sets (账套): each is a schema and a login role
// of the same name; the role owns the schema with its tables, sequences and
// stored routines and reaches no other account set. Needs a connection string
// with the right to create roles.
class AccountSetAdmin {
  public:
    explicit AccountSetAdmin(const std::string& adminServer,
                             std::filesystem::path dbDir = DatabaseFolder());
    ~AccountSetAdmin();

    void create(const std::string& name, const AccountSetOptions& options);
    void drop(const std::string& name);
    bool exists(const std::string& name);
    // Whether the schema of that name is an account set's, not some other
    // schema of the database (orafce's, say), which no backup may touch.
    bool isAccountSet(const std::string& name);
    std::vector<AccountSetInfo> list();

    // Brings an account set made when every set ran as one shared owner role
    // under its own login: its objects become its role's, the shared role's
    // membership and any other set's grants on it go, and, in a set of this
    // component's layout, the tables, indexes and routines of this release
    // that it lacks are added. Safe to run again.
    void secure(const std::string& name);
    // The same for every account set; the shared role goes once unused. A set
    // that fails does not stop the others: the failures come back, one line
    // each, naming the set.
    [[nodiscard]] std::vector<std::string> secureAll();

    // What `secure` runs for a set, as one script for the caller's transaction:
    // the login as `create` makes it (with the secret of `password` when one
    // is given), every object of the schema its role's, and with `upToDate`
    // this release's tables and routines.
    std::string securingScript(const std::string& schema, bool upToDate,
                               const std::string& password = "");
    // Taken first by a transaction that secures a set.
    static const char* const kSecuringLock;

    // The schema/role name an account-set name stands for (names are case-insensitive).
    static std::string schemaName(const std::string& name);

  private:
    // What this release relies on that an older account set lacks: the later
    // tables and indexes, and every routine in its present form.
    std::string upToDateScript(const std::string& schema);
    bool hasRegister(const std::string& schema);
    std::string loginScript(const std::string& schema, const std::string& password);
    // The script as run by the account set's role, in its schema.
    static std::string asAccountSet(const std::string& schema, const std::string& script);
    void copyReferenceData(const std::string& schema, const std::string& like,
                           const std::string& years);
    void runFolder(const std::filesystem::path& folder, const std::string& yearsArray);
    // "{YEARS}" in the script stands for `yearsArray`, "{LIKE}" for `likeSchema`.
    void runFile(const std::filesystem::path& file, const std::string& yearsArray,
                 const std::string& likeSchema = "");

    std::unique_ptr<connect::Session> session_;
    std::filesystem::path dbDir_;
};

}  // namespace tk::am
