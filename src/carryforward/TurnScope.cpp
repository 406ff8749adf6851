// The day before the carry-forward date, the date's form and validity checked first.
#include "carryforward/TurnScope.hpp"

#include <chrono>
#include <cstdio>

#include "host/RunTimeError.hpp"

namespace tk::am {

std::string TurnScope::prevDay() const {
    int year = 0;
    unsigned month = 0, day = 0;
    bool shaped = turnDate.size() == 10 && turnDate[4] == '-' && turnDate[7] == '-' &&
                  turnDate.find_first_not_of("0123456789-") == std::string::npos;
    if (!shaped || std::sscanf(turnDate.c_str(), "%d-%u-%u", &year, &month, &day) != 3)
        throw RunTimeError(errors::kTypeMismatch, "结转日期不是 yyyy-MM-dd 格式: " + turnDate);
    std::chrono::year_month_day date{std::chrono::year(year), std::chrono::month(month),
                                     std::chrono::day(day)};
    if (!date.ok()) throw RunTimeError(errors::kTypeMismatch, "结转日期无效: " + turnDate);
    std::chrono::year_month_day before{std::chrono::sys_days(date) - std::chrono::days(1)};
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(before.year()),
                  static_cast<unsigned>(before.month()), static_cast<unsigned>(before.day()));
    return text;
}

}  // namespace tk::am
