// Currency look-ups: the base currency, a currency's precisions and quotation, and
// amounts converted at a rate.
#pragma once
#include <cstdint>
#include <string>

namespace tk::am {

bool GetBaseCurrency(int32_t& currencyID, int32_t& currencyDecimals, int32_t& rateDecimals,
                     const std::string& schema);
bool GetCurrencyPrecision(int32_t currencyID, int32_t& currencyDecimals, int32_t& rateDecimals,
                          const std::string& schema);
bool IsIndirectQuote(int32_t currencyID, const std::string& schema);
double ConvertCurrencyAmount(int32_t currencyID, double rate, double amount,
                             const std::string& schema);

}  // namespace tk::am
