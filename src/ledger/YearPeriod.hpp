// An accounting period: year and period, keyed year * 100 + period.
#pragma once
#include <cstdint>
#include <string>

namespace tk::ledger {

// An accounting period as the tables key it: year * 100 + period.
struct YearPeriod {
    int32_t year = 0;
    int16_t period = 0;

    // "yyyy-MM"; anything else raises an error naming the text.
    static YearPeriod parse(const std::string& text);
    static YearPeriod fromKey(int32_t key) { return {key / 100, static_cast<int16_t>(key % 100)}; }
    int32_t key() const { return year * 100 + period; }
    YearPeriod next() const;
    std::string text() const;
    bool operator<=(const YearPeriod& other) const { return key() <= other.key(); }
};

}  // namespace tk::ledger
