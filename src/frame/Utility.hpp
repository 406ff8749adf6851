#pragma once
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "connect/Recordset.hpp"
#include "connect/Session.hpp"
#include "frame/PublicDef.hpp"

namespace tk::am {

using RecordsetPtr = std::shared_ptr<connect::Recordset>;

// Schema placeholders "[User]", "[OldUser]", "[NewUser]", "[BaseUser]" become
// the schema name and a dot, or nothing when the name is empty.
std::string ReplaceSchema(const std::string& sql);
// Opens a text through the thread's connection; database errors reach the caller.
RecordsetPtr OpenRecordset(const std::string& sql, int32_t cursorType, int32_t lockType);
// Runs one statement; never raises. On failure `errorText` holds "number:description".
bool ExecuteSql(const std::string& sql, std::string& errorText);
// Runs one statement in PostgreSQL's own dialect, untranslated (schema
// placeholders replaced); database errors reach the caller. Logged as
// ExecuteSql logs its statements.
void RunNative(const std::string& sql);
// The same with parameters, giving the result; the log shows each
// parameter's value after the statement, a long one cut short.
connect::PgResult RunNative(const std::string& sql, const connect::NativeParams& params);
// The error of the last statement that failed on this thread in ExecuteSql or
// RunNative (number 0 when none since ClearSqlError): the reason for a caller
// that learns only of the failure.
const ErrorInfo& LastSqlError();
void ClearSqlError();
void CloseRecordset(RecordsetPtr& rs);
bool IsRecordsetEmpty(const RecordsetPtr& rs);
std::string QuoteSql(const std::string& text);
// The next id for a new row of `table` from its sequence; 0 on any error.
int32_t GetNewID(const std::string& table, const std::string& schema = "");
std::string AppendErrorText(const ErrorInfo& err, const std::string& text);
bool WriteLog(const std::string& text, const std::string& logName = "", int16_t overwrite = 0);
std::string OrganizationView(const std::string& table, int32_t organizationID);
std::string GetCodeName(int32_t id, const std::string& table, int16_t kind, int32_t organizationID);

// Fills every "{n}" hole of a template with the argument text.
std::string FormatTemplate(std::string text, std::initializer_list<std::string> args);
// Every occurrence of `from` replaced by `to`.
std::string ReplaceAll(std::string text, const std::string& from, const std::string& to);
// Surrounding blanks removed (spaces only, as the host language's Trim).
std::string Trim(const std::string& text);

// The component's folder (logs and data live under it) and its file name.
void SetComponentFolder(const std::filesystem::path& folder);
std::filesystem::path ComponentFolder();
// The folder the library file itself lies in, whatever folder the host named.
std::filesystem::path LibraryFolder();
std::string ComponentName();

}  // namespace tk::am
