// The host language's variant: the values crossing the component's boundary and their conversions.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <variant>

namespace tk {

class Dispatchable;

// The host language's variant: the values that cross the component's boundary,
// with the host language's conversions between them.
class Variant {
  public:
    enum class Type : int32_t {
        Empty = 0,
        Null = 1,
        I2 = 2,
        I4 = 3,
        R8 = 5,
        Text = 8,
        Object = 9,
        Bool = 11
    };
    struct NullTag {
        bool operator==(const NullTag&) const = default;
    };

    Variant() = default;
    Variant(int16_t v) : value_(v) {}
    Variant(int32_t v) : value_(v) {}
    Variant(double v) : value_(v) {}
    Variant(bool v) : value_(v) {}
    Variant(std::string v) : value_(std::move(v)) {}
    Variant(const char* v) : value_(std::string(v)) {}
    Variant(std::shared_ptr<Dispatchable> v) : value_(std::move(v)) {}
    static Variant null() { return Variant(NullTag{}); }

    Type type() const;
    bool isEmpty() const { return type() == Type::Empty; }
    bool isNull() const { return type() == Type::Null; }
    bool isNumeric() const;

    // Conversions as CInt, CLng, CDbl, CStr and CBool do them: Null raises
    // "Invalid use of Null", integers round halves to even and raise on overflow.
    int16_t toInt16() const;
    int32_t toInt32() const;
    double toDouble() const;
    std::string toText() const;
    bool toBool() const;
    std::shared_ptr<Dispatchable> toObject() const;

    // Converts to the given type (the declared type of a property or parameter).
    Variant convertTo(Type target) const;

    bool operator==(const Variant& other) const = default;

  private:
    explicit Variant(NullTag t) : value_(t) {}
    using Storage = std::variant<std::monostate, NullTag, int16_t, int32_t, double, std::string,
                                 bool, std::shared_ptr<Dispatchable>>;
    Storage value_;
};

// Text form of a double as the host language prints it (up to 15 significant digits).
std::string formatDouble(double value);
// Round half to even, as the host language's integer conversions do.
double roundHalfEven(double value);

}  // namespace tk
