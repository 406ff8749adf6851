// The limit checks: the amount ceiling and cents, calendar dates, and text lengths against
// the columns' widths.
#include "frame/InputLimits.hpp"

#include <cctype>
#include <chrono>
#include <cmath>
#include <limits>
#include <regex>
#include <sstream>

#include "frame/ColumnWidths.hpp"
#include "frame/Conversion.hpp"
#include "frame/FieldLabels.hpp"
#include "frame/InputRefusal.hpp"
#include "frame/RecordText.hpp"
#include "host/Dispatchable.hpp"

namespace tk::am {
namespace {

// Up to six decimals, trailing zeros dropped: 1e20 reads 100000000000000000000.
std::string numberText(double value) {
    std::ostringstream out;
    out.precision(6);
    out << std::fixed << value;
    std::string text = out.str();
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.') text.pop_back();
    return text;
}

[[noreturn]] void refuse(std::string_view field, const std::string& value,
                         const std::string& rule) {
    throw InputRefusal(std::string(field) + " 的值 " + value + " 无效: " + rule);
}

size_t characters(const std::string& utf8) {
    size_t count = 0;
    for (unsigned char c : utf8) count += (c & 0xC0) != 0x80;
    return count;
}

// strStartDate, and numbered ones such as strCustomDate2.
bool isDateField(std::string_view field) {
    while (!field.empty() && std::isdigit(static_cast<unsigned char>(field.back())))
        field.remove_suffix(1);
    return field.size() > 4 && lowerAscii(field.substr(field.size() - 4)) == "date";
}

}  // namespace

void InputLimits::checkNumber(std::string_view field, double value) {
    if (!(std::fabs(value) <= kMaxAmount))
        refuse(field, numberText(value), "绝对值不能超过 9,999,999,999,999.99");
}

void InputLimits::checkAmount(std::string_view field, double value) {
    checkNumber(field, value);
    // Beside the cents, allow for the double's own spacing at this size.
    const double cents = value * 100;
    const double spacing =
        100 * (std::nextafter(std::fabs(value), std::numeric_limits<double>::infinity()) -
               std::fabs(value));
    if (std::fabs(cents - std::round(cents)) > 1e-6 + spacing)
        refuse(field, numberText(value), "金额最多两位小数 (到分)");
}

void InputLimits::checkDate(std::string_view field, const std::string& text) {
    static const std::regex kShape(R"((\d{4})-(\d{2})-(\d{2}))");
    std::smatch parts;
    bool real = std::regex_match(text, parts, kShape);
    if (real) {
        using namespace std::chrono;
        real = year_month_day{year{std::stoi(parts[1])}, month{unsigned(std::stoi(parts[2]))},
                              day{unsigned(std::stoi(parts[3]))}}
                   .ok();
    }
    if (!real)
        refuse(field, "\"" + text + "\"", "不是有效日期 (应为 yyyy-MM-dd 格式的实际日历日期)");
}

void InputLimits::checkLength(std::string_view field, const std::string& text, int maxChars) {
    const size_t count = characters(text);
    if (count > static_cast<size_t>(maxChars))
        throw InputRefusal(std::string(field) + " 过长: " + std::to_string(count) +
                           " 个字符, 最多 " + std::to_string(maxChars) + " 个字符");
}

void InputLimits::checkField(std::string_view field, double value,
                             std::initializer_list<std::string_view>) {
    checkNumber(FieldLabels::of(field), value);
}

void InputLimits::checkField(std::string_view field, const std::string& text,
                             std::initializer_list<std::string_view> tables) {
    std::string stored;
    for (char c : text)
        if (c != '\0') stored += c;
    for (std::string_view table : tables)
        if (auto width = ColumnWidths::of(table, field))
            checkLength(FieldLabels::of(field), stored, *width);
    // A date column may carry a time after the day.
    if (isDateField(field) && !Trim(stored).empty())
        checkDate(FieldLabels::of(field), stored.substr(0, 10));
}

void InputLimits::checkField(std::string_view field, const RecordText& text,
                             std::initializer_list<std::string_view> tables) {
    // The text as the column will hold it: the pasted form with its quotes single again.
    checkField(field, ReplaceAll(text.sqlBody(), "''", "'"), tables);
}

}  // namespace tk::am
