// Where the component lives: the folder of its logs and data, and its name.
#include "frame/ComponentFolder.hpp"

#include <dlfcn.h>

#include <mutex>

namespace tk::am {
namespace fs = std::filesystem;
namespace {

std::mutex gFolderMutex;
fs::path gComponentFolder;

fs::path libraryPath() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&libraryPath), &info) && info.dli_fname)
        return fs::absolute(info.dli_fname);
    return fs::current_path() / "TkAMAssetInt";
}

}  // namespace

void SetComponentFolder(const fs::path& folder) {
    std::lock_guard lock(gFolderMutex);
    gComponentFolder = folder;
}

fs::path ComponentFolder() {
    std::lock_guard lock(gFolderMutex);
    return gComponentFolder.empty() ? LibraryFolder() : gComponentFolder;
}

fs::path LibraryFolder() { return libraryPath().parent_path(); }

std::string ComponentName() { return libraryPath().stem().string(); }

}  // namespace tk::am
