// The error for input about a new asset that names nothing known or breaks a rule.
#pragma once
#include <stdexcept>
#include <string>

namespace tk::ledger {

// Input that names nothing known or breaks a rule of a new asset, with the
// field it is about ("category", "fund", ...), so that a file's row can name its column.
class AssetInputError : public std::runtime_error {
  public:
    AssetInputError(std::string field, const std::string& message)
        : std::runtime_error(message), field_(std::move(field)) {}
    const std::string& field() const { return field_; }

  private:
    std::string field_;
};

}  // namespace tk::ledger
