// What an account-set backup says of itself: who made it, from what, and every table's sums.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace tk::am {

// A table's row count and content checksum, both as the server gives them.
struct TableSums {
    std::string table;
    int64_t rows = 0;
    std::string checksum;
};

// What a backup file says of itself: the release that made it, the account
// set's schema, the archive's length and digest, and every table's row count
// and checksum, taken in the snapshot the archive was dumped in.
class BackupManifest {
  public:
    std::string release;  // the amasset release that made the backup
    std::string schema;   // the account set's schema and login name
    std::string server;   // the version of the server it came from
    std::string taken;    // when, in UTC
    uint64_t archiveBytes = 0;
    std::string archiveDigest;
    std::vector<TableSums> tables;

    std::string text() const;
    // Refuses, with the reason, a text that is no manifest of this format or
    // one made by a later release than this.
    static BackupManifest parse(const std::string& text);
    int64_t rows() const;
    bool hasTable(const std::string& table) const;

    // The query of a table's row count and checksum, `table` a quoted name.
    // The checksum adds up a hash of each row's text, so that it does not
    // depend on the order the rows are read in, and counts a repeated row.
    static std::string sumsQuery(const std::string& table);
    // Settings under which a row reads as the same text on any server.
    static const char* const kRowTextSettings;
    // This release, which a backup records and a restore compares with.
    static const char* const kRelease;
};

}  // namespace tk::am
