// Finding SELECT blocks and their clauses on one nesting level, and splitting at AND and commas.
#include "translate/SqlQueryBlock.hpp"

namespace tk::translate {
namespace {

bool isSetOperator(const SqlNode& n) {
    return isKeyword(n, Kw::Union) || isKeyword(n, Kw::Minus) || isKeyword(n, Kw::Intersect) ||
           isKeyword(n, Kw::Except);
}

// Clauses that end the FROM list or the WHERE condition.
bool isTailClause(const SqlNode& n) {
    switch (n.token.kind == TokenKind::Word ? n.token.keyword : Kw::None) {
        case Kw::Group:
        case Kw::Having:
        case Kw::Order:
        case Kw::Connect:
        case Kw::Start:
        case Kw::For:
        case Kw::Limit:
        case Kw::Offset:
        case Kw::Fetch:
            return true;
        default:
            return false;
    }
}

// Clauses are recorded only in their SQL order, so that malformed text never
// yields a range that runs backwards.
void noteClause(SqlQueryBlock& b, const SqlNode& n, size_t i) {
    const size_t none = SqlQueryBlock::kNone;
    bool beforeFrom = b.from == none && b.tail == none;
    if (isKeyword(n, Kw::Into) && beforeFrom && b.into == none) b.into = i;
    if (isKeyword(n, Kw::From) && beforeFrom) b.from = i;
    if (isKeyword(n, Kw::Where) && b.from != none && b.where == none && b.tail == none) b.where = i;
    if (isKeyword(n, Kw::Group) && b.groupBy == none) b.groupBy = i;
    if (isKeyword(n, Kw::Having) && b.having == none) b.having = i;
    if (isKeyword(n, Kw::Order) && b.orderBy == none) b.orderBy = i;
    if (isKeyword(n, Kw::For) && b.forUpdate == none) b.forUpdate = i;
}

}  // namespace

SqlRange SqlQueryBlock::selectList() const {
    size_t stop = into != kNone ? into : from != kNone ? from : afterCondition();
    return {select + 1, stop};
}

SqlRange SqlQueryBlock::fromList() const {
    if (from == kNone) return {0, 0};
    return {from + 1, where != kNone ? where : afterCondition()};
}

SqlRange SqlQueryBlock::condition() const {
    if (where == kNone) return {0, 0};
    return {where + 1, afterCondition()};
}

size_t SqlQueryBlock::afterCondition() const { return tail != kNone ? tail : end; }

std::vector<SqlQueryBlock> SqlQueryBlock::locate(const SqlSeq& seq) {
    std::vector<SqlQueryBlock> blocks;
    SqlQueryBlock current;
    for (size_t i = 0; i < seq.size(); ++i) {
        const SqlNode& n = seq[i];
        if (current.select == kNone) {
            if (isKeyword(n, Kw::Select)) current.select = i;
            continue;
        }
        if (isSetOperator(n)) {
            current.end = i;
            blocks.push_back(current);
            current = SqlQueryBlock{};
            continue;
        }
        noteClause(current, n, i);
        if (isTailClause(n) && current.tail == kNone) current.tail = i;
    }
    if (current.select != kNone) {
        current.end = seq.size();
        blocks.push_back(current);
    }
    return blocks;
}

std::vector<SqlRange> SqlQueryBlock::splitConjuncts(const SqlSeq& seq, SqlRange range,
                                                    bool& hasOr) {
    std::vector<SqlRange> parts;
    int caseDepth = 0;
    bool inBetween = false;
    size_t start = range.begin;
    for (size_t i = range.begin; i < range.end; ++i) {
        const SqlNode& n = seq[i];
        if (isKeyword(n, Kw::Case)) ++caseDepth;
        if (isKeyword(n, Kw::End) && caseDepth > 0) --caseDepth;
        if (caseDepth > 0) continue;
        if (isKeyword(n, Kw::Between)) inBetween = true;
        if (isKeyword(n, Kw::Or)) hasOr = true;
        if (!isKeyword(n, Kw::And)) continue;
        if (inBetween) {
            inBetween = false;
            continue;
        }
        parts.push_back({start, i});
        start = i + 1;
    }
    parts.push_back({start, range.end});
    return parts;
}

std::vector<SqlSeq> SqlQueryBlock::takeConjuncts(SqlSeq& seq, SqlRange range,
                                                 bool (*open)(const SqlSeq&)) {
    std::vector<SqlSeq> out;
    bool hasOr = false;
    auto parts = splitConjuncts(seq, range, hasOr);
    if (hasOr) parts = {range};
    for (const SqlRange& part : parts) {
        SqlNode& first = seq[part.begin];
        if (part.end - part.begin == 1 && first.isGroup() && !isSubquery(first) &&
            open(first.inner)) {
            bool innerOr = false;
            splitConjuncts(first.inner, {0, first.inner.size()}, innerOr);
            if (!innerOr) {
                for (SqlSeq& c : takeConjuncts(first.inner, {0, first.inner.size()}, open)) {
                    out.push_back(std::move(c));
                }
                continue;
            }
        }
        out.push_back(take(seq, part.begin, part.end));
    }
    return out;
}

std::vector<SqlRange> SqlQueryBlock::splitCommas(const SqlSeq& seq, SqlRange range) {
    std::vector<SqlRange> parts;
    size_t start = range.begin;
    for (size_t i = range.begin; i < range.end; ++i) {
        if (!isKind(seq[i], TokenKind::Comma)) continue;
        parts.push_back({start, i});
        start = i + 1;
    }
    parts.push_back({start, range.end});
    return parts;
}

SqlSeq SqlQueryBlock::joinConditions(std::vector<SqlSeq>&& conditions) {
    SqlSeq joined;
    for (auto& condition : conditions) {
        if (!joined.empty()) joined.push_back(makeWord("AND"));
        setGap(condition, Gap::Space);
        append(joined, std::move(condition));
    }
    return joined;
}

}  // namespace tk::translate
