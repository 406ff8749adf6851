// The values the objects of one thread share: schema names, upgrade versions and the
// host's connection.
#pragma once
#include <memory>
#include <string>

#include "connect/Connection.hpp"
#include "host/Dispatchable.hpp"

namespace tk::am {

// The values every object of a thread shares: the schema names, the version
// texts of an upgrade and the host's connection. Another thread has its own.
struct Context {
    std::string User, OldUser, NewUser, BaseUser, OldVer, NewVer;
    std::shared_ptr<connect::Connection> ConnBase;
};

Context& context();
// The thread's connection; an error when the host has not handed one in.
connect::Connection& connection();

// Which context value(s) a class's setter changes.
enum class ContextSetter {
    User,
    UserAndNewUser,
    NewUserAndUser,
    OldUser,
    BaseUser,
    OldVer,
    NewVer,
    ConnBase
};

void setContext(ContextSetter setter, const Variant& value);

// Adds write-only context setters to a class's late-bound members.
template <typename T>
void addContextSetters(DispatchTable<T>& t, std::initializer_list<ContextSetter> setters) {
    static constexpr const char* kNames[] = {"User",     "User",   "NewUser", "OldUser",
                                             "BaseUser", "OldVer", "NewVer",  "ConnBase"};
    for (ContextSetter s : setters)
        t.setter(kNames[static_cast<int>(s)],
                 [s](T&, Dispatchable::Args&, const Variant& v) { setContext(s, v); });
}

}  // namespace tk::am
