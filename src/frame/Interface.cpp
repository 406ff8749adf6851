// Interface's late-bound members: the User and ConnBase setters only.
#include "frame/Interface.hpp"

#include "frame/ClassRegistry.hpp"

namespace tk::am {

void Interface::describe(DispatchTable<Interface>& t) {
    addContextSetters(t, {ContextSetter::User, ContextSetter::ConnBase});
}

}  // namespace tk::am

using tk::am::Interface;
TKAM_REGISTER_CLASS(Interface)
