// The SET options this console acts on.
#include "SetCommand.hpp"

#include "CommandText.hpp"
#include "host/Dispatchable.hpp"

namespace tk::console {

void SetCommand::apply(const std::vector<std::string>& words) {
    for (size_t i = 0; i < words.size();) i = option(words, i);
}

size_t SetCommand::option(const std::vector<std::string>& words, size_t i) {
    const std::string& name = words[i];
    std::string value = i + 1 < words.size() ? lowerAscii(words[i + 1]) : "";
    if (abbreviates(name, "serveroutput", 9)) return serverOutput(words, i + 1);
    if (abbreviates(name, "heading", 3)) output_.heading = value == "on";
    if (abbreviates(name, "feedback", 4)) {
        if (value == "on" || value == "off")
            output_.feedback = value == "on" ? 1 : 0;
        else if (isNumber(value))
            output_.feedback = std::stoi(value.substr(0, 9));
    }
    if (abbreviates(name, "define", 3)) define(words.size() > i + 1 ? words[i + 1] : "");
    if (abbreviates(name, "scan", 4)) variables_.enabled = value == "on";
    if (abbreviates(name, "verify", 3)) variables_.verify = value == "on";
    if (abbreviates(name, "concat", 3))
        variables_.concat = value == "on" ? '.' : value == "off" ? '\0' : value[0];
    return i + 2;
}

size_t SetCommand::serverOutput(const std::vector<std::string>& words, size_t i) {
    if (i < words.size()) output_.serverOutput = lowerAscii(words[i++]) == "on";
    // The buffer has no limit here: SIZE and FORMAT are taken and have no effect.
    while (i + 1 < words.size() &&
           (abbreviates(words[i], "size", 3) || abbreviates(words[i], "format", 3)))
        i += 2;
    return i;
}

void SetCommand::define(const std::string& value) {
    std::string v = lowerAscii(value);
    variables_.enabled = v != "off";
    if (v == "on") variables_.prefix = '&';
    if (v.size() == 1) variables_.prefix = value[0];
}

}  // namespace tk::console
