#include "records/RecordSql.hpp"

#include "frame/Utility.hpp"

namespace tk::am {
namespace {

constexpr int32_t kStatic = 3, kReadOnly = 1;

}  // namespace

bool ExecuteInOrder(std::initializer_list<std::string> statements) {
    std::string errorText;
    for (const std::string& sql : statements)
        if (!ExecuteSql(sql, errorText)) return false;
    return true;
}

bool HasRow(const std::string& sql) {
    return ReadFirstRow(sql, [](const connect::Recordset&) {});
}

bool ReadFirstRow(const std::string& sql,
                  const std::function<void(const connect::Recordset&)>& read) {
    RecordsetPtr rs = OpenRecordset(sql, kStatic, kReadOnly);
    bool found = !rs->eof();
    if (found) read(*rs);
    CloseRecordset(rs);
    return found;
}

}  // namespace tk::am
