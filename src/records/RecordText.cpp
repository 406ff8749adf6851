#include "records/RecordText.hpp"

#include "frame/Utility.hpp"

namespace tk::am {
namespace {

// The width of the flexible-item key: one "0" per flexible item not chosen.
constexpr size_t kFlexibleKeyLength = 310;

}  // namespace

bool RecordText::isFlexibleKey() const {
    return rule_ == TextRule::FlexibleKey || rule_ == TextRule::AsAssignedFlexibleKey;
}

RecordText& RecordText::operator=(std::string_view value) {
    std::string text(value);
    if (Trim(text).empty()) text = isFlexibleKey() ? std::string(kFlexibleKeyLength, '0') : " ";
    quotesDoubled_ = rule_ == TextRule::Quoted || rule_ == TextRule::FlexibleKey;
    value_ = quotesDoubled_ ? QuoteSql(text) : text;
    return *this;
}

void RecordText::load(std::string stored) {
    value_ = std::move(stored);
    quotesDoubled_ = false;
}

void RecordText::clear() {
    if (isFlexibleKey())
        load(std::string(kFlexibleKeyLength, '0'));
    else
        load(rule_ == TextRule::AsAssigned ? "" : " ");
}

std::string RecordText::sqlBody() const {
    if (rule_ == TextRule::Kept || quotesDoubled_) return value_;
    return QuoteSql(value_);
}

}  // namespace tk::am
