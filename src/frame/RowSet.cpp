// Rows gathered as JSON and inserted through json_populate_recordset; new ids drawn in one
// query.
#include "frame/RowSet.hpp"

#include <libpq-fe.h>

#include <cstdio>

#include "connect/Session.hpp"
#include "frame/Context.hpp"
#include "frame/DataAccess.hpp"

namespace tk::am {
namespace {

std::string jsonString(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string columnName(std::string_view column) {
    while (column.starts_with(' ')) column.remove_prefix(1);
    return lowerAscii(column);
}

}  // namespace

std::optional<std::string> RowSet::valueOf(const std::string& literal) {
    if (!literal.starts_with('\'')) return literal;
    std::string text;
    for (size_t i = 1; i + 1 < literal.size(); ++i) {
        text += literal[i];
        if (literal[i] == '\'') ++i;
    }
    if (text.empty()) return std::nullopt;
    return text;
}

void RowSet::addValues(const std::vector<std::optional<std::string>>& values) {
    json_ += rows_++ == 0 ? "{" : ",{";
    for (size_t i = 0; i < values.size(); ++i)
        json_ += (i == 0 ? "" : ",") + jsonString(columnName(columns_[i])) + ":" +
                 (values[i] ? jsonString(*values[i]) : "null");
    json_ += "}";
}

void RowSet::insertInto(std::string_view table) const {
    if (empty()) return;
    std::string names;
    for (std::string_view column : columns_)
        names += (names.empty() ? "" : ",") + columnName(column);
    const std::string qualified = ReplaceSchema("[User]" + std::string(table));
    connect::NativeParams params{{json_ + "]"}, {0}};
    RunNative("INSERT INTO " + qualified + "(" + names + ") SELECT " + names +
                  " FROM json_populate_recordset(NULL::" + qualified + ", $1::json)",
              params);
}

std::vector<int32_t> RowSet::newIDs(std::string_view table, size_t count) {
    connect::NativeParams params{
        {ReplaceSchema("[User]" + std::string(table) + "_SEQ"), std::to_string(count)}, {0, 0}};
    connect::PgResult result =
        RunNative("SELECT nextval($1::regclass) FROM generate_series(1, $2::integer)", params);
    std::vector<int32_t> ids;
    for (int i = 0; i < PQntuples(result.get()); ++i)
        ids.push_back(std::stoi(PQgetvalue(result.get(), i, 0)));
    return ids;
}

}  // namespace tk::am
