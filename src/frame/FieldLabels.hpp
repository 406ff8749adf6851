// The label an operator knows a record property by, for naming it in a refusal.
#pragma once
#include <string>
#include <string_view>

namespace tk::am {

// The name an operator knows a record property by (资产名称 for
// strAMAssetName), so that a refusal speaks of the field on the form, not of
// its column. A property without one keeps its own name.
class FieldLabels {
  public:
    static std::string of(std::string_view property);
};

}  // namespace tk::am
