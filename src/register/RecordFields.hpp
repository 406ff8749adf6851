#pragma once
#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <variant>
#include <vector>

#include "connect/Dispatchable.hpp"
#include "connect/Recordset.hpp"
#include "connect/RunTimeError.hpp"
#include "register/SqlText.hpp"

namespace tk::am {

namespace fieldvalue {

inline void assign(int32_t& field, const Variant& v) { field = v.toInt32(); }
inline void assign(int16_t& field, const Variant& v) { field = v.toInt16(); }
inline void assign(double& field, const Variant& v) { field = v.toDouble(); }
inline void assign(std::string& field, const Variant& v) { field = v.toText(); }
// A flag column counts as set only when it holds 1; a null reads as not set.
inline void assign(bool& field, const Variant& v) { field = v.isNumeric() && v.toDouble() == 1; }
template <TextRule R>
void assign(SqlText<R>& field, const Variant& v) {
    field.setStored(v.toText());
}

inline void blank(int32_t& field) { field = 0; }
inline void blank(int16_t& field) { field = 0; }
inline void blank(double& field) { field = 0; }
inline void blank(bool& field) { field = false; }
inline void blank(std::string& field) { field = " "; }
template <TextRule R>
void blank(SqlText<R>& field) {
    field.setStored(" ");
}

inline std::string literal(int32_t value) { return std::to_string(value); }
inline std::string literal(int16_t value) { return std::to_string(value); }
inline std::string literal(double value) { return formatDouble(value); }
inline std::string literal(bool value) { return value ? "1" : "0"; }
// A PostgreSQL text cannot hold a NUL, and the codes the code rules hand out
// end in one; the character is dropped here, where a value enters a statement.
inline std::string literal(const std::string& text) {
    std::string body;
    for (char c : text)
        if (c != '\0') body += c;
    return "'" + body + "'";
}
template <TextRule R>
std::string literal(const SqlText<R>& text) {
    return literal(text.str());
}

}  // namespace fieldvalue

template <typename T>
using FieldMember = std::variant<int32_t T::*, int16_t T::*, double T::*, bool T::*,
                                 std::string T::*, QuotedText T::*, KeptText T::*>;

// One property of a record object and the column that holds it.
template <typename T>
struct RecordField {
    std::string_view name;
    FieldMember<T> member;
};

// The properties of a record object as one table: their late-bound get and put,
// how they are read from a row, blanked, and pasted into a statement. Columns
// are named case-insensitively ("strReceiptNO" is the property strReceiptNo).
template <typename T>
class RecordFields {
  public:
    // Literal values that stand in for a column's field in one statement.
    using Overrides = std::map<std::string_view, std::string>;
    using Columns = std::span<const std::string_view>;

    RecordFields(std::initializer_list<RecordField<T>> fields) : fields_(fields) {
        for (size_t i = 0; i < fields_.size(); ++i) index_[lowerAscii(fields_[i].name)] = i;
    }

    void describe(DispatchTable<T>& t) const {
        for (const auto& f : fields_)
            std::visit([&](auto member) { describeOne(t, std::string(f.name), member); }, f.member);
    }

    // Every field from the column of its name, in table order; texts as stored.
    void load(T& record, const connect::Recordset& rs) const {
        for (const auto& f : fields_)
            std::visit([&](auto member) { fieldvalue::assign(record.*member, rs.field(f.name)); },
                       f.member);
    }

    // Texts one space, numbers 0, flags false.
    void blank(T& record) const {
        for (const auto& f : fields_)
            std::visit([&](auto member) { fieldvalue::blank(record.*member); }, f.member);
    }

    std::string literal(const T& record, std::string_view column) const {
        return std::visit([&](auto member) { return fieldvalue::literal(record.*member); },
                          find(column).member);
    }

    // "c1,c2,…" as written, blanks included.
    static std::string names(Columns columns) {
        std::string out;
        for (std::string_view column : columns)
            out += (out.empty() ? "" : ",") + std::string(column);
        return out;
    }

    // "v1,v2,…" in column order.
    std::string values(const T& record, Columns columns) const {
        std::string out;
        for (std::string_view column : columns)
            out += (out.empty() ? "" : ",") + literal(record, column);
        return out;
    }

    // "c1 = v1,c2 = 'v2'…". A column written with a leading blank keeps it
    // in the text (", strAMAssetCode = '").
    std::string assignments(const T& record, Columns columns,
                            const Overrides& overrides = {}) const {
        std::string out;
        for (std::string_view column : columns) {
            auto special = overrides.find(column);
            std::string value =
                special != overrides.end() ? special->second : literal(record, column);
            out += (out.empty() ? "" : ",") + std::string(column) + " = " + value;
        }
        return out;
    }

  private:
    template <typename V>
    static void describeOne(DispatchTable<T>& t, const std::string& name, V T::*member) {
        t.field(name, member);
    }
    template <TextRule R>
    static void describeOne(DispatchTable<T>& t, const std::string& name, SqlText<R> T::*member) {
        t.method(name,
                 [member](T& self, Dispatchable::Args&) { return Variant((self.*member).str()); });
        t.setter(name, [member](T& self, Dispatchable::Args&, const Variant& v) {
            self.*member = v.toText();
        });
    }

    const RecordField<T>& find(std::string_view column) const {
        while (column.starts_with(' ')) column.remove_prefix(1);
        auto it = index_.find(lowerAscii(column));
        if (it == index_.end()) throw RunTimeError(errors::kInvalidArgument, std::string(column));
        return fields_[it->second];
    }

    std::vector<RecordField<T>> fields_;
    std::unordered_map<std::string, size_t> index_;
};

}  // namespace tk::am
