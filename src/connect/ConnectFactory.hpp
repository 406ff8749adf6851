// Factory for the connection component's public classes, created by their program names.
#pragma once
#include <memory>
#include <string_view>

#include "host/Dispatchable.hpp"

namespace tk::connect {

// Creates the connection component's public classes by name
// ("TkConnectBase.Connection", "TkConnectBase.Command"); null for any other.
std::shared_ptr<Dispatchable> createConnectObject(std::string_view progid);

}  // namespace tk::connect
