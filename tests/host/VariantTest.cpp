// Variant conversions as the host does them: halves rounded to even, its
// overflow, null and type-mismatch errors, and numbers printed as text.
#include <gtest/gtest.h>

#include "host/RunTimeError.hpp"
#include "host/Variant.hpp"

namespace tk {
namespace {

int32_t errorNumberOf(const std::function<void()>& fn) {
    try {
        fn();
    } catch (const RunTimeError& e) {
        return e.number();
    }
    return 0;
}

TEST(VariantConversion, IntegersRoundHalvesToEvenAlsoInADeclaredType) {
    EXPECT_EQ(Variant(2.5).toInt32(), 2);
    EXPECT_EQ(Variant(3.5).toInt32(), 4);
    EXPECT_EQ(Variant(-2.5).toInt32(), -2);
    EXPECT_EQ(Variant(std::string("12")).toInt32(), 12);
    EXPECT_EQ(Variant(std::string(" 1,234 ")).toInt32(), 1234);
    EXPECT_EQ(Variant(true).toInt32(), -1);
    EXPECT_EQ(Variant().toInt32(), 0);
    Variant v = Variant(std::string("12")).convertTo(Variant::Type::I4);
    EXPECT_EQ(v.type(), Variant::Type::I4);
    EXPECT_EQ(v.toInt32(), 12);
    EXPECT_EQ(Variant(2.5).convertTo(Variant::Type::I2), Variant(int16_t{2}));
}

TEST(VariantConversion, OverflowNullAndMismatchRaiseTheHostErrors) {
    EXPECT_EQ(errorNumberOf([] { Variant(3e9).toInt32(); }), errors::kOverflow);
    EXPECT_EQ(errorNumberOf([] { Variant(int32_t{40000}).toInt16(); }), errors::kOverflow);
    EXPECT_EQ(errorNumberOf([] { Variant::null().toInt32(); }), errors::kInvalidUseOfNull);
    EXPECT_EQ(errorNumberOf([] { Variant::null().toText(); }), errors::kInvalidUseOfNull);
    EXPECT_EQ(errorNumberOf([] { Variant(std::string("abc")).toDouble(); }), errors::kTypeMismatch);
    EXPECT_EQ(errorNumberOf([] { Variant(std::string("")).toInt32(); }), errors::kTypeMismatch);
}

TEST(VariantConversion, TextsOfNumbersAsTheHostPrintsThem) {
    EXPECT_EQ(Variant(0.1).toText(), "0.1");
    EXPECT_EQ(Variant(1.0 / 3).toText(), "0.333333333333333");
    EXPECT_EQ(Variant(1234567.5).toText(), "1234567.5");
    EXPECT_EQ(Variant(-12.0).toText(), "-12");
    EXPECT_EQ(Variant(1e20).toText(), "1E+20");
    EXPECT_EQ(Variant(false).toText(), "False");
}

}  // namespace
}  // namespace tk
