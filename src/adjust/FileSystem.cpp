// The file-system helpers over std::filesystem, a failure answered with an empty text or false.
#include "adjust/FileSystem.hpp"

#include <filesystem>

namespace tk::am {

std::string GetTempDirectory() {
    std::error_code ec;
    std::filesystem::path dir = std::filesystem::temp_directory_path(ec);
    return ec ? std::string() : dir.string();
}

std::string GetFirstFixedDrive() { return "/"; }

bool PathExists(const std::string& path) {
    std::error_code ec;
    return !path.empty() &&
           std::filesystem::status(path, ec).type() != std::filesystem::file_type::not_found && !ec;
}

}  // namespace tk::am
