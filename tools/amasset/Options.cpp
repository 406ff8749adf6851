// The arguments split into positional words and "--name value", "--name=value" or "--flag".
#include "Options.hpp"

#include <sstream>

namespace tk::tools {

Options::Options(int argc, char** argv, int first) {
    for (int i = first; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg.rfind("--", 0) != 0) {
            words_.push_back(arg);
            continue;
        }
        std::string name = arg.substr(2);
        auto eq = name.find('=');
        if (eq != std::string::npos) {
            values_[name.substr(0, eq)].push_back(name.substr(eq + 1));
        } else if (i + 1 < argc && std::string(argv[i + 1]).rfind("--", 0) != 0) {
            values_[name].push_back(argv[++i]);
        } else {
            values_[name].push_back("");
        }
    }
}

std::optional<std::string> Options::value(const std::string& name) const {
    auto it = values_.find(name);
    if (it == values_.end()) return std::nullopt;
    return it->second.back();
}

std::string Options::value(const std::string& name, const std::string& fallback) const {
    return value(name).value_or(fallback);
}

std::vector<std::string> Options::values(const std::string& name) const {
    std::vector<std::string> all;
    auto it = values_.find(name);
    if (it == values_.end()) return all;
    for (const std::string& given : it->second) {
        std::stringstream in(given);
        for (std::string item; std::getline(in, item, ',');)
            if (!item.empty()) all.push_back(item);
    }
    return all;
}

}  // namespace tk::tools
