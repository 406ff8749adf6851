// Variant conversions as the host language does them: text to number, rounding half to even,
// Overflow, Type mismatch and Null errors, and the printed form of doubles.
#include "host/Variant.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

#include "host/RunTimeError.hpp"

namespace tk {
namespace {

[[noreturn]] void raise(int32_t number, const char* text) { throw RunTimeError(number, text); }

std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

// A text converts to a number when all of it is one (thousands separators allowed).
double parseNumber(const std::string& text) {
    std::string digits;
    for (char c : trimBlanks(text))
        if (c != ',') digits += c;
    if (equalsIgnoreCase(digits, "true")) return -1;
    if (equalsIgnoreCase(digits, "false")) return 0;
    if (!digits.empty() && digits.front() == '+') digits.erase(0, 1);
    double value = 0;
    auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (digits.empty() || ec != std::errc() || end != digits.data() + digits.size())
        raise(errors::kTypeMismatch, "Type mismatch");
    return value;
}

template <typename Int>
Int toInteger(double value) {
    double rounded = roundHalfEven(value);
    if (std::isnan(rounded) || rounded < static_cast<double>(std::numeric_limits<Int>::min()) ||
        rounded > static_cast<double>(std::numeric_limits<Int>::max()))
        raise(errors::kOverflow, "Overflow");
    return static_cast<Int>(rounded);
}

}  // namespace

double roundHalfEven(double value) { return std::nearbyint(value); }

std::string formatDouble(double value) {
    if (value == 0) return "0";
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.15G", value);
    std::string text(buffer);
    auto exponent = text.find('E');
    std::string mantissa = text.substr(0, exponent);
    if (mantissa.find('.') != std::string::npos) {
        while (mantissa.back() == '0') mantissa.pop_back();
        if (mantissa.back() == '.') mantissa.pop_back();
    }
    if (exponent == std::string::npos) return mantissa;
    int power = std::stoi(text.substr(exponent + 1));
    return mantissa + (power < 0 ? "E-" : "E+") + std::to_string(std::abs(power));
}

Variant::Type Variant::type() const {
    static constexpr Type kTypes[] = {Type::Empty, Type::Null, Type::I2,   Type::I4,
                                      Type::R8,    Type::Text, Type::Bool, Type::Object};
    return kTypes[value_.index()];
}

bool Variant::isNumeric() const {
    auto t = type();
    return t == Type::I2 || t == Type::I4 || t == Type::R8 || t == Type::Bool;
}

double Variant::toDouble() const {
    switch (type()) {
        case Type::Empty:
            return 0;
        case Type::Null:
            raise(errors::kInvalidUseOfNull, "Invalid use of Null");
        case Type::I2:
            return std::get<int16_t>(value_);
        case Type::I4:
            return std::get<int32_t>(value_);
        case Type::R8:
            return std::get<double>(value_);
        case Type::Bool:
            return std::get<bool>(value_) ? -1 : 0;
        case Type::Text:
            return parseNumber(std::get<std::string>(value_));
        case Type::Object:
            break;
    }
    raise(errors::kTypeMismatch, "Type mismatch");
}

int16_t Variant::toInt16() const { return toInteger<int16_t>(toDouble()); }

int32_t Variant::toInt32() const {
    if (type() == Type::I4) return std::get<int32_t>(value_);
    return toInteger<int32_t>(toDouble());
}

std::string Variant::toText() const {
    switch (type()) {
        case Type::Empty:
            return "";
        case Type::Null:
            raise(errors::kInvalidUseOfNull, "Invalid use of Null");
        case Type::I2:
            return std::to_string(std::get<int16_t>(value_));
        case Type::I4:
            return std::to_string(std::get<int32_t>(value_));
        case Type::R8:
            return formatDouble(std::get<double>(value_));
        case Type::Bool:
            return std::get<bool>(value_) ? "True" : "False";
        case Type::Text:
            return std::get<std::string>(value_);
        case Type::Object:
            break;
    }
    raise(errors::kTypeMismatch, "Type mismatch");
}

bool Variant::toBool() const {
    if (type() == Type::Bool) return std::get<bool>(value_);
    return toDouble() != 0;
}

std::shared_ptr<Dispatchable> Variant::toObject() const {
    if (type() == Type::Object) return std::get<std::shared_ptr<Dispatchable>>(value_);
    if (type() == Type::Empty) return nullptr;
    raise(errors::kObjectRequired, "Object required");
}

Variant Variant::convertTo(Type target) const {
    switch (target) {
        case Type::I2:
            return Variant(toInt16());
        case Type::I4:
            return Variant(toInt32());
        case Type::R8:
            return Variant(toDouble());
        case Type::Text:
            return Variant(toText());
        case Type::Bool:
            return Variant(toBool());
        case Type::Object:
            return Variant(toObject());
        case Type::Empty:
        case Type::Null:
            break;
    }
    return *this;
}

}  // namespace tk
