#pragma once
#include <cstdint>
#include <initializer_list>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

#include "connect/Dispatchable.hpp"
#include "connect/Recordset.hpp"
#include "records/RecordText.hpp"

namespace tk::am {

// One property of a record object and the column of the same name.
template <typename T>
struct ColumnField {
    using Member = std::variant<int32_t T::*, int16_t T::*, double T::*, RecordText T::*>;
    enum Written { Always, OnInsertOnly };

    const char* name;
    Member member;
    // The exact "column = " text where an update spells the assignment its own
    // way (a blank for a line break, a missing blank, a number between quotes).
    const char* assignAs = nullptr;
    // Keys and chain pointers are written by the insert and kept by a change.
    Written written = Always;
};

// The properties of one table of a record, in column order. The inserts,
// updates, loads, the cleared state and the late binding are all made from it.
template <typename T>
class ColumnFields {
  public:
    using Field = ColumnField<T>;
    ColumnFields(std::initializer_list<Field> fields) : fields_(fields) {}

    size_t size() const { return fields_.size(); }
    const Field& operator[](size_t i) const { return fields_[i]; }

    static bool isText(const Field& f) { return std::holds_alternative<RecordText T::*>(f.member); }

    // A value as pasted into a statement: numbers in decimal, texts without
    // their surrounding quotes.
    static std::string sqlBody(const T& self, const Field& f) {
        return std::visit(
            [&](auto member) -> std::string {
                const auto& value = self.*member;
                using V = std::decay_t<decltype(value)>;
                if constexpr (std::is_same_v<V, RecordText>)
                    return value.sqlBody();
                else if constexpr (std::is_same_v<V, double>)
                    return formatDouble(value);
                else
                    return std::to_string(value);
            },
            f.member);
    }

    // "a,b,c"
    std::string columns() const {
        return join([](const Field& f) { return std::string(f.name); });
    }
    // "1,'x',2.5", texts between single quotes.
    std::string values(const T& self) const {
        return join([&](const Field& f) {
            std::string body = sqlBody(self, f);
            return isText(f) ? "'" + body + "'" : body;
        });
    }
    // "a = 1,b = 'x'" over the columns a change rewrites.
    std::string assignments(const T& self) const {
        std::string out;
        for (const Field& f : fields_) {
            if (f.written == Field::OnInsertOnly) continue;
            std::string lead =
                f.assignAs ? f.assignAs : f.name + std::string(isText(f) ? " = '" : " = ");
            if (!out.empty()) out += ",";
            out += lead + sqlBody(self, f) + (lead.back() == '\'' ? "'" : "");
        }
        return out;
    }

    // Reads every field from the row by column name; a NULL column raises.
    void read(T& self, const connect::Recordset& row) const {
        for (const Field& f : fields_)
            std::visit(
                [&](auto member) {
                    using V = std::decay_t<decltype(self.*member)>;
                    const Variant& value = row.field(f.name);
                    if constexpr (std::is_same_v<V, RecordText>)
                        (self.*member).load(value.toText());
                    else
                        self.*member = DispatchTable<T>::template convert<V>(value);
                },
                f.member);
    }

    // Numbers 0, texts as the rule clears them.
    void clear(T& self) const {
        for (const Field& f : fields_)
            std::visit(
                [&](auto member) {
                    using V = std::decay_t<decltype(self.*member)>;
                    if constexpr (std::is_same_v<V, RecordText>)
                        (self.*member).clear();
                    else
                        self.*member = 0;
                },
                f.member);
    }

    // Each field as a read-write property; a text write goes through its rule.
    void describe(DispatchTable<T>& t) const {
        for (const Field& f : fields_)
            std::visit(
                [&](auto member) {
                    using V = std::decay_t<decltype(std::declval<T&>().*member)>;
                    if constexpr (std::is_same_v<V, RecordText>) {
                        t.method(f.name, [member](T& self, Dispatchable::Args&) {
                            return Variant((self.*member).str());
                        });
                        t.setter(f.name, [member](T& self, Dispatchable::Args&, const Variant& v) {
                            self.*member = v.toText();
                        });
                    } else {
                        t.field(f.name, member);
                    }
                },
                f.member);
    }

  private:
    template <typename Piece>
    std::string join(Piece piece) const {
        std::string out;
        for (size_t i = 0; i < fields_.size(); ++i) out += (i ? "," : "") + piece(fields_[i]);
        return out;
    }

    std::vector<Field> fields_;
};

}  // namespace tk::am
