// Existence answers cached for the thread's lifetime, and truncation, deletion, recompiling
// and sequence resets.
#include "frame/Dictionary.hpp"

#include <algorithm>
#include <optional>
#include <unordered_map>

#include "connect/Connection.hpp"
#include "frame/Context.hpp"
#include "frame/Conversion.hpp"
#include "frame/DataAccess.hpp"

namespace tk::am {
namespace {

// Never cleared while the thread lives: the upgrade asks about the same tables
// and columns over and over, and a dictionary query per question is too slow.
std::unordered_map<std::string, std::string>& ExistenceCache() {
    thread_local std::unordered_map<std::string, std::string> cache;
    return cache;
}

// One connection serves one pair of account sets; TableExists adds the owner.
std::string CacheKey(const std::string& suffix) {
    const connect::Connection& conn = connection();
    return conn.UserName + "@" + conn.ServerName + ":" + suffix;
}

std::optional<bool> CachedAnswer(const std::string& key) {
    auto& cache = ExistenceCache();
    auto it = cache.find(key);
    if (it == cache.end()) return std::nullopt;
    return ToLong(it->second) != 0;
}

// Asks the dictionary once per key; an error answers false and is not remembered.
bool HasRow(const std::string& keySuffix, const std::string& sql) {
    try {
        std::string key = CacheKey(keySuffix);
        if (auto cached = CachedAnswer(key)) return *cached;
        auto rs = connection().GetRecordset(sql, connect::adOpenStatic, connect::adLockReadOnly);
        bool empty = true;
        connection().IsRsEmpty(rs, empty);
        ExistenceCache()[key] = empty ? "0" : "1";
        return !empty;
    } catch (...) {
        return false;
    }
}

// A single value of a look-up; 0 when the statement fails or has no row.
int32_t ScalarOrZero(const std::string& sql) {
    try {
        RecordsetPtr rs = OpenRecordset(sql, 0, connect::adLockReadOnly);
        int32_t value = IsRecordsetEmpty(rs) ? 0 : rs->field(0).toInt32();
        CloseRecordset(rs);
        return value;
    } catch (...) {
        return 0;
    }
}

std::string SequenceKeyColumn(const std::string& table) {
    std::string lower = lowerAscii(table);
    return lower == "class1" || lower == "class2" ? "lngClassID" : "lng" + table + "ID";
}

}  // namespace

// Keyed by owner as well: a carry-forward asks about the same table in two account sets.
bool TableExists(const std::string& table, const std::string& owner) {
    return HasRow(UpperAscii(owner) + "." + UpperAscii(table),
                  "select 1 from all_tables where upper(owner) = '" + UpperAscii(owner) +
                      "' and upper(table_name) = '" + UpperAscii(table) + "'");
}

bool ColumnExists(const std::string& table, const std::string& column, const std::string& owner) {
    return HasRow(table + ":" + column, "select 1 from all_tab_columns where upper(owner) = '" +
                                            UpperAscii(owner) + "' and upper(table_name) = '" +
                                            UpperAscii(table) + "' and upper(column_name) = '" +
                                            UpperAscii(column) + "'");
}

bool TableReadable(const std::string& table, const std::string& owner) {
    try {
        std::string key = CacheKey(table);
        if (CachedAnswer(key).value_or(false)) return true;
        auto rs = connection().GetRecordset("Select 1 From " + owner + "." + table + " Where 1=0",
                                            connect::adOpenStatic, connect::adLockReadOnly);
        ExistenceCache()[key] = "1";
        return true;
    } catch (...) {
        return false;
    }
}

bool TruncateTable(const std::string& table, const std::string& owner) {
    return ExecuteSql(FormatTemplate("Truncate Table {0}.{1}", {owner, table}));
}

bool DeleteWhere(const std::string& table, const std::string& owner, const std::string& condition) {
    std::string sql = FormatTemplate("Delete From {0}.{1}", {owner, table});
    if (!condition.empty()) sql += " Where " + condition;
    return ExecuteSql(sql);
}

bool CompileFunction(const std::string& function, const std::string& owner) {
    return ExecuteSql(FormatTemplate("ALTER FUNCTION {0}.{1} COMPILE", {owner, function}));
}

// A sequence is never set below a value any session may have drawn: the
// current value is this connection's, or the highest any other may hold.
bool ResetSequence(const std::string& table, const std::string& owner) {
    int32_t nextKey =
        ScalarOrZero(FormatTemplate("Select Nvl(Max(t.{2})+1,0) As lngMaxValue From {0}.{1} t",
                                    {owner, table, SequenceKeyColumn(table)}));
    int32_t current =
        std::max(ScalarOrZero(FormatTemplate("Select {0}.{1}_Seq.currval As lngNowValue From dual",
                                             {owner, table})),
                 ScalarOrZero(FormatTemplate("Select last_number - 1 From all_sequences Where "
                                             "sequence_owner = '{0}' And sequence_name = '{1}_SEQ'",
                                             {UpperAscii(owner), UpperAscii(table)})));
    if (nextKey < 1 || nextKey <= current) return true;
    return ExecuteSql(FormatTemplate("Drop Sequence {0}.{1}_SEQ", {owner, table})) &&
           ExecuteSql(FormatTemplate(" Create Sequence {0}.{1}_SEQ MinValue 1 MaxValue 2147483647 "
                                     "Start With {2} Increment By 1 Cache 20 Cycle",
                                     {owner, table, std::to_string(nextKey)}));
}

}  // namespace tk::am
