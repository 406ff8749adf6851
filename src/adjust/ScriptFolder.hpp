// A private temporary directory for one run's adjustment script files.
#pragma once
#include <filesystem>

namespace tk::am {

// A directory of its own for one run's script files, so that runs of other
// processes never meet them: made under the system's temporary directory
// (the component's folder when there is none), readable by its owner only,
// and removed with everything in it when the run ends unless kept.
class ScriptFolder {
  public:
    explicit ScriptFolder(bool keep = false);
    ~ScriptFolder();
    ScriptFolder(const ScriptFolder&) = delete;
    ScriptFolder& operator=(const ScriptFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
    bool keep_;
};

}  // namespace tk::am
