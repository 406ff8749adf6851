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
};

struct AccountSetInfo {
    std::string name;  // as Oracle shows user names: upper case
    int tables = 0;
};

// Creates, drops and lists account sets (账套): each is a schema and a login role
// of the same name holding the tables, sequences and stored routines. Needs a
// connection string with the right to create roles.
class AccountSetAdmin {
  public:
    explicit AccountSetAdmin(const std::string& adminServer,
                             std::filesystem::path dbDir = DatabaseFolder());
    ~AccountSetAdmin();

    void create(const std::string& name, const AccountSetOptions& options);
    void drop(const std::string& name);
    bool exists(const std::string& name);
    std::vector<AccountSetInfo> list();

    // The schema/role name an account-set name stands for (names are case-insensitive).
    static std::string schemaName(const std::string& name);

  private:
    void runFolder(const std::filesystem::path& folder, const std::string& yearsArray);
    // "{YEARS}" in the script stands for `yearsArray`, "{LIKE}" for `likeSchema`.
    void runFile(const std::filesystem::path& file, const std::string& yearsArray,
                 const std::string& likeSchema = "");

    std::unique_ptr<connect::Session> session_;
    std::filesystem::path dbDir_;
};

}  // namespace tk::am
