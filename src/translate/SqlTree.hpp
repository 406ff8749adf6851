// Builds the node tree from tokens and renders a tree back to SQL text.
#pragma once
#include <span>
#include <string>

#include "translate/SqlNode.hpp"

namespace tk::translate {

class SqlTree {
  public:
    // Nests the tokens by parentheses. Throws TranslationError when they do
    // not balance.
    static SqlSeq build(std::span<const Token> tokens);

    // Writes the nodes back as text, one blank or line break where the source
    // had any. Throws TranslationError for an outer-join mark left in place:
    // dropping it silently would turn an outer join into an inner one.
    static std::string render(const SqlSeq& seq);
    static void renderInto(std::string& out, const SqlSeq& seq);
    static void renderInto(std::string& out, const SqlSeq& seq, size_t begin, size_t end);
};

}  // namespace tk::translate
