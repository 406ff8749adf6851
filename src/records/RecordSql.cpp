// The first row read through a static read-only recordset, closed again at once.
#include "records/RecordSql.hpp"

#include "frame/DataAccess.hpp"

namespace tk::am {
namespace {}  // namespace

bool ReadFirstRow(const std::string& sql,
                  const std::function<void(const connect::Recordset&)>& read) {
    RecordsetPtr rs = OpenRecordset(sql, connect::adOpenStatic, connect::adLockReadOnly);
    bool found = !rs->eof();
    if (found) read(*rs);
    CloseRecordset(rs);
    return found;
}

bool HasRow(const std::string& sql) {
    return ReadFirstRow(sql, [](const connect::Recordset&) {});
}

}  // namespace tk::am
