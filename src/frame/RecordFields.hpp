// A record object's properties as the columns of one table: late-bound access, loading,
// limit checks, and the column and value texts of its statements.
#pragma once
#include <cstdint>
#include <initializer_list>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <variant>
#include <vector>

#include "connect/Recordset.hpp"
#include "frame/InputLimits.hpp"
#include "frame/RecordText.hpp"
#include "host/Dispatchable.hpp"
#include "host/RunTimeError.hpp"

namespace tk::am {

namespace fieldvalue {

inline void assign(int32_t& field, const Variant& v) { field = v.toInt32(); }
inline void assign(int16_t& field, const Variant& v) { field = v.toInt16(); }
inline void assign(double& field, const Variant& v) { field = v.toDouble(); }
inline void assign(std::string& field, const Variant& v) { field = v.toText(); }
inline void assign(RecordText& field, const Variant& v) { field.load(v.toText()); }
// A flag column counts as set only when it holds 1; a null reads as not set.
inline void assign(bool& field, const Variant& v) { field = v.isNumeric() && v.toDouble() == 1; }

inline void blank(int32_t& field) { field = 0; }
inline void blank(int16_t& field) { field = 0; }
inline void blank(double& field) { field = 0; }
inline void blank(bool& field) { field = false; }
inline void blank(std::string& field) { field = " "; }
inline void blank(RecordText& field) { field.clear(); }

// A PostgreSQL text cannot hold a NUL, and the codes the code rules hand out
// end in one; the character is dropped here, where a value enters a statement.
inline std::string withoutNul(std::string_view text) {
    std::string body;
    for (char c : text)
        if (c != '\0') body += c;
    return body;
}

// A value as pasted into a statement, texts without their surrounding quotes.
inline std::string body(int32_t value) { return std::to_string(value); }
inline std::string body(int16_t value) { return std::to_string(value); }
inline std::string body(double value) { return formatDouble(value); }
inline std::string body(bool value) { return value ? "1" : "0"; }
inline std::string body(const std::string& text) { return withoutNul(text); }
inline std::string body(const RecordText& text) { return withoutNul(text.sqlBody()); }

}  // namespace fieldvalue

template <typename T>
using FieldMember = std::variant<int32_t T::*, int16_t T::*, double T::*, bool T::*,
                                 std::string T::*, RecordText T::*>;

// One property of a record object and the column that holds it.
template <typename T>
struct RecordField {
    enum Written { Always, OnInsertOnly };

    std::string_view name;
    FieldMember<T> member;
    // The exact "column = " text where an update spells the assignment its own
    // way (a blank for a line break, a missing blank, a number between quotes).
    const char* assignAs = nullptr;
    // Keys and chain pointers are written by the insert and kept by a change.
    Written written = Always;
};

// The properties of a record object as one table: their late-bound get and put,
// how they are read from a row, blanked, and pasted into a statement, either
// all of them in order or the columns a statement names. Columns are named
// case-insensitively ("strReceiptNO" is the property strReceiptNo).
template <typename T>
class RecordFields {
  public:
    using Field = RecordField<T>;
    // Literal values that stand in for a column's field in one statement.
    using Overrides = std::map<std::string_view, std::string>;
    using Columns = std::span<const std::string_view>;

    RecordFields(std::initializer_list<Field> fields) : fields_(fields) {
        for (size_t i = 0; i < fields_.size(); ++i) index_[lowerAscii(fields_[i].name)] = i;
    }

    size_t size() const { return fields_.size(); }
    const Field& operator[](size_t i) const { return fields_[i]; }

    static bool isText(const Field& f) {
        return std::holds_alternative<RecordText T::*>(f.member) ||
               std::holds_alternative<std::string T::*>(f.member);
    }
    static std::string body(const T& record, const Field& f) {
        return std::visit([&](auto member) { return fieldvalue::body(record.*member); }, f.member);
    }
    // The value as a literal: texts between single quotes.
    static std::string literal(const T& record, const Field& f) {
        std::string value = body(record, f);
        return isText(f) ? "'" + value + "'" : value;
    }
    std::string literal(const T& record, std::string_view column) const {
        return literal(record, find(column));
    }

    // Each field as a read-write property; a text write goes through its rule.
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

    // Every value within what the tables' columns of its name hold, before a
    // write (InputLimits): nothing is written when one is not.
    void checkLimits(const T& record, std::initializer_list<std::string_view> tables) const {
        for (const auto& f : fields_)
            std::visit(
                [&](auto member) { InputLimits::checkField(f.name, record.*member, tables); },
                f.member);
    }

    // Texts in their blank form, numbers 0, flags false.
    void blank(T& record) const {
        for (const auto& f : fields_)
            std::visit([&](auto member) { fieldvalue::blank(record.*member); }, f.member);
    }

    // "c1,c2,…" of every field.
    std::string names() const {
        std::string out;
        for (const Field& f : fields_) out += (out.empty() ? "" : ",") + std::string(f.name);
        return out;
    }
    // "c1,c2,…" as written, blanks included.
    static std::string names(Columns columns) {
        std::string out;
        for (std::string_view column : columns)
            out += (out.empty() ? "" : ",") + std::string(column);
        return out;
    }

    // "v1,v2,…" of every field.
    std::string values(const T& record) const {
        std::string out;
        for (const Field& f : fields_) out += (out.empty() ? "" : ",") + literal(record, f);
        return out;
    }
    // "v1,v2,…" in column order.
    std::string values(const T& record, Columns columns) const {
        std::string out;
        for (std::string_view column : columns)
            out += (out.empty() ? "" : ",") + literal(record, column);
        return out;
    }

    // "c1 = v1,c2 = 'v2'…" over the fields a change rewrites, each spelt as
    // its `assignAs` says.
    std::string assignments(const T& record) const {
        std::string out;
        for (const Field& f : fields_) {
            if (f.written == Field::OnInsertOnly) continue;
            std::string_view lead = f.assignAs ? f.assignAs : "";
            std::string piece = lead.empty() ? std::string(f.name) + " = " + literal(record, f)
                                             : std::string(lead) + body(record, f) +
                                                   (lead.back() == '\'' ? "'" : "");
            out += (out.empty() ? "" : ",") + piece;
        }
        return out;
    }
    // "c1 = v1,c2 = 'v2'…" in column order. A column written with a leading
    // blank keeps it in the text (", strAMAssetCode = '").
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
    static void describeOne(DispatchTable<T>& t, const std::string& name, RecordText T::*member) {
        t.method(name,
                 [member](T& self, Dispatchable::Args&) { return Variant((self.*member).str()); });
        t.setter(name, [member](T& self, Dispatchable::Args&, const Variant& v) {
            self.*member = v.toText();
        });
    }

    const Field& find(std::string_view column) const {
        while (column.starts_with(' ')) column.remove_prefix(1);
        auto it = index_.find(lowerAscii(column));
        if (it == index_.end()) throw RunTimeError(errors::kInvalidArgument, std::string(column));
        return fields_[it->second];
    }

    std::vector<Field> fields_;
    std::unordered_map<std::string, size_t> index_;
};

}  // namespace tk::am
