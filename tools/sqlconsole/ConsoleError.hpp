// The console's own errors, reported as "SP2-nnnn: text".
#pragma once
#include <stdexcept>
#include <string>

namespace tk::console {

// A failure the console finds before or instead of the server: an undeclared
// bind variable, a bad command option. Its text starts with its "SP2-nnnn" code.
class ConsoleError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

}  // namespace tk::console
