// Inserts the alias tk_from after every unnamed FROM subquery, at every nesting level.
#include "translate/OracleDerivedTableRewriter.hpp"

namespace tk::translate {

void OracleDerivedTableRewriter::rewrite(SqlSeq& seq) {
    for (SqlNode& n : seq) {
        if (n.isGroup()) rewrite(n.inner);
    }
    for (size_t i = 0; i + 1 < seq.size(); ++i) {
        if (!isKeyword(seq[i], Kw::From) || !isSubquery(seq[i + 1])) continue;
        const bool named =
            i + 2 < seq.size() && (isName(seq[i + 2]) || isKeyword(seq[i + 2], Kw::As));
        if (!named)
            seq.insert(seq.begin() + static_cast<std::ptrdiff_t>(i + 2), makeWord("tk_from"));
    }
}

}  // namespace tk::translate
