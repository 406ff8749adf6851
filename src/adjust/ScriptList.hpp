// The adjustment scripts of a run by file name, in the order they run.
#pragma once
#include <string>
#include <utility>
#include <vector>

namespace tk::am {

// File name → script text, in the order the scripts were added, which is the
// order they run in.
class ScriptList {
  public:
    using Entry = std::pair<std::string, std::string>;

    void clear() { entries_.clear(); }
    // A key already present keeps its first script.
    void add(const std::string& key, const std::string& text) {
        if (!find(key)) entries_.emplace_back(key, text);
    }
    const std::string* find(const std::string& key) const {
        for (const auto& [name, text] : entries_)
            if (name == key) return &text;
        return nullptr;
    }
    const std::vector<Entry>& entries() const { return entries_; }

  private:
    std::vector<Entry> entries_;
};

}  // namespace tk::am
