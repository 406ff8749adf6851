// The organisation, dates and periods one carry-forward works on.
#pragma once
#include <cstdint>
#include <string>

namespace tk::am {

// What one carry-forward works on: the organisation, its dates and the two
// periods either side of the boundary, read from the account sets' period tables.
struct TurnScope {
    int32_t organization = 0;
    std::string turnDate, startDate;
    int16_t turnYear = 0;    // written to the log only
    uint8_t turnPeriod = 0;  // written to the log only
    int32_t newYear = 0, newPeriod = 0, prevYear = 0, prevPeriod = 0;

    std::string org() const { return std::to_string(organization); }
    int32_t newYearPeriod() const { return newYear * 100 + newPeriod; }
    int32_t prevYearPeriod() const { return prevYear * 100 + prevPeriod; }
    std::string yp() const { return std::to_string(newYearPeriod()); }
    // The day before the carry-forward date, "yyyy-MM-dd".
    std::string prevDay() const;
    // The organisation started in the old account set on the carry-forward date.
    bool startsOnTurnDate() const { return startDate == turnDate; }
};

}  // namespace tk::am
