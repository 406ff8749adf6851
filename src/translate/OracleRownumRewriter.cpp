// The ROWNUM rewrite: conditions taken out of each query block and replaced by a LIMIT, put
// in a derived table when grouping, DISTINCT or aggregates would come first.
#include "translate/OracleRownumRewriter.hpp"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>

#include "translate/OracleTranslator.hpp"
#include "translate/SqlQueryBlock.hpp"

namespace tk::translate {
namespace {

bool containsRownum(const SqlSeq& seq, SqlRange range) {
    for (size_t i = range.begin; i < range.end; ++i) {
        const SqlNode& n = seq[i];
        if (isKeyword(n, Kw::Rownum)) return true;
        if (n.isGroup() && !isSubquery(n) && containsRownum(n.inner, {0, n.inner.size()})) {
            return true;
        }
    }
    return false;
}

bool containsRownum(const SqlSeq& seq) { return containsRownum(seq, {0, seq.size()}); }

bool isAggregateCall(const SqlSeq& seq, size_t i) {
    if (i + 1 >= seq.size() || !seq[i + 1].isGroup()) return false;
    switch (seq[i].token.kind == TokenKind::Word ? seq[i].token.keyword : Kw::None) {
        case Kw::Count:
        case Kw::Sum:
        case Kw::Max:
        case Kw::Min:
        case Kw::Avg:
            return true;
        default:
            return false;
    }
}

bool hasAggregate(const SqlSeq& seq, SqlRange range) {
    for (size_t i = range.begin; i < range.end; ++i) {
        if (isAggregateCall(seq, i)) return true;
        const SqlNode& n = seq[i];
        if (n.isGroup() && !isSubquery(n) && hasAggregate(n.inner, {0, n.inner.size()})) {
            return true;
        }
    }
    return false;
}

std::string_view mirrored(std::string_view op) {
    if (op == "<") return ">";
    if (op == ">") return "<";
    if (op == "<=") return ">=";
    if (op == ">=") return "<=";
    return op;
}

// The number of rows "rownum <op> value" lets through; nullopt for all rows.
std::optional<long long> rowsAllowed(std::string_view op, double value) {
    if (op == "=") return value == 1 ? 1 : 0;
    if (op == "<") return std::max(0LL, static_cast<long long>(std::ceil(value)) - 1);
    if (op == "<=") return std::max(0LL, static_cast<long long>(std::floor(value)));
    if (op == ">" && value < 1) return std::nullopt;
    if (op == ">=" && value <= 1) return std::nullopt;
    if (op == ">" || op == ">=") return 0;  // row 1 fails, so no row ever gets number 2
    throw TranslationError("ROWNUM comparison not understood");
}

// Bounded, so that a huge literal still converts to a row count: no table
// holds 10^18 rows.
double numberValue(const SqlNode& n) {
    double value = std::strtod(std::string(n.token.text).c_str(), nullptr);
    return std::clamp(value, -1e18, 1e18);
}

std::optional<long long> limitOf(const SqlSeq& c) {
    bool leading = c.size() == 3 && isKeyword(c[0], Kw::Rownum) &&
                   isKind(c[1], TokenKind::Operator) && isKind(c[2], TokenKind::Number);
    bool trailing = c.size() == 3 && isKind(c[0], TokenKind::Number) &&
                    isKind(c[1], TokenKind::Operator) && isKeyword(c[2], Kw::Rownum);
    if (!leading && !trailing) {
        throw TranslationError("ROWNUM is only understood as \"rownum <= n\" in a WHERE clause");
    }
    std::string_view op = c[1].token.text;
    return rowsAllowed(leading ? op : mirrored(op), numberValue(leading ? c[2] : c[0]));
}

class BlockLimiter {
  public:
    BlockLimiter(SqlSeq& seq, size_t index, SqlTextArena& arena)
        : seq_(seq), index_(index), arena_(arena) {}

    void run() {
        auto blocks = SqlQueryBlock::locate(seq_);
        SqlRange condition = blocks[index_].condition();
        if (condition.empty() || !containsRownum(seq_, condition)) {
            return;
        }
        std::optional<long long> limit = takeRownumConditions(blocks[index_]);
        blocks = SqlQueryBlock::locate(seq_);
        if (!limit) return;
        const SqlQueryBlock& block = blocks[index_];
        if (needsDerivedTable(block, *limit)) {
            limitInDerivedTable(block, *limit);
        } else {
            bool inSetOperation = blocks.size() > 1;
            appendLimit(block, *limit, inSetOperation, index_ + 1 == blocks.size());
        }
    }

