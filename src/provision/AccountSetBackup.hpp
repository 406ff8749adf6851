// Backing up one account set with pg_dump, checked by sums taken in the same snapshot.
#pragma once
#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>

#include "provision/BackupManifest.hpp"

namespace tk::am {

// Where a long backup or restore has got to: the table it is at, and how
// many of all its steps are done.
using BackupProgress = std::function<void(const std::string& table, size_t done, size_t total)>;

// Writes one account set to a backup file: its schema with the tables, data,
// sequences and routines, dumped by pg_dump in custom format. The rows are
// those of one snapshot, however the operators go on working: each table's
// row count and checksum are taken in a transaction whose snapshot pg_dump
// shares, and go into the manifest a restore checks its tables against.
class AccountSetBackup {
  public:
    explicit AccountSetBackup(std::string adminServer);

    // Writes the backup of the account set `name` to `file`, which it
    // replaces only once the backup is whole and on disk; returns the
    // manifest. A backup that fails leaves no file behind.
    BackupManifest write(const std::string& name, const std::filesystem::path& file,
                         const BackupProgress& progress = {});

  private:
    std::string adminServer_;
};

}  // namespace tk::am
