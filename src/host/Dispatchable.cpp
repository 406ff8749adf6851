// The live-object count, ASCII lower-casing and the argument and missing-member helpers.
#include "host/Dispatchable.hpp"

#include <atomic>

namespace tk {
namespace {
std::atomic<size_t> gLiveObjects{0};
}

Dispatchable::Dispatchable() { ++gLiveObjects; }
Dispatchable::Dispatchable(const Dispatchable&) : std::enable_shared_from_this<Dispatchable>() {
    ++gLiveObjects;
}
Dispatchable::~Dispatchable() { --gLiveObjects; }
size_t Dispatchable::liveObjects() { return gLiveObjects.load(); }

std::string lowerAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

void raiseNoSuchMember(std::string_view className, std::string_view member) {
    throw RunTimeError(errors::kNoSuchMember,
                       "Object doesn't support this property or method: " + std::string(className) +
                           "." + std::string(member));
}

const Variant& argOr(const Dispatchable::Args& args, size_t i, const Variant& fallback) {
    return i < args.size() && !args[i].isEmpty() ? args[i] : fallback;
}

const Variant& requiredArg(const Dispatchable::Args& args, size_t i) {
    if (i >= args.size()) throw RunTimeError(errors::kInvalidArgument, "Argument not optional");
    return args[i];
}

}  // namespace tk
