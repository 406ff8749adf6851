// The component's one way to the database: every statement goes through
// these, which put in the schema names, log it and report its failure.
#pragma once
#include <cstdint>
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
// The same for a caller that needs only the outcome: the reason is in the
// "errSql" log and in LastSqlError.
bool ExecuteSql(const std::string& sql);
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
// Single quotes doubled, for a text pasted into SQL.
std::string QuoteSql(const std::string& text);
// The next id for a new row of `table` from its sequence; 0 on any error.
int32_t GetNewID(const std::string& table, const std::string& schema = "");
// "#number:description" of an error after `text`.
std::string AppendErrorText(const ErrorInfo& err, const std::string& text);

}  // namespace tk::am
