// Class names resolved to new objects: the component's own classes, any other name
// handed on to the connection component.
#include "frame/ClassRegistry.hpp"

#include "connect/ConnectFactory.hpp"

namespace tk::am {

ClassRegistry& ClassRegistry::instance() {
    static ClassRegistry registry;
    return registry;
}

void ClassRegistry::add(const std::string& className, Factory factory) {
    factories_[lowerAscii("TkAMAssetInt." + className)] = std::move(factory);
}

std::shared_ptr<Dispatchable> ClassRegistry::create(std::string_view progid) const {
    auto it = factories_.find(lowerAscii(progid));
    if (it != factories_.end()) return it->second();
    return connect::createConnectObject(progid);
}

}  // namespace tk::am
