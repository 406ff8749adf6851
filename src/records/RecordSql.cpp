#include "records/RecordSql.hpp"

#include "frame/Utility.hpp"

namespace tk::am {
namespace {

constexpr int32_t kStatic = 3, kReadOnly = 1;

}  // namespace

bool ReadFirstRow(const std::string& sql,
                  const std::function<void(const connect::Recordset&)>& read) {
    RecordsetPtr rs = OpenRecordset(sql, kStatic, kReadOnly);
    bool found = !rs->eof();
    if (found) read(*rs);
    CloseRecordset(rs);
    return found;
}

bool ExecuteStatement(const std::string& sql) {
    std::string errorText;
    return ExecuteSql(sql, errorText);
}

bool HasRow(const std::string& sql) {
    return ReadFirstRow(sql, [](const connect::Recordset&) {});
}

}  // namespace tk::am
