// Logon parsing, with the password read from standard input (without echo at a terminal).
#include "Logon.hpp"

#include <termios.h>
#include <unistd.h>

#include <iostream>
#include <stdexcept>

namespace tk::console {
namespace {

std::string readPassword() {
    bool terminal = isatty(STDIN_FILENO);
    termios saved{};
    if (terminal) {
        std::cerr << "Enter password: " << std::flush;
        tcgetattr(STDIN_FILENO, &saved);
        termios silent = saved;
        silent.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        tcsetattr(STDIN_FILENO, TCSANOW, &silent);
    }
    std::string password;
    std::getline(std::cin, password);
    if (terminal) {
        tcsetattr(STDIN_FILENO, TCSANOW, &saved);
        std::cerr << "\n";
    }
    if (!password.empty() && password.back() == '\r') password.pop_back();
    return password;
}

}  // namespace

Logon Logon::parse(const std::string& text) {
    size_t at = text.find('@');
    if (at == std::string::npos || at == 0)
        throw std::invalid_argument("登录串应为 用户/口令@服务");
    Logon logon;
    std::string credentials = text.substr(0, at);
    logon.server = text.substr(at + 1);
    size_t slash = credentials.find('/');
    logon.user = credentials.substr(0, slash);
    logon.password = slash == std::string::npos ? readPassword() : credentials.substr(slash + 1);
    return logon;
}

}  // namespace tk::console
