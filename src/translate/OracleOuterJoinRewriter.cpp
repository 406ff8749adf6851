// The outer-join rewrite: WHERE predicates filed into the ON clause of their marked table,
// and the FROM items written out again as join trees in dependency order.
#include "translate/OracleOuterJoinRewriter.hpp"

#include <numeric>
#include <string>

#include "translate/OracleTranslator.hpp"
#include "translate/SqlQueryBlock.hpp"

namespace tk::translate {
namespace {

constexpr size_t kNoItem = static_cast<size_t>(-1);

bool containsMark(const SqlSeq& seq, SqlRange range) {
    for (size_t i = range.begin; i < range.end; ++i) {
        const SqlNode& n = seq[i];
        if (isKind(n, TokenKind::OuterJoinMark)) return true;
        if (n.isGroup() && !isSubquery(n) && containsMark(n.inner, {0, n.inner.size()}))
            return true;
    }
    return false;
}

bool containsMark(const SqlSeq& seq) { return containsMark(seq, {0, seq.size()}); }

void removeMarks(SqlSeq& seq) {
    std::erase_if(seq, [](const SqlNode& n) { return isKind(n, TokenKind::OuterJoinMark); });
    for (SqlNode& n : seq) {
        if (n.isGroup() && !isSubquery(n)) removeMarks(n.inner);
    }
}

// The table qualifiers of the columns that carry a mark: "b" in "b.col(+)".
void collectMarkedQualifiers(const SqlSeq& seq, std::vector<std::string_view>& out) {
    for (size_t i = 0; i < seq.size(); ++i) {
        const SqlNode& n = seq[i];
        if (n.isGroup() && !isSubquery(n)) collectMarkedQualifiers(n.inner, out);
        if (!isKind(n, TokenKind::OuterJoinMark)) continue;
        if (i < 3 || !isName(seq[i - 1]) || !isKind(seq[i - 2], TokenKind::Dot) ||
            !isName(seq[i - 3])) {
            throw TranslationError("(+) must follow a column qualified by its table");
        }
        out.push_back(seq[i - 3].token.text);
    }
}

// Column references of a condition: the qualifiers of "x.col" and
// "schema.x.col", and whether a column without qualifier occurs.
struct References {
    std::vector<std::string_view> qualifiers;
    bool unqualified = false;
};

void collectReferences(const SqlSeq& seq, References& refs) {
    for (size_t i = 0; i < seq.size(); ++i) {
        const SqlNode& n = seq[i];
        if (n.isGroup()) {
            collectReferences(n.inner, refs);
            continue;
        }
        if (!isName(n) || (i > 0 && isKind(seq[i - 1], TokenKind::Dot))) continue;
        size_t last = i;
        while (last + 2 < seq.size() && isKind(seq[last + 1], TokenKind::Dot) &&
               (isName(seq[last + 2]) || isOperator(seq[last + 2], "*"))) {
            last += 2;
        }
        bool call = last + 1 < seq.size() && seq[last + 1].isGroup();
        if (last > i && !call) refs.qualifiers.push_back(seq[last - 2].token.text);
        if (last == i && !call) refs.unqualified = true;
        i = last;
    }
}

struct FromItem {
    SqlSeq nodes;
    std::string_view name;     // the alias, or the table's own name
    std::vector<SqlSeq> on;    // the predicates that mark this item
    std::vector<size_t> deps;  // the items those predicates also refer to
};

std::string_view exposedName(const SqlSeq& nodes) {
    if (nodes.empty() || !isName(nodes.back())) return {};
    return nodes.back().token.text;
}

size_t findItem(const std::vector<FromItem>& items, std::string_view name) {
    for (size_t i = 0; i < items.size(); ++i) {
        if (!items[i].name.empty() && sameName(items[i].name, name)) return i;
    }
    return kNoItem;
}

bool hasTopLevelOr(const SqlSeq& condition) {
    bool hasOr = false;
    SqlQueryBlock::splitConjuncts(condition, {0, condition.size()}, hasOr);
    return hasOr;
}

class JoinPlanner {
  public:
    explicit JoinPlanner(std::vector<FromItem>& items) : items_(items), parent_(items.size()) {
        std::iota(parent_.begin(), parent_.end(), size_t{0});
    }

