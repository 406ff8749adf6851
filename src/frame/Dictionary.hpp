// Which tables and columns an account set has, and the statements that maintain its schema.
#pragma once
#include <string>

namespace tk::am {

// Existence checks against the Oracle dictionary, cached per thread by login,
// server and table (and column).
bool TableExists(const std::string& table, const std::string& owner);
bool ColumnExists(const std::string& table, const std::string& column, const std::string& owner);
bool TableReadable(const std::string& table, const std::string& owner);

// Schema maintenance; each reports by result, failures go to the "errSql" log.
bool TruncateTable(const std::string& table, const std::string& owner);
bool DeleteWhere(const std::string& table, const std::string& owner, const std::string& condition);
bool CompileFunction(const std::string& function, const std::string& owner);
bool ResetSequence(const std::string& table, const std::string& owner);

// The depreciation routines a new account set has recompiled once its tables are filled.
inline constexpr const char* kDepreciationRoutines[] = {
    "GetDeprectionFromDDB",      "GetDeprectionFromGDP",
    "GetDeprectionFromSLN",      "GetDeprectionFromSYD",
    "GetDeprectionFromUPD",      "GetNextPeriod",
    "GetDeprectionPeriod",       "GetInitDeprectionFromDDB",
    "GetInitDeprectionFromGDP",  "GetInitDeprectionFromSLN",
    "GetInitDeprectionFromSYD",  "GetInitDeprectionFromUPD",
    "AMAssetWriteBalance",       "AMAssetWriteBalanceAmortise",
    "AMAssetAmortise",           "AMAssetActDaily",
    "AMAssetDeprectionWork",     "AMAssetDeprectionSlnx",
    "AMAssetDeprectionProcess1", "AMAssetDeprectionProcess2",
    "AMAssetDeprection",         "AMAssetCalcUpdate",
    "AMAssetCalcWork",           "AMAssetCalcDec",
    "AMAssetCalcAlter",          "AMAssetCalcAdd"};

}  // namespace tk::am
