#include "frame/Utility.hpp"

#include <dlfcn.h>

#include <chrono>
#include <ctime>
#include <fstream>
#include <mutex>

#include "connect/Connection.hpp"
#include "connect/Session.hpp"
#include "frame/Context.hpp"
#include "frame/Conversion.hpp"

namespace tk::am {
namespace fs = std::filesystem;
namespace {

constexpr uintmax_t kMaxLogBytes = 2097152;

std::mutex gFolderMutex;
fs::path gComponentFolder;

fs::path libraryPath() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&libraryPath), &info) && info.dli_fname)
        return fs::absolute(info.dli_fname);
    return fs::current_path() / "TkAMAssetInt";
}

std::string localTimestamp() {
    std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm local{};
    localtime_r(&now, &local);
    char buffer[32];
    std::strftime(buffer, sizeof buffer, "%Y-%m-%d %H:%M:%S", &local);
    return buffer;
}

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

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
    if (from.empty()) return text;
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

std::string FormatTemplate(std::string text, std::initializer_list<std::string> args) {
    int n = 0;
    for (const auto& arg : args) text = ReplaceAll(text, "{" + std::to_string(n++) + "}", arg);
    return text;
}

std::string Trim(const std::string& text) {
    size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

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

void SetComponentFolder(const fs::path& folder) {
    std::lock_guard lock(gFolderMutex);
    gComponentFolder = folder;
}

fs::path ComponentFolder() {
    std::lock_guard lock(gFolderMutex);
    return gComponentFolder.empty() ? LibraryFolder() : gComponentFolder;
}

fs::path LibraryFolder() { return libraryPath().parent_path(); }

std::string ComponentName() { return libraryPath().stem().string(); }

bool WriteLog(const std::string& text, const std::string& logName, int16_t overwrite) {
    std::error_code ec;
    fs::path folder = ComponentFolder() / "log";
    fs::create_directories(folder, ec);
    fs::path file = folder / ((logName.empty() ? ComponentName() : logName) + ".log");
    if (fs::exists(file, ec) && fs::file_size(file, ec) > kMaxLogBytes) fs::remove(file, ec);
    std::ofstream out(file, std::ios::binary | (overwrite ? std::ios::trunc : std::ios::app));
    out << "[" << localTimestamp() << "]" << text << kCrLf;
    out.close();
    return !out.fail();
}

std::string OrganizationView(const std::string& table, int32_t organizationID) {
    std::string n = std::to_string(organizationID);
    return ReplaceSchema(" (Select fm.*," + n + " As lngOrganizationID From [User]" + table +
                         " fm Where Not Exists \n (Select 1 From [User]" + table +
                         "Ex ex Where ex.lng" + table + "ID = fm.lng" + table +
                         "ID And ex.lngOrganizationID = " + n + ") \n Union Select * From [User]" +
                         table + "Ex ex Where ex.lngOrganizationID = " + n + ") " + table);
}

std::string GetCodeName(int32_t id, const std::string& table, int16_t kind,
                        int32_t organizationID) {
    std::string lower = lowerAscii(table);
    std::string code = "{0}.str{0}Code", name = "{0}.str{0}Name", key = "{0}.lng{0}ID";
    auto family = [&](const std::string& stem, const std::string& idColumn) {
        code = "{0}.str" + stem + "Code";
        name = "{0}.str" + stem + "Name";
        key = "{0}." + idColumn;
    };
    if (lower == "currencys")
        family("Currency", "lngCurrencyID");
    else if (lower == "class1" || lower == "class2")
        family("Class", "lngClassID");
    else if (lower.size() == 7 && lower.starts_with("custom") && lower[6] >= '0' && lower[6] <= '5')
        family("Custom", "lngCustomID");
    else if (lower >= "flexiblefield01" && lower <= "flexiblefield30")
        family("Field", "lngFieldID");
    std::string codeName = code + " || ' ' || " + name;
    for (std::string* part : {&code, &name, &key, &codeName})
        *part = FormatTemplate(*part, {table});
    std::string sql;
    if (lower == "amassetmethod")
        sql = " SELECT " + code + " As strCode," + name + " As strName," + codeName +
              " As strCodeName FROM " + OrganizationView("AMAssetMethod", organizationID);
    else if (lower == "template")
        sql = " SELECT ' ' As strCode," + name + " As strName," + name +
              " As strCodeName FROM [User]" + table;
    else
        sql = " SELECT " + code + " As strCode," + name + " As strName," + codeName +
              " As strCodeName FROM [User]" + table;
    RecordsetPtr rs = OpenRecordset(sql + " WHERE " + key + " = " + std::to_string(id), 3, 1);
    std::string result;
    if (!IsRecordsetEmpty(rs)) {
        static const char* kByKind[] = {"strCodeName", "strCode", "strName"};
        if (kind >= 0 && kind <= 2) result = rs->field(kByKind[kind]).toText();
    }
    CloseRecordset(rs);
    return result;
}

}  // namespace tk::am
