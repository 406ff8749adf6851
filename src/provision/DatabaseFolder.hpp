// Where the account-set schema and routine files are found.
#pragma once
#include <filesystem>

namespace tk::am {

// The folder of the account-set schema and routine files (db/): the installed
// copy at its place relative to the library when there is one, else the
// source tree the library was built from.
std::filesystem::path DatabaseFolder();

}  // namespace tk::am
