// The host language's Val, Split and Format rebuilt digit by digit with its rounding,
// and the character-counting UTF-8 helpers.
#include "frame/Conversion.hpp"

#include <iconv.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <vector>

namespace tk::am {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The host's Val: blanks anywhere are ignored and the longest leading number
// is taken ("12abc" is 12, letters alone are 0).
double LeadingNumber(const std::string& text) {
    std::string s;
    for (char c : text)
        if (c != ' ' && c != '\t' && c != '\n') s += c;
    size_t at = 0;
    auto digits = [&] {
        size_t from = at;
        while (at < s.size() && isDigit(s[at])) ++at;
        return at - from;
    };
    if (at < s.size() && (s[at] == '+' || s[at] == '-')) ++at;
    size_t mantissa = digits();
    if (at < s.size() && s[at] == '.') {
        ++at;
        mantissa += digits();
    }
    if (mantissa == 0) return 0;
    size_t end = at;
    if (at < s.size() && (s[at] == 'e' || s[at] == 'E' || s[at] == 'd' || s[at] == 'D')) {
        s[at++] = 'e';
        if (at < s.size() && (s[at] == '+' || s[at] == '-')) ++at;
        if (digits() > 0) end = at;
    }
    size_t begin = s[0] == '+' ? 1 : 0;
    double value = 0;
    std::from_chars(s.data() + begin, s.data() + end, value);
    return value;
}

// The host's Split: an empty text has no items at all.
std::vector<std::string> SplitText(const std::string& text, const std::string& delimiter) {
    std::vector<std::string> items;
    if (text.empty()) return items;
    if (delimiter.empty()) return {text};
    size_t from = 0;
    for (size_t at = text.find(delimiter); at != std::string::npos;
         at = text.find(delimiter, from)) {
        items.push_back(text.substr(from, at - from));
        from = at + delimiter.size();
    }
    items.push_back(text.substr(from));
    return items;
}

bool isContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

std::string WithoutCommas(const std::string& text) { return ReplaceAll(text, ",", ""); }

// The digits of |value| and how many of them stand before the decimal point.
struct DecimalDigits {
    std::string digits;
    size_t integerDigits;
};

void IncrementDigits(DecimalDigits& d) {
    for (size_t i = d.digits.size(); i-- > 0;) {
        if (d.digits[i] != '9') {
            ++d.digits[i];
            return;
        }
        d.digits[i] = '0';
    }
    d.digits.insert(d.digits.begin(), '1');
    ++d.integerDigits;
}

// A double as the host prints it: 15 significant digits, rounded half away
// from zero at the wanted decimal.
DecimalDigits RoundedDigits(double value, size_t decimals) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.14e", std::isfinite(value) ? std::fabs(value) : 0.0);
    std::string text(buffer);
    size_t e = text.find('e');
    std::string digits = text.substr(0, 1) + text.substr(2, e - 2);
    long point = std::stol(text.substr(e + 1)) + 1;
    if (point < 0) {
        digits.insert(0, static_cast<size_t>(-point), '0');
        point = 0;
    }
    size_t keep = static_cast<size_t>(point) + decimals;
    if (digits.size() <= keep) digits.resize(keep + 1, '0');
    bool roundUp = digits[keep] >= '5';
    DecimalDigits d{digits.substr(0, keep), static_cast<size_t>(point)};
    if (roundUp) IncrementDigits(d);
    return d;
}

std::string GroupThousands(const std::string& digits) {
    std::string out;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return out;
}

struct NumberPattern {
    std::string prefix, suffix;
    size_t minIntegerDigits = 0, minDecimals = 0, maxDecimals = 0;
    bool grouping = false, point = false;
};

bool isPlaceholder(char c) { return c == '0' || c == '#'; }

NumberPattern ParsePattern(const std::string& pattern) {
    NumberPattern p;
    std::string body = pattern.substr(0, pattern.find(';'));
    size_t first = body.find_first_of("0#.,");
    size_t last = body.find_last_of("0#.,");
    if (first == std::string::npos) {
        p.prefix = body;
        return p;
    }
    p.prefix = body.substr(0, first);
    p.suffix = body.substr(last + 1);
    for (size_t i = first; i <= last; ++i) {
        char c = body[i];
        if (c == '.')
            p.point = true;
        else if (p.point && isPlaceholder(c)) {
            ++p.maxDecimals;
            if (c == '0' && p.minDecimals + 1 == p.maxDecimals) ++p.minDecimals;
        } else if (c == '0')
            ++p.minIntegerDigits;
        else if (c == ',' && !p.point)
            p.grouping = true;
    }
    return p;
}

std::string IntegerPart(const DecimalDigits& d, const NumberPattern& p) {
    std::string digits = d.digits.substr(0, d.integerDigits);
    size_t firstNonZero = digits.find_first_not_of('0');
    digits = firstNonZero == std::string::npos ? "" : digits.substr(firstNonZero);
    if (digits.size() < p.minIntegerDigits)
        digits.insert(0, p.minIntegerDigits - digits.size(), '0');
    return p.grouping ? GroupThousands(digits) : digits;
}

std::string FractionPart(const DecimalDigits& d, const NumberPattern& p) {
    std::string fraction = d.digits.substr(d.integerDigits);
    while (fraction.size() > p.minDecimals && fraction.back() == '0') fraction.pop_back();
    return p.point ? "." + fraction : fraction;
}

}  // namespace

int32_t ToLong(const std::string& text) {
    if (text.empty() || text == "0") return 0;
    double value = LeadingNumber(WithoutCommas(text));
    if (!std::isfinite(value)) return 0;
    constexpr double kMax = std::numeric_limits<int32_t>::max();
    constexpr double kMin = std::numeric_limits<int32_t>::min();
    // Both directions saturate to the largest value, as callers have always relied on.
    if (value > kMax || value < kMin) return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(roundHalfEven(value));
}

