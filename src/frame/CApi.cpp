// The C interface of include/tkam/tkam.h over the late-bound classes.
#include <atomic>
#include <cstring>

#include "frame/ClassRegistry.hpp"
#include "frame/PublicDef.hpp"
#include "frame/Utility.hpp"
#include "tkam/tkam.h"

struct tkam_object {
    std::shared_ptr<tk::Dispatchable> target;
};

namespace {
using tk::Dispatchable;
using tk::Variant;

std::atomic<int64_t> gHandles{0};
thread_local tk::am::ErrorInfo tLastError;

tkam_object* newHandle(std::shared_ptr<Dispatchable> target) {
    ++gHandles;
    return new tkam_object{std::move(target)};
}

Variant toVariant(const tkam_value* v) {
    if (!v) return Variant();
    switch (v->type) {
        case TKAM_NULL:
            return Variant::null();
        case TKAM_I2:
            return Variant(static_cast<int16_t>(v->i));
        case TKAM_I4:
            return Variant(v->i);
        case TKAM_R8:
            return Variant(v->r);
        case TKAM_TEXT:
            return Variant(std::string(v->text ? v->text : ""));
        case TKAM_BOOL:
            return Variant(v->i != 0);
        case TKAM_OBJECT:
            return Variant(v->object ? v->object->target : nullptr);
        default:
            return Variant();
    }
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
        tLastError = {};
        return 0;
    } catch (...) {
        tLastError = tk::am::ErrorInfo::current();
        if (tLastError.number == 0) tLastError.number = tk::errors::kDatabase;
        return tLastError.number;
    }
}

int32_t missingObject() {
    tLastError = {tk::errors::kObjectRequired, "Object required"};
    return tLastError.number;
}

}  // namespace

extern "C" {

tkam_object* tkam_create(const char* progid) {
    if (!progid) return nullptr;
    auto target = tk::am::ClassRegistry::instance().create(progid);
    return target ? newHandle(std::move(target)) : nullptr;
}

void tkam_release(tkam_object* obj) {
    if (!obj) return;
    --gHandles;
    delete obj;
}

int32_t tkam_can_unload_now(void) { return gHandles.load() == 0 ? 1 : 0; }

int32_t tkam_put(tkam_object* obj, const char* name, const tkam_value* value) {
    if (!obj) return missingObject();
    return guarded([&] {
        Dispatchable::Args none;
        obj->target->assign(name ? name : "", none, toVariant(value));
    });
}

int32_t tkam_get(tkam_object* obj, const char* name, tkam_value* out) {
    if (!obj) return missingObject();
    return guarded([&] {
        Dispatchable::Args none;
        Variant v = obj->target->invoke(name ? name : "", none);
        if (out) fromVariant(v, out);
    });
}

int32_t tkam_call(tkam_object* obj, const char* method, tkam_value* args, int32_t argc,
                  tkam_value* result) {
    if (!obj) return missingObject();
    Dispatchable::Args values;
    for (int32_t i = 0; i < argc; ++i) values.push_back(toVariant(&args[i]));
    Dispatchable::Args before = values;
    int32_t rc = guarded([&] {
        Variant v = obj->target->invoke(method ? method : "", values);
        if (result) fromVariant(v, result);
    });
    // Arguments passed by reference come back as the method left them.
    for (int32_t i = 0; i < argc && static_cast<size_t>(i) < values.size(); ++i)
        if (!(values[i] == before[i])) fromVariant(values[i], &args[i]);
    return rc;
}

int32_t tkam_advise(tkam_object* obj, tkam_event_fn fn, void* user) {
    if (!obj) return missingObject();
    return guarded([&] {
        if (!fn) {
            obj->target->advise(nullptr);
            return;
        }
        obj->target->advise([fn, user](std::string_view event, Dispatchable::Args& args) {
            std::vector<tkam_value> values(args.size());
            for (size_t i = 0; i < args.size(); ++i) fromVariant(args[i], &values[i]);
            std::string name(event);
            fn(user, name.c_str(), values.data(), static_cast<int32_t>(values.size()));
            for (size_t i = 0; i < args.size(); ++i) {
                args[i] = toVariant(&values[i]);
                tkam_value_clear(&values[i]);
            }
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
    return guarded([&] { tk::am::SetComponentFolder(path ? path : ""); });
}

int32_t tkam_last_error(const char** description) {
    if (description) *description = tLastError.description.c_str();
    return tLastError.number;
}

}  // extern "C"
