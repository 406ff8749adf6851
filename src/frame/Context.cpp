// The thread's own context, and the setters that fill it from what the host assigns.
#include "frame/Context.hpp"

namespace tk::am {

Context& context() {
    thread_local Context values;
    return values;
}

connect::Connection& connection() {
    auto& conn = context().ConnBase;
    if (!conn) throw RunTimeError(91, "Object variable or With block variable not set");
    return *conn;
}

void setContext(ContextSetter setter, const Variant& value) {
    Context& c = context();
    switch (setter) {
        case ContextSetter::User:
            c.User = value.toText();
            break;
        case ContextSetter::UserAndNewUser:
        case ContextSetter::NewUserAndUser:
            c.User = c.NewUser = value.toText();
            break;
        case ContextSetter::OldUser:
            c.OldUser = value.toText();
            break;
        case ContextSetter::BaseUser:
            c.BaseUser = value.toText();
            break;
        case ContextSetter::OldVer:
            c.OldVer = value.toText();
            break;
        case ContextSetter::NewVer:
            c.NewVer = value.toText();
            break;
        case ContextSetter::ConnBase:
            c.ConnBase = std::dynamic_pointer_cast<connect::Connection>(value.toObject());
            if (value.toObject() && !c.ConnBase)
                throw RunTimeError(13,
                                   "Type mismatch: ConnBase 需要 TkConnectBase.Connection 对象");
            break;
    }
}

}  // namespace tk::am