double ToDouble(const Variant& text) {
    try {
        if (text.isNull() || text.isEmpty()) return 0;
        std::string s = text.toText();
        if (s.empty()) return 0;
        double value = LeadingNumber(WithoutCommas(s));
        return std::isfinite(value) ? RoundTo(value, 9) : 0;
    } catch (...) {
        return 0;
    }
}

std::string FormatNumber(double value, const std::string& pattern) {
    NumberPattern p = ParsePattern(pattern);
    DecimalDigits d = RoundedDigits(value, p.maxDecimals);
    bool negative = value < 0 && d.digits.find_first_not_of('0') != std::string::npos;
    return (negative ? "-" : "") + p.prefix + IntegerPart(d, p) + FractionPart(d, p) + p.suffix;
}

double RoundToPattern(double value, const std::string& pattern) {
    std::string text = WithoutCommas(FormatNumber(value, pattern));
    double result = 0;
    std::from_chars(text.data(), text.data() + text.size(), result);
    return result;
}

double RoundTo(double value, int16_t digits) {
    if (digits < 1) digits = 2;
    return RoundToPattern(value, "#0." + std::string(static_cast<size_t>(digits), '0'));
}

std::string AmountFormat(int32_t decimals) {
    std::string pattern = "###,###,###,###,###,##0";
    if (decimals == 0) return pattern;
    return pattern + "." + std::string(static_cast<size_t>(std::max(decimals, 0)), '0');
}

std::string FormatDuration(float seconds) {
    auto s = static_cast<long long>(roundHalfEven(seconds));
    long long hours = s / 3600, minutes = s % 3600 / 60, rest = s % 60;
    if (hours > 0)
        return std::to_string(hours) + "小时" + std::to_string(minutes) + "分" +
               std::to_string(rest) + "秒";
    if (minutes >= 1) return std::to_string(minutes) + "分" + std::to_string(rest) + "秒";
    return std::to_string(rest) + "秒";
}

std::string RemoveText(const std::string& text, const std::string& part) {
    return ReplaceAll(text, part, "");
}

std::string StripControlChars(const std::string& text, int32_t flag) {
    std::string out;
    for (char c : text) {
        auto code = static_cast<unsigned char>(c);
        bool lineBreak = code >= 10 && code <= 13;
        bool control = code < 32 || code == 127;
        if (!control || (flag == 0 && lineBreak)) out += c;
    }
    return out;
}

int32_t CountDelimiters(const std::string& text, const std::string& delimiter) {
    return static_cast<int32_t>(SplitText(text, delimiter).size()) - 1;
}

std::string SplitPart(const std::string& text, int16_t index, const std::string& delimiter) {
    std::vector<std::string> items = SplitText(text, delimiter);
    if (items.empty()) return "";
    size_t at = index <= 0 ? 0 : std::min<size_t>(static_cast<size_t>(index), items.size()) - 1;
    return Trim(items[at]);
}

std::string CodeBeforeNthDash(const std::string& code, int32_t n) {
    if (n < 1) return "";
    size_t at = std::string::npos;
    for (int32_t found = 0; found < n; ++found) {
        at = code.find('-', at == std::string::npos ? 0 : at + 1);
        if (at == std::string::npos) return "";
    }
    return code.substr(0, at);
}

std::string LeftWithNul(const std::string& text, int32_t length) {
    return CharLeft(text, static_cast<size_t>(std::max(length, 0))) + '\0';
}

Variant TrimOrDefault(int32_t flag, const Variant& value, const Variant& fallback) {
    if (flag != 0 || value.isNull()) return fallback;
    return Variant(Trim(value.toText()));
}

std::string UpperAscii(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

size_t CharLength(const std::string& text) {
    size_t count = 0;
    for (char c : text)
        if (!isContinuationByte(c)) ++count;
    return count;
}

std::string CharLeft(const std::string& text, size_t count) {
    size_t seen = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (isContinuationByte(text[i])) continue;
        if (seen++ == count) return text.substr(0, i);
    }
    return text;
}

bool IsValidUtf8(std::string_view text) {
    // The C library's decoder knows every ill-formed sequence; a UTF-32 buffer of
    // four bytes per input byte can never run short.
    iconv_t decoder = iconv_open("UTF-32LE", "UTF-8");
    std::u32string decoded(text.size(), U'\0');
    char* in = const_cast<char*>(text.data());
    size_t inLeft = text.size();
    char* out = reinterpret_cast<char*>(decoded.data());
    size_t outLeft = decoded.size() * sizeof(char32_t);
    bool valid = iconv(decoder, &in, &inLeft, &out, &outLeft) != static_cast<size_t>(-1);
    iconv_close(decoder);
    return valid;
}

std::string formatAmount(double value) {
    char digits[64];
    std::snprintf(digits, sizeof digits, "%.2f", std::fabs(value) < 0.005 ? 0.0 : value);
    return digits;
}

std::string groupThousands(std::string text) {
    size_t point = text.find('.');
    if (point == std::string::npos) point = text.size();
    size_t start = !text.empty() && text[0] == '-' ? 1 : 0;
    for (long at = static_cast<long>(point) - 3; at > static_cast<long>(start); at -= 3)
        text.insert(static_cast<size_t>(at), ",");
    return text;
}

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
    if (from.empty()) return text;
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

std::string FormatTemplate(std::string text, std::initializer_list<std::string> args) {
    int n = 0;
    for (const auto& arg : args) text = ReplaceAll(text, "{" + std::to_string(n++) + "}", arg);
    return text;
}

std::string Trim(const std::string& text) {
    size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace tk::am
