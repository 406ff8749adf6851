// How each kind of text stores an assignment, its blank form and its text for a statement.
#include "frame/RecordText.hpp"

#include "frame/Conversion.hpp"
#include "frame/DataAccess.hpp"

namespace tk::am {
namespace {

// The width of the flexible-item key column.
constexpr size_t kFlexibleKeyLength = 310;

}  // namespace

RecordText::RecordText(TextKind kind) : kind_(kind) { clear(); }

std::string RecordText::blankForm() const {
    bool flexibleKey = kind_ == TextKind::FlexibleKey || kind_ == TextKind::AsAssignedFlexibleKey;
    return flexibleKey ? std::string(kFlexibleKeyLength, '0') : " ";
}

RecordText& RecordText::operator=(std::string_view value) {
    std::string text = Trim(std::string(value)).empty() ? blankForm() : std::string(value);
    quotesDoubled_ = kind_ == TextKind::Quoted || kind_ == TextKind::FlexibleKey;
    value_ = quotesDoubled_ ? QuoteSql(text) : text;
    return *this;
}

void RecordText::load(std::string stored) {
    value_ = std::move(stored);
    quotesDoubled_ = false;
}

void RecordText::clear() { load(blankForm()); }

std::string RecordText::sqlBody() const {
    if (kind_ == TextKind::Kept || quotesDoubled_) return value_;
    return QuoteSql(value_);
}

}  // namespace tk::am
