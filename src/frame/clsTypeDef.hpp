// The clsTypeDef class, which only carries the shared enumerations to the host.
#pragma once
#include "host/Dispatchable.hpp"

namespace tk::am {

// Public but not creatable, and without members: it only carries the shared
// enumerations to the host.
class clsTypeDef : public DispatchableBase<clsTypeDef> {
  public:
    std::string_view className() const override { return "clsTypeDef"; }
    static void describe(DispatchTable<clsTypeDef>&) {}
};

}  // namespace tk::am
