// The limits of what the books can hold, checked on a record's values before it is written.
#pragma once
#include <initializer_list>
#include <string>
#include <string_view>

namespace tk::am {

class RecordText;

// What the books can hold, checked before anything is written. Amounts are
// kept in doubles, which hold every cent exactly only up to about 9e13, so
// no figure may go beyond kMaxAmount; a text may not be longer than its
// column, counted in characters; a date is a real calendar day, yyyy-MM-dd.
// A refusal is an InputRefusal naming the field, the value and the rule.
class InputLimits {
  public:
    static constexpr double kMaxAmount = 9'999'999'999'999.99;

    // |value| ≤ kMaxAmount.
    static void checkNumber(std::string_view field, double value);
    // As checkNumber, and at most two decimal places.
    static void checkAmount(std::string_view field, double value);
    // A real day of the calendar, written yyyy-MM-dd.
    static void checkDate(std::string_view field, const std::string& text);
    // At most `maxChars` characters of UTF-8.
    static void checkLength(std::string_view field, const std::string& text, int maxChars);

    // One property of a record about to be saved: numbers within the maximum,
    // texts within the narrowest of the tables' columns of that name, and
    // what a "…Date" (or "…Date2") property holds, unless blank, a calendar day. A refusal
    // names the property by its label (FieldLabels).
    static void checkField(std::string_view field, double value,
                           std::initializer_list<std::string_view> tables);
    static void checkField(std::string_view field, const std::string& text,
                           std::initializer_list<std::string_view> tables);
    static void checkField(std::string_view field, const RecordText& text,
                           std::initializer_list<std::string_view> tables);
    template <typename Other>
    static void checkField(std::string_view, const Other&,
                           std::initializer_list<std::string_view>) {}
};

}  // namespace tk::am
