// The C interface of include/tkam/tkam.h over the late-bound classes.
#include <cstring>
#include <mutex>
#include <unordered_set>

#include "frame/ClassRegistry.hpp"
#include "frame/ComponentFolder.hpp"
#include "frame/Conversion.hpp"
#include "frame/LastRefusal.hpp"
#include "frame/PublicDef.hpp"
#include "tkam/tkam.h"

struct tkam_object {
    std::shared_ptr<tk::Dispatchable> target;
};

namespace {
using tk::Dispatchable;
using tk::RunTimeError;
using tk::Variant;
namespace errors = tk::errors;

// Hosts hard-code the header's numbers; they must be the ones the component raises.
static_assert(TKAM_E_INVALID_ARGUMENT == errors::kInvalidArgument &&
              TKAM_E_OVERFLOW == errors::kOverflow &&
              TKAM_E_TYPE_MISMATCH == errors::kTypeMismatch &&
              TKAM_E_INVALID_USE_OF_NULL == errors::kInvalidUseOfNull &&
              TKAM_E_OBJECT_REQUIRED == errors::kObjectRequired &&
              TKAM_E_NO_SUCH_MEMBER == errors::kNoSuchMember &&
              TKAM_E_DATABASE == errors::kDatabase);
static_assert(int{::atUnkonwn} == tk::am::atUnkonwn && int{::atAdd} == tk::am::atAdd &&
              int{::atDec} == tk::am::atDec && int{::atOther} == tk::am::atOther);
static_assert(int{::acAssetCode} == tk::am::acAssetCode &&
              int{::acAssetCardCode} == tk::am::acAssetCardCode &&
              int{::acAssetLabel} == tk::am::acAssetLabel &&
              int{::acAssetNationalCode} == tk::am::acAssetNationalCode);

thread_local tk::am::ErrorInfo tLastError;

// The handles given out and not yet released. A pointer from the host is looked up
// here before it is trusted, so a foreign one is refused without being read.
std::mutex gHandlesLock;
std::unordered_set<const tkam_object*> gHandles;

tkam_object* newHandle(std::shared_ptr<Dispatchable> target) {
    auto* handle = new tkam_object{std::move(target)};
    std::lock_guard lock(gHandlesLock);
    gHandles.insert(handle);
    return handle;
}

bool isLive(const tkam_object* handle) {
    std::lock_guard lock(gHandlesLock);
    return gHandles.contains(handle);
}

[[noreturn]] void refuse(int32_t number, const std::string& description) {
    throw RunTimeError(number, description);
}

[[noreturn]] void refuseArgument(const std::string& problem) {
    refuse(TKAM_E_INVALID_ARGUMENT, "Invalid argument: " + problem);
}

template <typename T>
T& require(T* pointer, const std::string& what) {
    if (!pointer) refuseArgument(what + " is NULL");
    return *pointer;
}

const std::shared_ptr<Dispatchable>& requireObject(const tkam_object* handle,
                                                   const std::string& what) {
    if (!handle) refuse(TKAM_E_OBJECT_REQUIRED, "Object required: " + what + " is NULL");
    if (!isLive(handle))
        refuse(TKAM_E_OBJECT_REQUIRED,
               "Object required: " + what + " is not a live object of this library");
    return handle->target;
}

std::string requireName(const char* name, const std::string& what) { return &require(name, what); }

std::string requireText(const char* text, const std::string& what) {
    std::string value = requireName(text, what);
    if (!tk::am::IsValidUtf8(value)) refuseArgument(what + " is not valid UTF-8");
    return value;
}

// A value no host could mean is refused rather than guessed at.
Variant toVariant(const tkam_value& v, const std::string& what) {
    switch (v.type) {
        case TKAM_EMPTY:
            return Variant();
        case TKAM_NULL:
            return Variant::null();
        case TKAM_I2:
            return Variant(static_cast<int16_t>(v.i));
        case TKAM_I4:
            return Variant(v.i);
        case TKAM_R8:
            return Variant(v.r);
        case TKAM_TEXT:
            return Variant(requireText(v.text, what + "'s text"));
        case TKAM_BOOL:
            return Variant(v.i != 0);
        case TKAM_OBJECT:
            if (!v.object) return Variant(std::shared_ptr<Dispatchable>());
            return Variant(requireObject(v.object, what + "'s object"));
        default:
            refuse(TKAM_E_TYPE_MISMATCH, "Type mismatch: " + what + " has the unknown type code " +
                                             std::to_string(v.type));
    }
}

Dispatchable::Args toArgs(const tkam_value* args, int32_t argc) {
    if (argc < 0) refuseArgument("the argument count " + std::to_string(argc) + " is negative");
    if (argc > 0) require(args, "the argument array of " + std::to_string(argc) + " arguments");
    Dispatchable::Args values;
    for (int32_t i = 0; i < argc; ++i)
        values.push_back(toVariant(args[i], "argument " + std::to_string(i + 1)));
    return values;
}

// The library allocates what it hands out; tkam_value_clear frees it.
void fromVariant(const Variant& v, tkam_value* out) {
    *out = tkam_value{static_cast<int32_t>(v.type()), 0, 0, nullptr, nullptr, 0};
    switch (v.type()) {
        case Variant::Type::I2:
        case Variant::Type::I4:
            out->i = v.toInt32();
            break;
        case Variant::Type::Bool:
            out->i = v.toBool() ? 1 : 0;
            break;
        case Variant::Type::R8:
            out->r = v.toDouble();
            break;
        case Variant::Type::Text:
            out->text = strdup(v.toText().c_str());
            out->owned = 1;
            break;
        case Variant::Type::Object:
            if (auto target = v.toObject()) {
                out->object = newHandle(std::move(target));
                out->owned = 1;
            } else {
                out->type = TKAM_EMPTY;
            }
            break;
        default:
            break;
    }
}

template <typename Fn>
int32_t guarded(Fn&& fn) {
    try {
        fn();
        // a save that answered 0 for input the books cannot hold says why here
        tLastError = tk::am::LastRefusal::take().value_or(tk::am::ErrorInfo{});
        return 0;
    } catch (...) {
        tLastError = tk::am::ErrorInfo::current();
        if (tLastError.number == 0) tLastError.number = tk::errors::kDatabase;
        return tLastError.number;
    }
}

// An event handler's change to an argument is taken back; a malformed value leaves the
// argument as it was rather than failing the operation that raised the event.
void takeBack(tkam_value& value, Variant& arg) {
    try {
        arg = toVariant(value, "the event argument");
    } catch (const RunTimeError&) {
    }
    tkam_value_clear(&value);
}

}  // namespace

