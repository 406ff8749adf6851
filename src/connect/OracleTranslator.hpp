#pragma once
#include <stdexcept>
#include <string>
#include <string_view>

namespace tk::connect {

struct Translation {
    std::string sql;
    std::string insertTable;
    std::string insertSelect;
    int insertValueCount = -1;
};

class TranslationError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class OracleTranslator {
public:
    static Translation translate(std::string_view oracleSql, bool inTransaction);
};

}  // namespace tk::connect
