// Currencies read from a named account set: the base currency, precisions,
// indirect quotes and conversion with rounding.
#include <gtest/gtest.h>

#include "TestDatabase.hpp"
#include "frame/Context.hpp"
#include "frame/Currency.hpp"

namespace tk::am {
namespace {

// Currencies live in a schema named by the caller, not necessarily the current one.
class Currencies : public ::testing::Test {
  protected:
    test::TestSchema books{"books"};
    test::TestSchema other{"current"};

    void SetUp() override {
        context() = Context{};
        context().User = other.name();
        context().ConnBase = other.connect();
        books.admin(
            "CREATE TABLE Currencys (lngCurrencyID integer, strCurrencyCode varchar(10), "
            "bytCurrencyDec integer, bytRateDec integer, blnIsIndirect integer);"
            "CREATE TABLE Business (lngCurrencyID integer, strAccountSystem varchar(10));"
            "INSERT INTO Currencys VALUES (1, 'RMB', 2, 4, 0), (2, 'USD', 3, 6, 0), "
            "(3, 'JPY', 0, 2, 1)");
    }
    void TearDown() override { context() = Context{}; }
};

TEST_F(Currencies, BaseCurrencyIsTheBusinessCurrency) {
    books.admin("INSERT INTO Business VALUES (2, '13')");
    int32_t id = 0, decimals = 0, rateDecimals = 0;
    EXPECT_TRUE(GetBaseCurrency(id, decimals, rateDecimals, books.name()));
    EXPECT_EQ(id, 2);
    EXPECT_EQ(decimals, 3);
    EXPECT_EQ(rateDecimals, 6);
    books.admin("DELETE FROM Business");
    EXPECT_FALSE(GetBaseCurrency(id, decimals, rateDecimals, books.name()));
    EXPECT_EQ(id, 1);
    EXPECT_EQ(decimals, 2);
    EXPECT_EQ(rateDecimals, 2);
}

TEST_F(Currencies, PrecisionAndQuoteOfAKnownAndAnUnknownCurrency) {
    int32_t decimals = 0, rateDecimals = 0;
    EXPECT_TRUE(GetCurrencyPrecision(3, decimals, rateDecimals, books.name()));
    EXPECT_EQ(decimals, 0);
    EXPECT_EQ(rateDecimals, 2);
    EXPECT_FALSE(GetCurrencyPrecision(99, decimals, rateDecimals, books.name()));
    EXPECT_EQ(decimals, 2);
    EXPECT_EQ(rateDecimals, 2);
    EXPECT_TRUE(IsIndirectQuote(3, books.name()));
    EXPECT_FALSE(IsIndirectQuote(2, books.name()));
    EXPECT_FALSE(IsIndirectQuote(99, books.name()));
}

TEST_F(Currencies, ConversionDividesOrForIndirectQuotesMultipliesAndRounds) {
    EXPECT_DOUBLE_EQ(ConvertCurrencyAmount(2, 3, 100, books.name()), 33.333);
    EXPECT_DOUBLE_EQ(ConvertCurrencyAmount(1, 8, 10, books.name()), 1.25);
    EXPECT_DOUBLE_EQ(ConvertCurrencyAmount(1, 0, 12.345, books.name()), 12.35);
    EXPECT_DOUBLE_EQ(ConvertCurrencyAmount(3, 0.5, 101, books.name()), 51);
    EXPECT_DOUBLE_EQ(ConvertCurrencyAmount(99, 7, 100, books.name()), 14.29);
}

}  // namespace
}  // namespace tk::am
