// Late binding by member name: the base of every object a host drives, and its member tables.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "host/RunTimeError.hpp"
#include "host/Variant.hpp"

namespace tk {

// Late binding by member name, as a host written in any language drives the
// component: read or write a property, or call a method with arguments that
// may come back changed (by-reference arguments).
class Dispatchable : public std::enable_shared_from_this<Dispatchable> {
  public:
    using Args = std::vector<Variant>;
    virtual ~Dispatchable();
    virtual std::string_view className() const = 0;
    // A property read or a method call; `args` holds the arguments, by reference.
    virtual Variant invoke(std::string_view member, Args& args) = 0;
    // A property write; `args` holds the property's own arguments, if any.
    virtual void assign(std::string_view member, Args& args, const Variant& value) = 0;

    static size_t liveObjects();

    // The host's handler for the events the object raises; arguments passed by
    // reference (a Cancel flag) come back changed.
    using EventSink = std::function<void(std::string_view event, Args& args)>;
    void advise(EventSink sink) { sink_ = std::move(sink); }

  protected:
    Dispatchable();
    Dispatchable(const Dispatchable&);
    Dispatchable& operator=(const Dispatchable&) = default;
    void raiseEvent(std::string_view event, Args& args) {
        if (sink_) sink_(event, args);
    }

  private:
    EventSink sink_;
};

std::string lowerAscii(std::string_view text);

[[noreturn]] void raiseNoSuchMember(std::string_view className, std::string_view member);

// Argument i, or the default when the caller left an optional argument out.
const Variant& argOr(const Dispatchable::Args& args, size_t i, const Variant& fallback);
const Variant& requiredArg(const Dispatchable::Args& args, size_t i);

// The member table of one class, built once: names are case-insensitive.
template <typename T>
class DispatchTable {
  public:
    using Getter = std::function<Variant(T&, Dispatchable::Args&)>;
    using Setter = std::function<void(T&, Dispatchable::Args&, const Variant&)>;

    DispatchTable& method(std::string name, Getter fn) {
        entries_[lowerAscii(name)].getter = std::move(fn);
        return *this;
    }
    DispatchTable& setter(std::string name, Setter fn) {
        entries_[lowerAscii(name)].setter = std::move(fn);
        return *this;
    }
    // A plain read-write property backed by a member of the given type.
    template <typename V>
    DispatchTable& field(std::string name, V T::*member) {
        method(name, [member](T& self, Dispatchable::Args&) { return Variant(self.*member); });
        return setter(name, [member](T& self, Dispatchable::Args&, const Variant& v) {
            self.*member = convert<V>(v);
        });
    }

    Variant invoke(T& self, std::string_view member, Dispatchable::Args& args) const {
        auto it = entries_.find(lowerAscii(member));
        if (it == entries_.end() || !it->second.getter) raiseNoSuchMember(self.className(), member);
        return it->second.getter(self, args);
    }
    void assign(T& self, std::string_view member, Dispatchable::Args& args,
                const Variant& v) const {
        auto it = entries_.find(lowerAscii(member));
        if (it == entries_.end() || !it->second.setter) raiseNoSuchMember(self.className(), member);
        it->second.setter(self, args, v);
    }

    template <typename V>
    static V convert(const Variant& v) {
        if constexpr (std::is_same_v<V, int16_t>)
            return v.toInt16();
        else if constexpr (std::is_same_v<V, int32_t>)
            return v.toInt32();
        else if constexpr (std::is_same_v<V, double>)
            return v.toDouble();
        else if constexpr (std::is_same_v<V, bool>)
            return v.toBool();
        else if constexpr (std::is_same_v<V, std::string>)
            return v.toText();
        else
            return v;
    }

  private:
    struct Entry {
        Getter getter;
        Setter setter;
    };
    std::unordered_map<std::string, Entry> entries_;
};

// Base for a class whose members are listed by a static `describe(DispatchTable<T>&)`.
template <typename T>
class DispatchableBase : public Dispatchable {
  public:
    Variant invoke(std::string_view member, Args& args) override {
        return table().invoke(static_cast<T&>(*this), member, args);
    }
    void assign(std::string_view member, Args& args, const Variant& value) override {
        table().assign(static_cast<T&>(*this), member, args, value);
    }

  private:
    static const DispatchTable<T>& table() {
        static const DispatchTable<T> instance = [] {
            DispatchTable<T> t;
            T::describe(t);
            return t;
        }();
        return instance;
    }
};

}  // namespace tk
