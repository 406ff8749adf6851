// Lines from a stream (carriage returns dropped) or from readline with a prompt and history.
#include "LineSource.hpp"

#include <readline/history.h>
#include <readline/readline.h>

#include <cstdlib>

namespace tk::console {

std::optional<std::string> StreamLines::next(const std::string&) {
    std::string line;
    if (!std::getline(in_, line)) return std::nullopt;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

std::optional<std::string> TerminalLines::next(const std::string& prompt) {
    char* raw = readline(prompt.c_str());
    if (!raw) return std::nullopt;
    std::string line(raw);
    std::free(raw);
    if (line.find_first_not_of(" \t") != std::string::npos) add_history(line.c_str());
    return line;
}

}  // namespace tk::console
