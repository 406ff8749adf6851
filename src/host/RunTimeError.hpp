// The host language's run-time error (number and description) and the error numbers it uses.
#pragma once
#include <cstdint>
#include <stdexcept>
#include <string>

namespace tk {

// The host language's run-time error: a number and a description. Operations that
// trap their errors catch it and report by result; the others let it reach the caller.
class RunTimeError : public std::runtime_error {
  public:
    RunTimeError(int32_t number, std::string description)
        : std::runtime_error(description), number_(number), description_(std::move(description)) {}

    int32_t number() const noexcept { return number_; }
    const std::string& description() const noexcept { return description_; }

  private:
    int32_t number_;
    std::string description_;
};

// Error numbers the host language uses for its own conversions.
namespace errors {
constexpr int32_t kOverflow = 6;
constexpr int32_t kTypeMismatch = 13;
constexpr int32_t kInvalidUseOfNull = 94;
constexpr int32_t kObjectRequired = 424;
constexpr int32_t kNoSuchMember = 438;
constexpr int32_t kInvalidArgument = 5;
// A failure reported by the database provider (E_FAIL).
constexpr int32_t kDatabase = -2147467259;
}  // namespace errors

}  // namespace tk
