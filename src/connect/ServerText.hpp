// A connection string as it may be shown or passed on: without its password.
#pragma once
#include <string>

namespace tk::connect {

// ServerName is a libpq connection string or URI and may carry a password;
// logs, command lines and messages get it without one.
class ServerText {
  public:
    // The same connection string without "password=…" (or the URI's password).
    static std::string withoutPassword(const std::string& server);
    // The password the connection string carries, "" when none.
    static std::string passwordOf(const std::string& server);
};

}  // namespace tk::connect
