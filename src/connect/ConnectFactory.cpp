// Maps the names TkConnectBase.Connection and TkConnectBase.Command, in any case, to new objects.
#include "connect/ConnectFactory.hpp"

#include "connect/Command.hpp"
#include "connect/Connection.hpp"

namespace tk::connect {

std::shared_ptr<Dispatchable> createConnectObject(std::string_view progid) {
    std::string name = lowerAscii(progid);
    if (name == "tkconnectbase.connection") return std::make_shared<Connection>();
    if (name == "tkconnectbase.command") return std::make_shared<Command>();
    return nullptr;
}

}  // namespace tk::connect
