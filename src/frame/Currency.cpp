// Currency look-ups in an account set's Currencys table; a converted amount is rounded
// to the currency's decimals.
#include "frame/Currency.hpp"

#include "frame/Conversion.hpp"
#include "frame/DataAccess.hpp"

namespace tk::am {
namespace {

RecordsetPtr OpenForLookup(const std::string& sql) {
    return OpenRecordset(sql, connect::adOpenForwardOnly, connect::adLockReadOnly);
}

// Reads the two precisions of the current row; false (and the fallbacks) when there is none.
bool ReadPrecision(RecordsetPtr& rs, int32_t& currencyDecimals, int32_t& rateDecimals) {
    bool found = !IsRecordsetEmpty(rs);
    currencyDecimals = found ? rs->field("bytCurrencyDec").toInt32() : 2;
    rateDecimals = found ? rs->field("bytRateDec").toInt32() : 2;
    CloseRecordset(rs);
    return found;
}

}  // namespace

bool GetBaseCurrency(int32_t& currencyID, int32_t& currencyDecimals, int32_t& rateDecimals,
                     const std::string& schema) {
    RecordsetPtr rs = OpenForLookup(
        " SELECT c.lngCurrencyID, c.bytCurrencyDec, c.bytRateDec FROM " + schema + ".Currencys c," +
        schema + ".Business b WHERE c.lngCurrencyID = b.lngCurrencyID");
    currencyID = IsRecordsetEmpty(rs) ? 1 : rs->field("lngCurrencyID").toInt32();
    return ReadPrecision(rs, currencyDecimals, rateDecimals);
}

bool GetCurrencyPrecision(int32_t currencyID, int32_t& currencyDecimals, int32_t& rateDecimals,
                          const std::string& schema) {
    RecordsetPtr rs =
        OpenForLookup(" SELECT bytCurrencyDec,bytRateDec FROM " + schema +
                      ".Currencys WHERE lngCurrencyID = " + std::to_string(currencyID));
    return ReadPrecision(rs, currencyDecimals, rateDecimals);
}

bool IsIndirectQuote(int32_t currencyID, const std::string& schema) {
    RecordsetPtr rs =
        OpenForLookup("SELECT blnIsIndirect FROM " + schema +
                      ".Currencys WHERE lngCurrencyID = " + std::to_string(currencyID));
    bool indirect = !IsRecordsetEmpty(rs) && rs->field("blnIsIndirect").toDouble() != 0;
    CloseRecordset(rs);
    return indirect;
}

double ConvertCurrencyAmount(int32_t currencyID, double rate, double amount,
                             const std::string& schema) {
    if (rate == 0) rate = 1;
    double converted = IsIndirectQuote(currencyID, schema) ? amount * rate : amount / rate;
    int32_t currencyDecimals = 2, rateDecimals = 2;
    GetCurrencyPrecision(currencyID, currencyDecimals, rateDecimals, schema);
    return RoundToPattern(converted, AmountFormat(currencyDecimals));
}

}  // namespace tk::am