    // Files a WHERE predicate: into the ON clause of the item it marks, or
    // back into WHERE.
    void file(SqlSeq&& condition) {
        std::vector<std::string_view> marked;
        collectMarkedQualifiers(condition, marked);
        if (marked.empty()) {
            where_.push_back(std::move(condition));
            return;
        }
        if (hasTopLevelOr(condition)) {
            throw TranslationError("(+) is not allowed in a condition joined by OR");
        }
        size_t optional = resolve(marked.front());
        for (std::string_view q : marked) {
            if (resolve(q) != optional) {
                throw TranslationError("one condition marks two tables with (+)");
            }
        }
        removeMarks(condition);
        noteDependencies(optional, condition);
        items_[optional].on.push_back(std::move(condition));
    }

    std::vector<SqlSeq> takeWhere() { return std::move(where_); }
    bool mergeAll() const { return mergeAll_; }

    // Emission order: per join tree, its preserved tables in FROM order, then
    // its optional tables after everything their ON clauses refer to.
    std::vector<std::vector<size_t>> trees() {
        groupTrees();
        std::vector<std::vector<size_t>> result;
        std::vector<bool> emitted(items_.size(), false);
        for (size_t i = 0; i < items_.size(); ++i) {
            if (emitted[find(i)]) continue;
            emitted[find(i)] = true;
            result.push_back(orderTree(find(i)));
        }
        return result;
    }

  private:
    size_t resolve(std::string_view qualifier) const {
        size_t item = findItem(items_, qualifier);
        if (item == kNoItem) {
            throw TranslationError("(+) marks a column of " + std::string(qualifier) +
                                   ", which is not in the FROM list");
        }
        return item;
    }

    void noteDependencies(size_t optional, const SqlSeq& condition) {
        References refs;
        collectReferences(condition, refs);
        if (refs.unqualified) mergeAll_ = true;
        for (std::string_view q : refs.qualifiers) {
            size_t item = findItem(items_, q);
            if (item != kNoItem && item != optional) items_[optional].deps.push_back(item);
        }
    }

    bool isOptional(size_t i) const { return !items_[i].on.empty(); }

    size_t find(size_t i) {
        while (parent_[i] != i) i = parent_[i] = parent_[parent_[i]];
        return i;
    }

    void unite(size_t a, size_t b) { parent_[find(a)] = find(b); }

    void groupTrees() {
        size_t firstBase = kNoItem;
        for (size_t i = 0; i < items_.size() && firstBase == kNoItem; ++i) {
            if (!isOptional(i)) firstBase = i;
        }
        if (firstBase == kNoItem) throw TranslationError("every table is marked with (+)");
        for (size_t i = 0; i < items_.size(); ++i) {
            if (mergeAll_) unite(i, firstBase);
            if (!isOptional(i)) continue;
            if (items_[i].deps.empty()) unite(i, firstBase);
            for (size_t dep : items_[i].deps) unite(i, dep);
        }
    }

    std::vector<size_t> orderTree(size_t root) {
        std::vector<size_t> order;
        std::vector<bool> placed(items_.size(), false);
        for (size_t i = 0; i < items_.size(); ++i) {
            if (find(i) == root && !isOptional(i)) {
                order.push_back(i);
                placed[i] = true;
            }
        }
        if (order.empty()) throw TranslationError("(+) joins with no preserved table");
        while (placeNextOptional(root, placed, order)) {
        }
        return order;
    }

    bool placeNextOptional(size_t root, std::vector<bool>& placed, std::vector<size_t>& order) {
        bool pending = false;
        for (size_t i = 0; i < items_.size(); ++i) {
            if (find(i) != root || placed[i]) continue;
            pending = true;
            bool ready = true;
            for (size_t dep : items_[i].deps) ready = ready && placed[dep];
            if (!ready) continue;
            order.push_back(i);
            placed[i] = true;
            return true;
        }
        if (pending) throw TranslationError("(+) joins form a cycle");
        return false;
    }