extern "C" {

tkam_object* tkam_create(const char* progid) {
    tkam_object* handle = nullptr;
    guarded([&] {
        std::string name = requireName(progid, "the class name");
        auto target = tk::am::ClassRegistry::instance().create(name);
        if (!target) refuseArgument("there is no class named " + name);
        handle = newHandle(std::move(target));
    });
    return handle;
}

// A second release deletes again, as free would: a sanitizer build reports it.
void tkam_release(tkam_object* obj) {
    if (!obj) return;
    {
        std::lock_guard lock(gHandlesLock);
        gHandles.erase(obj);
    }
    delete obj;
}

int32_t tkam_can_unload_now(void) {
    std::lock_guard lock(gHandlesLock);
    return gHandles.empty() ? 1 : 0;
}

int32_t tkam_put(tkam_object* obj, const char* name, const tkam_value* value) {
    return guarded([&] {
        auto& target = requireObject(obj, "the object");
        std::string member = requireName(name, "the member name");
        Variant v = toVariant(require(value, "the value"), "the value");
        Dispatchable::Args none;
        target->assign(member, none, v);
    });
}

int32_t tkam_get(tkam_object* obj, const char* name, tkam_value* out) {
    return guarded([&] {
        auto& target = requireObject(obj, "the object");
        std::string member = requireName(name, "the member name");
        tkam_value& result = require(out, "the result");
        Dispatchable::Args none;
        fromVariant(target->invoke(member, none), &result);
    });
}

int32_t tkam_call(tkam_object* obj, const char* method, tkam_value* args, int32_t argc,
                  tkam_value* result) {
    Dispatchable::Args values;
    Dispatchable::Args before;
    int32_t rc = guarded([&] {
        auto& target = requireObject(obj, "the object");
        std::string member = requireName(method, "the method name");
        values = toArgs(args, argc);
        before = values;
        Variant v = target->invoke(member, values);
        if (result) fromVariant(v, result);
    });
    // Arguments passed by reference come back as the method left them.
    for (size_t i = 0; i < before.size() && i < values.size(); ++i)
        if (!(values[i] == before[i])) fromVariant(values[i], &args[i]);
    return rc;
}

int32_t tkam_advise(tkam_object* obj, tkam_event_fn fn, void* user) {
    return guarded([&] {
        auto& target = requireObject(obj, "the object");
        if (!fn) {
            target->advise(nullptr);
            return;
        }
        target->advise([fn, user](std::string_view event, Dispatchable::Args& args) {
            std::vector<tkam_value> values(args.size());
            for (size_t i = 0; i < args.size(); ++i) fromVariant(args[i], &values[i]);
            std::string name(event);
            fn(user, name.c_str(), values.data(), static_cast<int32_t>(values.size()));
            for (size_t i = 0; i < args.size(); ++i) takeBack(values[i], args[i]);
        });
    });
}

void tkam_value_clear(tkam_value* value) {
    if (!value) return;
    if (value->owned) {
        free(const_cast<char*>(value->text));
        if (value->object) tkam_release(value->object);
    }
    *value = tkam_value{TKAM_EMPTY, 0, 0, nullptr, nullptr, 0};
}

int32_t tkam_set_component_folder(const char* path) {
    return guarded([&] { tk::am::SetComponentFolder(requireName(path, "the folder")); });
}

int32_t tkam_last_error(const char** description) {
    if (description) *description = tLastError.description.c_str();
    return tLastError.number;
}

}  // extern "C"
