// Makes the run's script directory with mkdtemp, for its owner only, and removes it unless kept.
#include "adjust/ScriptFolder.hpp"

#include <stdlib.h>

#include <string>

#include "adjust/FileSystem.hpp"
#include "frame/ComponentFolder.hpp"
#include "host/RunTimeError.hpp"

namespace tk::am {

ScriptFolder::ScriptFolder(bool keep) : keep_(keep) {
    std::string base = GetTempDirectory();
    if (!PathExists(base)) base = ComponentFolder().string();
    std::string pattern = (std::filesystem::path(base) / "tkam-adjust-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw RunTimeError(errors::kDatabase, "无法在 " + base + " 下建立脚本临时目录");
    path_ = pattern;
}

ScriptFolder::~ScriptFolder() {
    std::error_code ec;
    if (!keep_) std::filesystem::remove_all(path_, ec);
}

}  // namespace tk::am
