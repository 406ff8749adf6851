// The checks of command-line texts, each error naming what the text was for.
#include "ledger/InputText.hpp"

#include <cmath>
#include <sstream>
#include <stdexcept>

#include "frame/DataAccess.hpp"
#include "frame/InputLimits.hpp"

namespace tk::ledger {

double parseNonNegative(const std::string& text, const std::string& what) {
    size_t used = 0;
    double value = -1;
    try {
        value = std::stod(text, &used);
    } catch (...) {
        used = 0;
    }
    if (used == 0 || used != text.size() || !std::isfinite(value))
        throw std::runtime_error(what + "不是数值: \"" + text + "\"");
    if (value < 0) throw std::runtime_error(what + "不能为负数: " + text);
    am::InputLimits::checkNumber(what, value);
    return value;
}

double parseAmount(const std::string& text, const std::string& what) {
    double value = parseNonNegative(text, what);
    am::InputLimits::checkAmount(what, value);
    return value;
}

int parseInteger(const std::string& text, int low, int high, const std::string& what) {
    size_t used = 0;
    int value = 0;
    try {
        value = std::stoi(text, &used);
    } catch (...) {
        used = 0;
    }
    if (used == 0 || used != text.size() || value < low || value > high)
        throw std::runtime_error(what + "无效: \"" + text + "\"");
    return value;
}

std::vector<std::string> splitParts(const std::string& text, size_t parts,
                                    const std::string& what) {
    std::vector<std::string> pieces;
    std::stringstream in(text);
    for (std::string piece; std::getline(in, piece, ':');) pieces.push_back(piece);
    if (pieces.size() != parts) throw std::runtime_error(what + "格式无效: \"" + text + "\"");
    return pieces;
}

std::string sqlText(const std::string& text) { return "'" + am::QuoteSql(text) + "'"; }

}  // namespace tk::ledger
