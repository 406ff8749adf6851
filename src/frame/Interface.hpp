// The Interface class, through which a host hands the thread its schema and connection.
#pragma once
#include "frame/Context.hpp"
#include "host/Dispatchable.hpp"

namespace tk::am {

// Carries only the setters of the thread's schema and connection; a host uses it
// before it uses any class that has no setters of its own.
class Interface : public DispatchableBase<Interface> {
  public:
    std::string_view className() const override { return "Interface"; }
    static void describe(DispatchTable<Interface>& t);

    void setUser(const std::string& user) { setContext(ContextSetter::User, user); }
    void setConnBase(std::shared_ptr<connect::Connection> conn) {
        context().ConnBase = std::move(conn);
    }
};

}  // namespace tk::am
