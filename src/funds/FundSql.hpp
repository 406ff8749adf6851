// Insert and update statements built from a record's fields, shared by the funding-source
// records.
#pragma once
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "frame/RecordFields.hpp"

namespace tk::am {

// The id without its sign (a negative id asks for a deletion); the one id
// without a positive twin overflows, as the host language's Abs does.
int32_t AbsoluteId(int32_t id);

// " Insert Into [User]<table>(c1,c2,…) Values(v1,v2,…)"
template <typename T>
std::string InsertStatement(std::string_view table, const RecordFields<T>& fields, const T& record,
                            typename RecordFields<T>::Columns columns) {
    return " Insert Into [User]" + std::string(table) + "(" + fields.names(columns) + ") Values(" +
           fields.values(record, columns) + ")";
}

// " Update [User]<table> Set c1 = v1,… Where <key> = <id>". The column `tight`,
// when among them, is written "c=v": these statements spell it so.
template <typename T>
std::string UpdateStatement(std::string_view table, const RecordFields<T>& fields, const T& record,
                            typename RecordFields<T>::Columns columns, std::string_view tight,
                            std::string_view key, int32_t id) {
    std::string sets;
    auto append = [&sets](const std::string& piece) {
        if (!piece.empty()) sets += (sets.empty() ? "" : ",") + piece;
    };
    const auto at =
        static_cast<size_t>(std::find(columns.begin(), columns.end(), tight) - columns.begin());
    append(fields.assignments(record, columns.first(at)));
    if (at < columns.size()) {
        append(std::string(tight) + "=" + fields.literal(record, tight));
        append(fields.assignments(record, columns.subspan(at + 1)));
    }
    return " Update [User]" + std::string(table) + " Set " + sets + " Where " + std::string(key) +
           " = " + std::to_string(id);
}

}  // namespace tk::am
