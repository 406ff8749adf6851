// A period read from "yyyy-MM", the period after it, and its text.
#include "ledger/YearPeriod.hpp"

#include <regex>
#include <stdexcept>

namespace tk::ledger {

YearPeriod YearPeriod::parse(const std::string& text) {
    static const std::regex kForm(R"((\d{4})-(\d{1,2}))");
    std::smatch match;
    if (std::regex_match(text, match, kForm)) {
        YearPeriod yp{std::stoi(match[1]), static_cast<int16_t>(std::stoi(match[2]))};
        if (yp.period >= 1 && yp.period <= 12) return yp;
    }
    throw std::runtime_error("会计期间格式无效(应为 yyyy-MM): \"" + text + "\"");
}

YearPeriod YearPeriod::next() const {
    return period >= 12 ? YearPeriod{year + 1, 1}
                        : YearPeriod{year, static_cast<int16_t>(period + 1)};
}

std::string YearPeriod::text() const {
    return std::to_string(year) + (period < 10 ? "-0" : "-") + std::to_string(period);
}

}  // namespace tk::ledger
