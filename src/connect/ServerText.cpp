// Connection strings read with libpq's own parser, written again as keyword=value pairs.
#include "connect/ServerText.hpp"

#include <libpq-fe.h>

#include <memory>

namespace tk::connect {
namespace {

using Options = std::unique_ptr<PQconninfoOption, decltype(&PQconninfoFree)>;

Options parsed(const std::string& server) {
    return Options(PQconninfoParse(server.c_str(), nullptr), &PQconninfoFree);
}

std::string quotedValue(const std::string& value) {
    std::string out = "'";
    for (char c : value) {
        if (c == '\'' || c == '\\') out += '\\';
        out += c;
    }
    return out + "'";
}

}  // namespace

std::string ServerText::withoutPassword(const std::string& server) {
    Options options = parsed(server);
    // Not a connection string libpq reads: nothing of it is shown.
    if (!options) return server.find("password") == std::string::npos ? server : "";
    std::string text;
    for (const PQconninfoOption* o = options.get(); o->keyword; ++o) {
        if (!o->val || std::string(o->keyword) == "password") continue;
        const std::string value = o->val;
        bool plain = !value.empty() && value.find_first_of(" '\\") == std::string::npos;
        text += (text.empty() ? "" : " ") + std::string(o->keyword) + "=" +
                (plain ? value : quotedValue(value));
    }
    return text;
}

std::string ServerText::passwordOf(const std::string& server) {
    Options options = parsed(server);
    if (!options) return "";
    for (const PQconninfoOption* o = options.get(); o->keyword; ++o)
        if (std::string(o->keyword) == "password" && o->val) return o->val;
    return "";
}

}  // namespace tk::connect
