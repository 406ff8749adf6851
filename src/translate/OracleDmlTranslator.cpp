// The DML forms: AS before an INSERT alias, SET targets without their table qualifier,
// FROM after DELETE.
#include "translate/OracleDmlTranslator.hpp"

#include "translate/OracleTranslator.hpp"
#include "translate/SqlQueryBlock.hpp"

namespace tk::translate {
namespace {

// Strips "a." (or "t." / "schema.t.") from a SET target starting at seq[i].
void unqualifyTarget(SqlSeq& seq, size_t i, std::string_view alias, std::string_view table) {
    size_t end = dottedNameEnd(seq, i);
    if (end - i < 3) return;
    std::string_view qualifier = seq[end - 3].token.text;
    bool own = (!alias.empty() && sameName(qualifier, alias)) || sameName(qualifier, table);
    if (!own) return;
    Gap gap = seq[i].token.gap;
    seq.erase(seq.begin() + static_cast<std::ptrdiff_t>(i),
              seq.begin() + static_cast<std::ptrdiff_t>(end - 1));
    seq[i].token.gap = gap;
}

void unqualifyAssignment(SqlSeq& seq, size_t i, std::string_view alias, std::string_view table) {
    if (!seq[i].isGroup()) {
        unqualifyTarget(seq, i, alias, table);
        return;
    }
    SqlSeq& targets = seq[i].inner;
    auto parts = SqlQueryBlock::splitCommas(targets, {0, targets.size()});
    for (auto it = parts.rbegin(); it != parts.rend(); ++it) {
        if (!it->empty()) unqualifyTarget(targets, it->begin, alias, table);
    }
}

}  // namespace

InsertShape OracleDmlTranslator::prepareInsert(SqlSeq& seq) {
    if (seq.size() < 3 || !isKeyword(seq[1], Kw::Into)) {
        throw TranslationError("only INSERT INTO a single table is understood");
    }
    InsertShape shape;
    shape.tableBegin = 2;
    shape.tableEnd = dottedNameEnd(seq, 2);
    size_t i = shape.tableEnd;
    if (i < seq.size() && isName(seq[i])) {  // PostgreSQL wants AS before the alias
        seq.insert(seq.begin() + static_cast<std::ptrdiff_t>(i), makeWord("AS"));
        i += 2;
    }
    if (i >= seq.size()) throw TranslationError("INSERT without values");
    bool columnList = seq[i].isGroup() && !isSubquery(seq[i]);
    if (columnList) return shape;
    bool values = isKeyword(seq[i], Kw::Values);
    if (values && (i + 1 >= seq.size() || !seq[i + 1].isGroup())) {
        throw TranslationError("VALUES takes one parenthesised list");
    }
    shape.source = i;
    return shape;
}

void OracleDmlTranslator::prepareUpdate(SqlSeq& seq) {
    size_t end = dottedNameEnd(seq, 1);
    std::string_view table = seq[end - 1].token.text;
    std::string_view alias = end < seq.size() && isName(seq[end]) ? seq[end].token.text : "";
    size_t set = end;
    while (set < seq.size() && !isKeyword(seq[set], Kw::Set)) ++set;
    size_t stop = set;
    while (stop < seq.size() && !isKeyword(seq[stop], Kw::Where) &&
           !isKeyword(seq[stop], Kw::Returning)) {
        ++stop;
    }
    if (set >= seq.size()) throw TranslationError("UPDATE without SET");
    auto assignments = SqlQueryBlock::splitCommas(seq, {set + 1, stop});
    for (auto it = assignments.rbegin(); it != assignments.rend(); ++it) {
        if (!it->empty()) unqualifyAssignment(seq, it->begin, alias, table);
    }
}

void OracleDmlTranslator::prepareDelete(SqlSeq& seq) {
    if (seq.size() > 1 && !isKeyword(seq[1], Kw::From)) {
        seq.insert(seq.begin() + 1, makeWord("FROM"));
    }
}

}  // namespace tk::translate
