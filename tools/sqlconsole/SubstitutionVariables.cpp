// Substitution variables and the replacement of &name in script text.
#include "SubstitutionVariables.hpp"

#include "ConsoleError.hpp"
#include "Feedback.hpp"

namespace tk::console {
namespace {

bool isNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '$' || c == '#';
}

}  // namespace

void SubstitutionVariables::define(const std::string& name, const std::string& value) {
    values_[upperAscii(name)] = value;
}

bool SubstitutionVariables::undefine(const std::string& name) {
    return values_.erase(upperAscii(name)) > 0;
}

std::optional<std::string> SubstitutionVariables::value(const std::string& name) const {
    auto it = values_.find(upperAscii(name));
    if (it == values_.end()) return std::nullopt;
    return it->second;
}

std::string SubstitutionVariables::substitute(const std::string& text, const Asker& ask) {
    if (!enabled) return text;
    std::string out;
    for (size_t i = 0; i < text.size();) {
        size_t name = i + 1;
        bool keep = text[i] == prefix && name < text.size() && text[name] == prefix;
        if (keep) ++name;
        size_t end = name;
        while (end < text.size() && isNameChar(text[end])) ++end;
        if (text[i] != prefix || end == name) {
            out += text[i++];
            continue;
        }
        out += valueFor(text.substr(name, end - name), keep, ask);
        i = end < text.size() && text[end] == concat ? end + 1 : end;
    }
    return out;
}

// An undefined &name is asked for each time; an undefined &&name once, then kept.
std::string SubstitutionVariables::valueFor(const std::string& name, bool keep, const Asker& ask) {
    if (auto known = value(name)) return *known;
    std::optional<std::string> given = ask ? ask(name) : std::nullopt;
    if (!given)
        throw ConsoleError("SP2-0546: substitution variable \"" + name +
                           "\" is not defined and no value can be asked for");
    if (keep) define(name, *given);
    return *given;
}

}  // namespace tk::console
