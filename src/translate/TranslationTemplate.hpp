// A translation cut at its literal markers, to be filled with each statement's literals.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "translate/OracleTranslator.hpp"
#include "translate/StatementShape.hpp"

namespace tk::translate {

// The translation of a statement shape, with holes where the shape's literals
// go back in.
class TranslationTemplate {
  public:
    // A template without holes: the translation of one exact text.
    explicit TranslationTemplate(Translation exact);

    // Cuts the translation of `shape` at its markers. Empty unless putting
    // the literals of `shape` back gives exactly `expected`, the translation
    // of the text itself: a literal that changed how the statement translates
    // makes the shape unusable for other values.
    static std::optional<TranslationTemplate> cut(const Translation& shaped,
                                                  const StatementShape& shape,
                                                  const Translation& expected);

    Translation fill(const std::vector<std::string_view>& literals) const;

  private:
    struct Text {
        std::string text;                                // without the markers
        std::vector<std::pair<size_t, uint32_t>> holes;  // offset in text, literal
    };
    TranslationTemplate() = default;
    static Text cutText(const std::string& translated, const std::vector<std::string>& markers);
    static std::string fillText(const Text& t, const std::vector<std::string_view>& literals);

    Text sql_;
    Text insertSelect_;
    std::string insertTable_;
    int insertValueCount_ = -1;
};

}  // namespace tk::translate
