#include "connect/OracleTranslator.hpp"

namespace tk::connect {

Translation OracleTranslator::translate(std::string_view oracleSql, bool) {
    return Translation{std::string(oracleSql), {}, {}, -1};
}

}  // namespace tk::connect
