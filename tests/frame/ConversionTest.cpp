// The conversion and text helpers as the host behaves: number parsing and
// rounding, amount formats, durations, list items and character counts.
#include <gtest/gtest.h>

#include <limits>

#include "frame/Conversion.hpp"

namespace tk::am {
namespace {

constexpr int32_t kMaxLong = std::numeric_limits<int32_t>::max();

TEST(ToLong, IgnoresSeparatorsSaturatesTakesTheLeadingNumberAndRoundsHalvesToEven) {
    EXPECT_EQ(ToLong("12,345"), 12345);
    EXPECT_EQ(ToLong("3000000000"), kMaxLong);
    EXPECT_EQ(ToLong("-3,000,000,000"), kMaxLong);
    EXPECT_EQ(ToLong("2147483647.4"), kMaxLong);
    EXPECT_EQ(ToLong("-2147483648"), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(ToLong("abc"), 0);
    EXPECT_EQ(ToLong("12abc"), 12);
    EXPECT_EQ(ToLong("-7 days"), -7);
    EXPECT_EQ(ToLong("1e3"), 1000);
    EXPECT_EQ(ToLong("2.5"), 2);
    EXPECT_EQ(ToLong("3.5"), 4);
}

TEST(ToDouble, RoundsToNineDecimalsAndNonNumbersGiveZero) {
    EXPECT_DOUBLE_EQ(ToDouble(Variant("1,234.5678901234")), 1234.567890123);
    EXPECT_DOUBLE_EQ(ToDouble(Variant("0.0000000015")), 0.000000002);
    EXPECT_EQ(ToDouble(Variant::null()), 0);
    EXPECT_EQ(ToDouble(Variant("元")), 0);
    EXPECT_DOUBLE_EQ(ToDouble(Variant("12.5kg")), 12.5);
    EXPECT_DOUBLE_EQ(ToDouble(Variant(-0.25)), -0.25);
}

// The host rounds the printed decimal, half away from zero: 2.345 is stored
// as 2.34499… but rounds up as written.
TEST(RoundTo, RoundsThePrintedValueHalfAwayFromZero) {
    EXPECT_DOUBLE_EQ(RoundTo(2.345, 2), 2.35);
    EXPECT_DOUBLE_EQ(RoundTo(1.005, 2), 1.01);
    EXPECT_DOUBLE_EQ(RoundTo(9.9996, 3), 10.0);
    EXPECT_DOUBLE_EQ(RoundTo(3.14159, 0), 3.14);  // digits below 1 mean 2
}

TEST(AmountFormat, OneZeroPerDecimalAndFormatNumberGroupsPadsAndRounds) {
    EXPECT_EQ(AmountFormat(0), "###,###,###,###,###,##0");
    EXPECT_EQ(AmountFormat(2), "###,###,###,###,###,##0.00");
    EXPECT_EQ(AmountFormat(-1), "###,###,###,###,###,##0.");
    EXPECT_EQ(FormatNumber(1234567.891, AmountFormat(2)), "1,234,567.89");
    EXPECT_EQ(FormatNumber(-1234.5, AmountFormat(0)), "-1,235");
    EXPECT_EQ(FormatNumber(0.5, "#.00"), ".50");
    EXPECT_EQ(FormatNumber(5, "#0."), "5.");
    EXPECT_EQ(FormatNumber(-0.004, "0.00"), "0.00");
    EXPECT_EQ(FormatNumber(999.999, "#,##0.00"), "1,000.00");
}

TEST(FormatDuration, HoursMinutesSeconds) {
    EXPECT_EQ(FormatDuration(3725), "1小时2分5秒");
    EXPECT_EQ(FormatDuration(125), "2分5秒");
    EXPECT_EQ(FormatDuration(59), "59秒");
    EXPECT_EQ(FormatDuration(59.6f), "1分0秒");
}

TEST(SplitPart, IndexIsClampedItemsTrimmedAndCountDelimitersBoundsTheSplit) {
    EXPECT_EQ(SplitPart("a,b,c", 5, ","), "c");
    EXPECT_EQ(SplitPart("a,b,c", 0, ","), "a");
    EXPECT_EQ(SplitPart(" 设备 || 房屋 ", 2, "||"), "房屋");
    EXPECT_EQ(SplitPart("", 1, ","), "");
    EXPECT_EQ(CountDelimiters("a,b,c", ","), 2);
    EXPECT_EQ(CountDelimiters("", ","), -1);
    EXPECT_EQ(CountDelimiters("a--b--", "--"), 2);
}

TEST(CodeBeforeNthDash, CutsBeforeTheNthDash) {
    EXPECT_EQ(CodeBeforeNthDash("01-02-03", 2), "01-02");
    EXPECT_EQ(CodeBeforeNthDash("01-02-03", 3), "");
    EXPECT_EQ(CodeBeforeNthDash("01-02-03", 0), "");
}

TEST(StripControlChars, FlagZeroKeepsLineBreaks) {
    std::string text = std::string("a\tb\nc\vd\fe\rf") + '\x01' + "g\x7f" + "固定";
    EXPECT_EQ(StripControlChars(text, 0), "ab\nc\vd\fe\rfg固定");
    EXPECT_EQ(StripControlChars(text, 1), "abcdefg固定");
    EXPECT_EQ(StripControlChars(std::string("x\0y", 3), 0), "xy");
}

TEST(TextHelpers, CountCharactersRemoveTextAndTrimOrDefault) {
    EXPECT_EQ(CharLength("资产ab"), 4u);
    EXPECT_EQ(CharLeft("资产管理", 2), "资产");
    EXPECT_EQ(LeftWithNul("资产管理", 3), std::string("资产管\0", 10));
    EXPECT_EQ(LeftWithNul("ab", 0), std::string("\0", 1));
    EXPECT_EQ(RemoveText("a-b-c", "-"), "abc");
    EXPECT_EQ(TrimOrDefault(0, Variant("  x  "), Variant("d")).toText(), "x");
    EXPECT_EQ(TrimOrDefault(0, Variant::null(), Variant("d")).toText(), "d");
    EXPECT_EQ(TrimOrDefault(1, Variant("x"), Variant("d")).toText(), "d");
    EXPECT_EQ(UpperAscii("amAsset资产"), "AMASSET资产");
}

}  // namespace
}  // namespace tk::am
