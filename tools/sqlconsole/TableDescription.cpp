// Reading a table's columns from the dictionary view and printing them.
#include "TableDescription.hpp"

#include <algorithm>
#include <optional>
#include <vector>

#include "CommandText.hpp"
#include "Feedback.hpp"
#include "connect/DatabaseError.hpp"
#include "connect/Session.hpp"

namespace tk::console {
namespace {

struct Column {
    std::string name, type;
    bool notNull = false;
};

// Dictionary names are upper case unless quoted.
std::string dictionaryName(const std::string& part) {
    bool quoted = part.size() >= 2 && part.front() == '"' && part.back() == '"';
    return quoted ? unquoted(part) : upperAscii(part);
}

std::string typeOf(const PGresult* r, int row) {
    auto field = [&](int column) -> std::optional<std::string> {
        if (PQgetisnull(r, row, column)) return std::nullopt;
        return PQgetvalue(r, row, column);
    };
    std::string type = *field(2);
    auto length = field(3), precision = field(4), scale = field(5);
    if (type == "NUMBER" && precision)
        return type + "(" + *precision + (scale && *scale != "0" ? "," + *scale : "") + ")";
    if (type.find("CHAR") != std::string::npos && length) return type + "(" + *length + ")";
    return type;
}

std::vector<Column> columnsOf(connect::Connection& connection, const std::string& object) {
    size_t dot = object.find('.');
    std::optional<std::string> owner;
    if (dot != std::string::npos) owner = dictionaryName(object.substr(0, dot));
    std::string table = dictionaryName(object.substr(dot == std::string::npos ? 0 : dot + 1));
    connect::PgResult r = connection.session().runNative(
        "SELECT column_name, nullable, data_type, data_length, data_precision, data_scale"
        " FROM oracompat.all_tab_columns"
        " WHERE owner = coalesce($1, upper(current_schema())) AND table_name = $2"
        " ORDER BY column_id",
        {{owner, table}, {}});
    std::vector<Column> columns;
    for (int i = 0; i < PQntuples(r.get()); ++i)
        columns.push_back({PQgetvalue(r.get(), i, 0), typeOf(r.get(), i),
                           std::string(PQgetvalue(r.get(), i, 1)) == "N"});
    if (columns.empty())
        throw connect::databaseError("ORA-04043", "object " + object + " does not exist");
    return columns;
}

size_t characters(const std::string& text) {
    return std::ranges::count_if(text, [](char c) { return (c & 0xC0) != 0x80; });
}

std::string padded(const std::string& text, size_t width) {
    return text + std::string(width - std::min(width, characters(text)), ' ');
}

}  // namespace

void TableDescription::print(connect::Connection& connection, const std::string& object,
                             std::ostream& out) {
    std::vector<Column> columns = columnsOf(connection, object);
    size_t width = 41;
    for (const Column& c : columns) width = std::max(width, characters(c.name));
    out << " " << padded("Name", width) << " Null?    Type\n"
        << " " << std::string(width, '-') << " -------- " << std::string(28, '-') << "\n";
    for (const Column& c : columns)
        out << " " << padded(c.name, width) << " " << padded(c.notNull ? "NOT NULL" : "", 8) << " "
            << c.type << "\n";
}

}  // namespace tk::console
