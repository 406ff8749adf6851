#include "Options.hpp"

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
            values_[name.substr(0, eq)] = name.substr(eq + 1);
        } else if (i + 1 < argc && std::string(argv[i + 1]).rfind("--", 0) != 0) {
            values_[name] = argv[++i];
        } else {
            values_[name] = "";
        }
    }
}

std::optional<std::string> Options::value(const std::string& name) const {
    auto it = values_.find(name);
    if (it == values_.end()) return std::nullopt;
    return it->second;
}

std::string Options::value(const std::string& name, const std::string& fallback) const {
    return value(name).value_or(fallback);
}

}  // namespace tk::tools