  private:
    std::optional<long long> takeRownumConditions(const SqlQueryBlock& block) {
        auto conjuncts = SqlQueryBlock::takeConjuncts(seq_, block.condition(), containsRownum);
        std::vector<SqlSeq> kept;
        std::optional<long long> limit;
        for (SqlSeq& c : conjuncts) {
            if (!containsRownum(c)) {
                kept.push_back(std::move(c));
                continue;
            }
            std::optional<long long> rows = limitOf(c);
            if (rows && (!limit || *rows < *limit)) limit = rows;
        }
        SqlSeq where;
        if (!kept.empty()) {
            where.push_back(makeWord("WHERE"));
            append(where, SqlQueryBlock::joinConditions(std::move(kept)));
        }
        replaceRange(seq_, block.where, block.afterCondition(), std::move(where));
        return limit;
    }

    bool needsDerivedTable(const SqlQueryBlock& b, long long limit) const {
        bool distinct =
            b.select + 1 < seq_.size() && (isKeyword(seq_[b.select + 1], Kw::Distinct) ||
                                           isKeyword(seq_[b.select + 1], Kw::Unique));
        return b.groupBy != SqlQueryBlock::kNone || b.having != SqlQueryBlock::kNone ||
               hasAggregate(seq_, b.selectList()) || (distinct && limit > 1);
    }

    SqlSeq limitClause(long long limit) {
        SqlSeq clause;
        clause.push_back(makeWord("LIMIT"));
        clause.push_back(makeNode(TokenKind::Number, arena_.keep(std::to_string(limit))));
        return clause;
    }

    // "(Select … Limit n) Order By …" inside a set operation, else "… Limit n".
    void appendLimit(const SqlQueryBlock& b, long long limit, bool inSetOperation, bool last) {
        size_t stop = b.forUpdate != SqlQueryBlock::kNone ? b.forUpdate : b.end;
        if (inSetOperation && last && b.orderBy != SqlQueryBlock::kNone) stop = b.orderBy;
        replaceRange(seq_, stop, stop, limitClause(limit));
        if (!inSetOperation) return;
        size_t limitEnd = stop + 2;
        Gap gap = seq_[b.select].token.gap;
        SqlSeq inner = take(seq_, b.select, limitEnd);
        setGap(inner, Gap::None);
        SqlSeq wrapped;
        wrapped.push_back(makeGroup(std::move(inner), gap));
        replaceRange(seq_, b.select, limitEnd, std::move(wrapped));
    }

    // Aggregates count the rows left after the limit: "From (Select * From t
    // Where … Limit n) t".
    void limitInDerivedTable(const SqlQueryBlock& b, long long limit) {
        SqlRange from = b.fromList();
        auto items = SqlQueryBlock::splitCommas(seq_, from);
        bool joined = false;
        for (size_t i = from.begin; i < from.end; ++i)
            joined = joined || isKeyword(seq_[i], Kw::Join);
        if (items.size() != 1 || joined) {
            throw TranslationError("ROWNUM before aggregation is only understood over one table");
        }
        std::string_view alias = seq_[from.end - 1].token.text;
        if (!isName(seq_[from.end - 1])) alias = "tk_rows";
        SqlSeq inner;
        inner.push_back(makeWord("SELECT", Gap::None));
        inner.push_back(makeNode(TokenKind::Operator, "*"));
        inner.push_back(makeWord("FROM"));
        append(inner, take(seq_, from.begin, b.afterCondition()));
        append(inner, limitClause(limit));
        SqlSeq derived;
        derived.push_back(makeGroup(std::move(inner), Gap::Space));
        derived.push_back(makeWord(alias));
        replaceRange(seq_, from.begin, b.afterCondition(), std::move(derived));
    }

    SqlSeq& seq_;
    size_t index_;
    SqlTextArena& arena_;
};

}  // namespace

void OracleRownumRewriter::rewrite(SqlSeq& seq, SqlTextArena& arena) {
    for (SqlNode& n : seq) {
        if (n.isGroup()) rewrite(n.inner, arena);
    }
    size_t count = SqlQueryBlock::locate(seq).size();
    for (size_t k = count; k-- > 0;) BlockLimiter(seq, k, arena).run();
}

}  // namespace tk::translate
