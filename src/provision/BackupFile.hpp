// The account-set backup file: pg_dump's archive, the manifest after it, a closing line.
#pragma once
#include <cstdint>
#include <filesystem>
#include <string>

#include "provision/BackupManifest.hpp"

namespace tk::am {

// A backup file is pg_dump's custom archive as pg_dump wrote it (so that
// `pg_restore -l FILE` lists it), the manifest after it, and last a line of
// fixed length that finds the manifest and carries its digest. A file cut
// short loses that line; a changed byte fails the manifest's digest or the
// archive's, which the manifest carries.
class BackupFile {
  public:
    // Appends the manifest, given the archive's length and digest, and the
    // closing line to the archive at `path`, and flushes the file to disk.
    static void seal(const std::filesystem::path& path, BackupManifest& manifest);
    // The manifest of the backup at `path` once the whole file has been found
    // intact; a file cut short, changed, or of another kind is refused with
    // the reason.
    static BackupManifest open(const std::filesystem::path& path);

    // The 64-bit FNV-1a digest of a file's first `bytes` bytes, in hex: any
    // one changed byte changes it.
    static std::string digest(const std::filesystem::path& path, uint64_t bytes);
};

}  // namespace tk::am
