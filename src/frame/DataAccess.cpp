// The component's one way to the database: schema placeholders, statements
// run and logged, recordsets opened and closed, new ids, error texts.
#include "frame/DataAccess.hpp"

#include "connect/Connection.hpp"
#include "frame/Context.hpp"
#include "frame/Conversion.hpp"
#include "frame/Log.hpp"

namespace tk::am {
namespace {

void dropTemporarySegments() {
    RecordsetPtr rs = OpenRecordset(
        "select ts#+1 as tmp, name from sys.ts$ where name='" + context().User + "_TMP'", 3, 1);
    if (!IsRecordsetEmpty(rs)) {
        int32_t count = 0;
        bool ok = false;
        connection().ExecSql("alter session set events 'immediate trace name DROP_SEGMENTS level " +
                                 rs->field("tmp").toText() + "'",
                             1, count, ok);
    }
    CloseRecordset(rs);
}

}  // namespace

std::string ReplaceSchema(const std::string& sql) {
    const Context& c = context();
    auto prefix = [](const std::string& schema) { return schema.empty() ? schema : schema + "."; };
    std::string out = ReplaceAll(sql, "[User]", prefix(c.User));
    out = ReplaceAll(out, "[OldUser]", prefix(c.OldUser));
    out = ReplaceAll(out, "[NewUser]", prefix(c.NewUser));
    return ReplaceAll(out, "[BaseUser]", prefix(c.BaseUser));
}

namespace {

thread_local ErrorInfo tLastSqlError;

// A statement that failed: "errSql" gets it with its reason, and the thread
// keeps the reason for the caller that only learns of the failure.
void LogFailure(const std::string& statement) {
    tLastSqlError = ErrorInfo::current();
    WriteLog("ExecSql:#" + std::to_string(tLastSqlError.number) + ":" + tLastSqlError.description +
                 kCrLf + statement + kCrLf,
             "errSql", 0);
}

}  // namespace

const ErrorInfo& LastSqlError() { return tLastSqlError; }

void ClearSqlError() { tLastSqlError = {}; }

void RunNative(const std::string& sql) { RunNative(sql, {}); }

connect::PgResult RunNative(const std::string& sql, const connect::NativeParams& params) {
    const std::string statement = ReplaceSchema(sql);
    std::string logged = statement;
    for (size_t i = 0; i < params.values.size(); ++i) {
        const auto& value = params.values[i];
        logged += std::string(kCrLf) + "-- $" + std::to_string(i + 1) + " = " +
                  (!value                     ? "NULL"
                   : CharLength(*value) > 200 ? CharLeft(*value, 200) + "…"
                                              : *value);
    }
    try {
        connect::PgResult result = connection().session().runNative(statement, params);
        WriteLog(logged + kCrLf, "sql", 0);
        return result;
    } catch (...) {
        WriteLog(logged + kCrLf, "sql", 0);
        LogFailure(logged);
        throw;
    }
}

RecordsetPtr OpenRecordset(const std::string& sql, int32_t cursorType, int32_t lockType) {
    return connection().GetRecordset(ReplaceSchema(sql), cursorType, lockType, 1, 0);
}

bool ExecuteSql(const std::string& sql, std::string& errorText) {
    bool result = false;
    std::string statement;
    try {
        statement = ReplaceSchema(sql);
        int32_t count = 0;
        try {
            connection().ExecSql(statement, 1, count, result);
        } catch (...) {
            // Every statement is logged, successful or not.
            WriteLog(statement + kCrLf, "sql", 0);
            throw;
        }
        WriteLog(statement + kCrLf, "sql", 0);
        dropTemporarySegments();
    } catch (...) {
        LogFailure(statement);
        errorText = std::to_string(tLastSqlError.number) + ":" + tLastSqlError.description;
    }
    return result;
}

bool ExecuteSql(const std::string& sql) {
    std::string errorText;
    return ExecuteSql(sql, errorText);
}

void CloseRecordset(RecordsetPtr& rs) {
    try {
        if (rs && rs->isOpen()) rs->close();
    } catch (...) {
    }
    rs.reset();
}

bool IsRecordsetEmpty(const RecordsetPtr& rs) {
    try {
        return !rs || (rs->bof() && rs->eof());
    } catch (...) {
        return true;
    }
}

std::string QuoteSql(const std::string& text) { return ReplaceAll(text, "'", "''"); }

int32_t GetNewID(const std::string& table, const std::string& schema) {
    static const char* kManufacturing[] = {
        "MMFORECAST", "MMFORECASTDETAIL", "MMMATERIAL",     "MMMATERIALDETAIL", "MMMATERIALDETAIL1",
        "MMORDER",    "MMORDERDETAIL",    "MMORDERDETAIL1", "MMPRODUCT",        "MMPRODUCTDETAIL"};
    try {
        std::string prefix = Trim(schema).empty() ? "[User]" : schema + ".";
        std::string upper = table;
        for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        std::string sql = "SELECT {0}" + table + "_SEQ.NEXTVAL FROM DUAL";
        for (const char* name : kManufacturing)
            if (upper == name) sql = "SELECT {0}MMActivity_SEQ.NEXTVAL FROM DUAL";
        if (upper == "VIEWFIELD") sql = "SELECT Max(lngViewFieldID)+1 FROM {0}VIEWFIELD";
        RecordsetPtr rs = OpenRecordset(FormatTemplate(sql, {prefix}), 3, 1);
        int32_t id = rs->field(0).toInt32();
        connection().CloseRs(rs);
        return id;
    } catch (...) {
        return 0;
    }
}

std::string AppendErrorText(const ErrorInfo& err, const std::string& text) {
    std::string suffix = "#" + std::to_string(err.number) + ":" + err.description;
    if (Trim(text).empty()) return suffix;
    return err.number != 0 ? text + suffix : text;
}

}  // namespace tk::am
