#pragma once
#include <string>
#include <string_view>

#include "frame/Utility.hpp"

namespace tk::am {

// How a record object's text property stores what it is given.
enum class TextRule {
    Quoted,  // descriptive text: single quotes doubled, ready for an SQL literal
    Kept,    // dates and document numbers: stored as given
};

// A text property of a record object. Either way a blank value is stored as
// one space, so that no text column is ever written empty; the getter returns
// the stored form, which the record pastes between single quotes as it stands.
// A property never set holds the blank form too.
template <TextRule Rule>
class SqlText {
  public:
    SqlText() = default;
    SqlText& operator=(const std::string& value) {
        stored_ = Trim(value).empty() ? std::string(" ") : value;
        if constexpr (Rule == TextRule::Quoted) stored_ = QuoteSql(stored_);
        return *this;
    }
    SqlText& operator=(const char* value) { return *this = std::string(value); }

    // A value read back from the database: taken as it stands, never quoted again.
    void setStored(std::string stored) { stored_ = std::move(stored); }
    const std::string& str() const { return stored_; }
    operator const std::string&() const { return stored_; }

    friend bool operator==(const SqlText& text, std::string_view other) {
        return text.stored_ == other;
    }

  private:
    std::string stored_ = " ";
};

using QuotedText = SqlText<TextRule::Quoted>;
using KeptText = SqlText<TextRule::Kept>;

}  // namespace tk::am
