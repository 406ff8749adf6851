// Parses the console's "user/password@server" logon argument.
#pragma once
#include <string>

namespace tk::console {

// "user/password@server" as Oracle's console takes it. Without "/password"
// the password is the first line of standard input (asked for without echo
// at a terminal), so that it need not show in the process list; "user/@server"
// logs in without one.
struct Logon {
    std::string user, password, server;
    static Logon parse(const std::string& text);
};

}  // namespace tk::console
