// The SQLSTATE-to-ORA code table and the error texts built from a failed PostgreSQL result.
#include "connect/DatabaseError.hpp"

#include <cctype>
#include <unordered_map>

namespace tk::connect {

std::string oracleCodeFor(const std::string& sqlstate) {
    static const std::unordered_map<std::string, std::string> kCodes = {
        {"23505", "ORA-00001"},  // unique constraint violated
        {"42P01", "ORA-00942"},  // table or view does not exist
        {"42703", "ORA-00904"},  // invalid identifier
        {"42883", "ORA-00904"},  // unknown function: Oracle names the identifier
        {"23502", "ORA-01400"},  // cannot insert NULL
        {"22001", "ORA-12899"},  // value too large for column
        {"22003", "ORA-01438"},  // value larger than precision
        {"22012", "ORA-01476"},  // divisor is equal to zero
        {"22P02", "ORA-01722"},  // invalid number
        {"23503", "ORA-02291"},  // integrity constraint violated
        {"42P07", "ORA-00955"},  // name is already used by an existing object
        {"42710", "ORA-00955"},  // duplicate object
        {"42701", "ORA-01430"},  // column being added already exists in table
        {"40P01", "ORA-00060"},  // deadlock
        {"40001", "ORA-08177"},  // can't serialize access for this transaction
        {"57014", "ORA-01013"},  // user requested cancel
        {"55000", "ORA-08002"},  // sequence CURRVAL is not yet defined in this session
        {"42601", "ORA-00900"},  // invalid SQL statement
        {"42501", "ORA-01031"},  // insufficient privileges
    };
    auto it = kCodes.find(sqlstate);
    return it == kCodes.end() ? std::string() : it->second;
}

RunTimeError databaseError(const std::string& oracleCode, const std::string& message) {
    return RunTimeError(errors::kDatabase,
                        oracleCode.empty() ? message : oracleCode + ": " + message);
}

namespace {

// "function oracompat.to_char(boolean) does not exist" → "TO_CHAR": Oracle's
// ORA-00904 names the identifier it does not know.
std::string unknownFunctionName(const std::string& message) {
    const std::string prefix = "function ";
    size_t open = message.find('(');
    if (message.rfind(prefix, 0) != 0 || open == std::string::npos) return {};
    std::string name = message.substr(prefix.size(), open - prefix.size());
    name = name.substr(name.rfind('.') == std::string::npos ? 0 : name.rfind('.') + 1);
    for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return name;
}

}  // namespace

RunTimeError databaseError(const PGresult* result, const PGconn* conn) {
    const char* state = result ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
    const char* primary = result ? PQresultErrorField(result, PG_DIAG_MESSAGE_PRIMARY) : nullptr;
    std::string message = primary ? primary : PQerrorMessage(conn);
    while (!message.empty() && message.back() == '\n') message.pop_back();
    std::string function = unknownFunctionName(message);
    if (!function.empty()) {
        message =
            "\"" + function + "\": invalid identifier (不支持的函数或参数类型: " + message + ")";
    }
    return databaseError(oracleCodeFor(state ? state : ""), message);
}

}  // namespace tk::connect
