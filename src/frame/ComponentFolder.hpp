// Where the component lives: its logs and data are under its folder.
#pragma once
#include <filesystem>
#include <string>

namespace tk::am {

// The component's folder (logs and data live under it) and its file name.
void SetComponentFolder(const std::filesystem::path& folder);
std::filesystem::path ComponentFolder();
// The folder the library file itself lies in, whatever folder the host named.
std::filesystem::path LibraryFolder();
std::string ComponentName();

}  // namespace tk::am
