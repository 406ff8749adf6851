#pragma once
#include <cstdint>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

#include "connect/Dispatchable.hpp"
#include "connect/RunTimeError.hpp"
#include "frame/Utility.hpp"
#include "funds/RuledText.hpp"
#include "funds/SqlValues.hpp"

namespace tk::am {

// How an update statement sets a column: "col = v", "col=v", or not at all.
enum class UpdateForm { Spaced, Compact, Unchanged };

// One property of a record object and the column of the same name. Late-bound
// names are case-insensitive, so a column's own spelling serves as the name.
template <typename T>
struct Field {
    using Member = std::variant<int32_t T::*, int16_t T::*, double T::*, std::string T::*,
                                QuotedText T::*, SpacedText T::*>;
    const char* name;
    Member member;
    UpdateForm update = UpdateForm::Spaced;
};

template <typename V>
struct IsRuledText : std::false_type {};
template <std::string (*Rule)(const std::string&)>
struct IsRuledText<RuledText<Rule>> : std::true_type {};

// The properties of a record object mapped onto one table: late binding,
// loading one row, and the insert, update and delete texts of that table.
template <typename T>
class FieldLayout {
public:
    // `fields` in property order; `columnOrder` names the table's columns in
    // insert order when it differs (fields it leaves out belong to other tables).
    FieldLayout(std::string table, std::string key, std::vector<Field<T>> fields,
                const std::vector<std::string>& columnOrder = {})
        : table_(std::move(table)), key_(std::move(key)), fields_(std::move(fields)) {
        if (columnOrder.empty())
            for (const Field<T>& field : fields_) columns_.push_back(&field);
        for (const std::string& name : columnOrder) columns_.push_back(&find(name));
        keyMember_ = std::get<int32_t T::*>(find(key_).member);
    }
    FieldLayout(const FieldLayout&) = delete;
    FieldLayout& operator=(const FieldLayout&) = delete;

    const std::string& table() const { return table_; }
    const std::string& key() const { return key_; }
    int32_t& keyOf(T& row) const { return row.*keyMember_; }

    void describe(DispatchTable<T>& t) const {
        for (const Field<T>& field : fields_)
            std::visit([&](auto member) { describeField(t, field.name, member); }, field.member);
    }

    // Reads the first row the text finds, or resets every field when it finds none.
    void load(T& row, const std::string& sql) const {
        RecordsetPtr rs = OpenRecordset(sql, 3, 1);
        read(row, *rs);
        CloseRecordset(rs);
    }

    // Reads the current row in property order, or resets every field at the end.
    void read(T& row, const connect::Recordset& rs) const {
        const bool found = !rs.eof();
        for (const Field<T>& field : fields_)
            std::visit(
                [&](auto member) { assign(row.*member, found ? &rs.field(field.name) : nullptr); },
                field.member);
    }

    std::string insertSql(const T& row) const {
        std::string names, values;
        for (const Field<T>* column : columns_) {
            const char* comma = names.empty() ? "" : ",";
            names += comma + std::string(column->name);
            values += comma + valueText(row, *column);
        }
        return " Insert Into [User]" + table_ + "(" + names + ") Values(" + values + ")";
    }

    // Every column but the key and those that keep their value.
    std::string updateSql(const T& row) const {
        std::string sets;
        for (const Field<T>* column : columns_) {
            if (column->name == key_ || column->update == UpdateForm::Unchanged) continue;
            const char* equals = column->update == UpdateForm::Compact ? "=" : " = ";
            sets += (sets.empty() ? "" : ",") + std::string(column->name) + equals +
                    valueText(row, *column);
        }
        return " Update [User]" + table_ + " Set " + sets + " Where " + key_ + " = " +
               std::to_string(row.*keyMember_);
    }

    std::string deleteSql(const std::string& column, int32_t id) const {
        return " Delete From [User]" + table_ + " Where " + column + " = " + std::to_string(id);
    }

private:
    const Field<T>& find(const std::string& name) const {
        for (const Field<T>& field : fields_)
            if (field.name == name) return field;
        throw RunTimeError(errors::kNoSuchMember, "No field " + name + " in " + table_);
    }

    template <typename V>
    static void describeField(DispatchTable<T>& t, const char* name, V T::*member) {
        if constexpr (IsRuledText<V>::value) {
            t.method(name, [member](T& self, Dispatchable::Args&) { return Variant((self.*member).str()); });
            t.setter(name, [member](T& self, Dispatchable::Args&, const Variant& v) {
                self.*member = v.toText();
            });
        } else {
            t.field(name, member);
        }
    }

    // A field from its column, or its empty value (0, one blank) without a row.
    template <typename V>
    static void assign(V& target, const Variant* column) {
        if constexpr (IsRuledText<V>::value)
            target = V::fromStored(column ? column->toText() : " ");
        else if constexpr (std::is_same_v<V, std::string>)
            target = column ? column->toText() : " ";
        else
            target = column ? DispatchTable<T>::template convert<V>(*column) : V{};
    }

    static std::string valueText(const T& row, const Field<T>& field) {
        return std::visit(
            [&](auto member) {
                const auto& value = row.*member;
                using V = std::remove_cvref_t<decltype(value)>;
                if constexpr (IsRuledText<V>::value) return "'" + value.str() + "'";
                else if constexpr (std::is_same_v<V, std::string>) return "'" + value + "'";
                else if constexpr (std::is_same_v<V, double>) return DecimalText(value);
                else return std::to_string(value);
            },
            field.member);
    }

    std::string table_;
    std::string key_;
    std::vector<Field<T>> fields_;
    std::vector<const Field<T>*> columns_;
    int32_t T::*keyMember_ = nullptr;
};

}  // namespace tk::am
