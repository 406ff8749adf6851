// The installed db/ folder beside the library when present, else the source tree's.
#include "provision/DatabaseFolder.hpp"

#include "frame/ComponentFolder.hpp"

namespace tk::am {

std::filesystem::path DatabaseFolder() {
    std::filesystem::path installed = LibraryFolder() / TKAM_DB_INSTALLED;
    if (std::filesystem::is_directory(installed)) return installed.lexically_normal();
    return TKAM_DB_DIR;
}

}  // namespace tk::am
