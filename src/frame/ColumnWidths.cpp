// Column widths read from information_schema once per schema and table, kept per thread.
#include "frame/ColumnWidths.hpp"

#include "frame/Context.hpp"
#include "frame/Conversion.hpp"
#include "frame/DataAccess.hpp"
#include "host/Dispatchable.hpp"

namespace tk::am {

std::optional<int> ColumnWidths::of(std::string_view table, std::string_view column) {
    const auto& widths = tableWidths(lowerAscii(table));
    auto it = widths.find(lowerAscii(column));
    if (it == widths.end()) return std::nullopt;
    return it->second;
}

const std::map<std::string, int>& ColumnWidths::tableWidths(const std::string& table) {
    // Account sets share one layout, but a thread may move between them.
    thread_local std::map<std::string, std::map<std::string, int>> known;
    const std::string schema =
        lowerAscii(Trim(context().User).empty() ? connection().UserName : Trim(context().User));
    const std::string key = schema + "." + table;
    auto found = known.find(key);
    if (found != known.end()) return found->second;
    auto& widths = known[key];
    RecordsetPtr rs = OpenRecordset(
        "Select lower(column_name), character_maximum_length From information_schema.columns"
        " Where table_schema = '" +
            QuoteSql(schema) + "' And table_name = '" + QuoteSql(table) +
            "' And character_maximum_length Is Not Null",
        3, 1);
    for (; !rs->eof(); rs->moveNext()) widths[rs->field(0).toText()] = rs->field(1).toInt32();
    CloseRecordset(rs);
    return widths;
}

}  // namespace tk::am
