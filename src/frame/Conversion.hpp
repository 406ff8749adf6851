// Text and number conversions that keep the host language's rounding, formatting and
// splitting rules.
#pragma once
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "host/Variant.hpp"

namespace tk::am {

// Text and number conversions with the component's exact rounding rules.
int32_t ToLong(const std::string& text);
double ToDouble(const Variant& text);
double RoundTo(double value, int16_t digits);
std::string AmountFormat(int32_t decimals);
// Formats a value with a pattern such as "###,##0.00" (the host's Format).
std::string FormatNumber(double value, const std::string& pattern);
// The value formatted with the pattern and read back: rounds as the host's Format does.
double RoundToPattern(double value, const std::string& pattern);
std::string FormatDuration(float seconds);
std::string RemoveText(const std::string& text, const std::string& part);
std::string StripControlChars(const std::string& text, int32_t flag);
int32_t CountDelimiters(const std::string& text, const std::string& delimiter);
std::string SplitPart(const std::string& text, int16_t index, const std::string& delimiter);
std::string CodeBeforeNthDash(const std::string& code, int32_t n);
std::string LeftWithNul(const std::string& text, int32_t length);
Variant TrimOrDefault(int32_t flag, const Variant& value, const Variant& fallback);

// ASCII letters upper-cased, as Oracle's dictionary spells names.
std::string UpperAscii(std::string text);

// An amount to the cent, plain: 1234567.5 → "1234567.50" (never "-0.00").
std::string formatAmount(double value);
// Thousands separators in a plain amount: "1234567.50" → "1,234,567.50".
std::string groupThousands(std::string amount);

// Counting characters, not bytes: rules and names hold Chinese text.
size_t CharLength(const std::string& text);
std::string CharLeft(const std::string& text, size_t count);
// Well-formed UTF-8: no stray or missing continuation bytes, no overlong forms or surrogates.
bool IsValidUtf8(std::string_view text);

// Fills every "{n}" hole of a template with the argument text.
std::string FormatTemplate(std::string text, std::initializer_list<std::string> args);
// Every occurrence of `from` replaced by `to`.
std::string ReplaceAll(std::string text, const std::string& from, const std::string& to);
// Surrounding blanks removed (spaces only, as the host language's Trim).
std::string Trim(const std::string& text);

}  // namespace tk::am