    std::vector<FromItem>& items_;
    std::vector<size_t> parent_;
    std::vector<SqlSeq> where_;
    bool mergeAll_ = false;
};

std::vector<FromItem> takeFromItems(SqlSeq& seq, SqlRange fromList) {
    std::vector<FromItem> items;
    for (const SqlRange& r : SqlQueryBlock::splitCommas(seq, fromList)) {
        for (size_t i = r.begin; i < r.end; ++i) {
            if (isKeyword(seq[i], Kw::Join)) {
                throw TranslationError("(+) cannot be combined with JOIN in one query");
            }
        }
        FromItem item;
        item.nodes = take(seq, r.begin, r.end);
        item.name = exposedName(item.nodes);
        items.push_back(std::move(item));
    }
    return items;
}

bool selectsBareStar(const SqlSeq& seq, SqlRange list) {
    for (size_t i = list.begin; i < list.end; ++i) {
        if (!isOperator(seq[i], "*")) continue;
        const SqlNode& before = seq[i - 1];
        if (isKind(before, TokenKind::Comma) || isKeyword(before, Kw::Select) ||
            isKeyword(before, Kw::Distinct) || isKeyword(before, Kw::All)) {
            return true;
        }
    }
    return false;
}

void appendItem(SqlSeq& out, FromItem& item) {
    setGap(item.nodes, Gap::Space);
    append(out, std::move(item.nodes));
}

SqlSeq joinTree(std::vector<FromItem>& items, const std::vector<size_t>& order) {
    SqlSeq out;
    for (size_t k = 0; k < order.size(); ++k) {
        FromItem& item = items[order[k]];
        bool optional = !item.on.empty();
        if (k > 0) {
            out.push_back(makeWord(optional ? "LEFT" : "CROSS"));
            out.push_back(makeWord("JOIN"));
        }
        appendItem(out, item);
        if (!optional) continue;
        out.push_back(makeWord("ON"));
        append(out, SqlQueryBlock::joinConditions(std::move(item.on)));
    }
    return out;
}

void rewriteBlock(SqlSeq& seq, const SqlQueryBlock& block) {
    SqlRange condition = block.condition();
    if (condition.empty() || !containsMark(seq, condition)) return;
    bool bareStar = selectsBareStar(seq, block.selectList());
    std::vector<FromItem> items = takeFromItems(seq, block.fromList());
    auto conjuncts = SqlQueryBlock::takeConjuncts(
        seq, condition, [](const SqlSeq& group) { return containsMark(group); });

    JoinPlanner planner(items);
    for (SqlSeq& c : conjuncts) planner.file(std::move(c));
    auto trees = planner.trees();

    SqlSeq rebuilt;
    size_t expected = 0;
    bool reordered = false;
    for (const auto& tree : trees) {
        for (size_t i : tree) reordered = reordered || i != expected++;
        if (!rebuilt.empty()) rebuilt.push_back(makeComma());
        append(rebuilt, joinTree(items, tree));
    }
    if (bareStar && reordered) {
        throw TranslationError("(+) would reorder the columns of Select *");
    }
    std::vector<SqlSeq> where = planner.takeWhere();
    if (!where.empty()) {
        rebuilt.push_back(makeWord("WHERE"));
        append(rebuilt, SqlQueryBlock::joinConditions(std::move(where)));
    }
    replaceRange(seq, block.from + 1, block.afterCondition(), std::move(rebuilt));
}

}  // namespace

void OracleOuterJoinRewriter::rewrite(SqlSeq& seq) {
    for (SqlNode& n : seq) {
        if (n.isGroup()) rewrite(n.inner);
    }
    auto blocks = SqlQueryBlock::locate(seq);
    for (auto it = blocks.rbegin(); it != blocks.rend(); ++it) rewriteBlock(seq, *it);
}

}  // namespace tk::translate
