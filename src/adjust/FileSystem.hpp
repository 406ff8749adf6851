// The few file-system questions the adjustment scripts ask: temporary directory, drive, existence.
#pragma once
#include <string>

namespace tk::am {

// The system's temporary directory, as the system gives it.
std::string GetTempDirectory();
// The root of the first fixed drive: on POSIX the one file tree's root, "/".
std::string GetFirstFixedDrive();
// True when the path's attributes can be read (a file or a directory).
bool PathExists(const std::string& path);

}  // namespace tk::am
