#pragma once
#include <string>
#include <utility>

namespace tk::am {

// A text property kept in the form SQL gets it between quotes: `Rule` shapes
// every text the caller sets, while a text read back from the database is kept
// as stored (it was shaped when it was written).
template <std::string (*Rule)(const std::string&)>
class RuledText {
public:
    RuledText() = default;
    RuledText(const std::string& text) : stored_(Rule(text)) {}
    RuledText(const char* text) : RuledText(std::string(text)) {}

    static RuledText fromStored(std::string stored) {
        RuledText text;
        text.stored_ = std::move(stored);
        return text;
    }
    const std::string& str() const { return stored_; }

private:
    std::string stored_;
};

// Blank becomes one space and single quotes are doubled: a descriptive text.
std::string QuotedOrSpace(const std::string& text);
// Blank becomes one space, anything else is kept: a key that must not be empty.
std::string KeptOrSpace(const std::string& text);

using QuotedText = RuledText<&QuotedOrSpace>;
using SpacedText = RuledText<&KeptOrSpace>;

}  // namespace tk::am
