// The amasset command line as words and options.
#pragma once
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace tk::tools {

// Command-line words: positional words and "--name value" / "--flag" options.
class Options {
  public:
    Options(int argc, char** argv, int first);
    const std::vector<std::string>& words() const { return words_; }
    std::string word(size_t i) const { return i < words_.size() ? words_[i] : std::string(); }
    bool flag(const std::string& name) const { return values_.count(name) > 0; }
    std::optional<std::string> value(const std::string& name) const;
    std::string value(const std::string& name, const std::string& fallback) const;
    // Every value of an option given more than once, in order; each may also
    // list several values separated by commas.
    std::vector<std::string> values(const std::string& name) const;

  private:
    std::vector<std::string> words_;
    std::map<std::string, std::vector<std::string>> values_;  // the last value counts
};

}  // namespace tk::tools
