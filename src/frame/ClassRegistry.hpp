// The registry through which a host creates the component's classes by name, and the
// macro that registers a class when the library loads.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "host/Dispatchable.hpp"

namespace tk::am {

// Creates the component's public classes by name, "TkAMAssetInt.<class>", and
// the connection component's classes, "TkConnectBase.<class>".
class ClassRegistry {
  public:
    using Factory = std::function<std::shared_ptr<Dispatchable>()>;
    static ClassRegistry& instance();
    void add(const std::string& className, Factory factory);
    // Null for an unknown or non-creatable class.
    std::shared_ptr<Dispatchable> create(std::string_view progid) const;

  private:
    std::unordered_map<std::string, Factory> factories_;
};

// Registers a creatable class at library load: TKAM_REGISTER_CLASS(clsAMAssetCard).
#define TKAM_REGISTER_CLASS(cls)                                                               \
    namespace {                                                                                \
    const bool registered_##cls = [] {                                                         \
        ::tk::am::ClassRegistry::instance().add(#cls, [] { return std::make_shared<cls>(); }); \
        return true;                                                                           \
    }();                                                                                       \
    }

}  // namespace tk::am
