// Locates the clauses of query blocks in a node sequence and splits conditions and lists.
#pragma once
#include <cstddef>
#include <vector>

#include "translate/SqlNode.hpp"

namespace tk::translate {

struct SqlRange {
    size_t begin = 0;
    size_t end = 0;
    bool empty() const { return begin >= end; }
};

// Where the clauses of one query block ("Select … From … Where …", up to a set
// operator or the end) sit among the nodes of one nesting level. Positions are
// indexes into that level; kNone marks a clause the block lacks.
struct SqlQueryBlock {
    static constexpr size_t kNone = static_cast<size_t>(-1);

    size_t select = kNone;
    size_t into = kNone;  // PL/SQL "Select … Into v From"
    size_t from = kNone;
    size_t where = kNone;
    size_t groupBy = kNone;
    size_t having = kNone;
    size_t orderBy = kNone;
    size_t forUpdate = kNone;
    size_t tail = kNone;  // first clause after the condition (Group By, Order By, Connect By …)
    size_t end = kNone;   // the set operator after the block, or the level's end

    // The select list, the FROM list and the WHERE condition, without keywords.
    SqlRange selectList() const;
    SqlRange fromList() const;
    SqlRange condition() const;
    // First clause after the WHERE condition (or after FROM when no WHERE).
    size_t afterCondition() const;

    // The query blocks whose SELECT stands on this level.
    static std::vector<SqlQueryBlock> locate(const SqlSeq& seq);

    // Splits `range` at the level's top AND operators (not BETWEEN's, not
    // inside CASE). Sets `hasOr` when an OR stands at that level.
    static std::vector<SqlRange> splitConjuncts(const SqlSeq& seq, SqlRange range, bool& hasOr);
    // Moves the conjuncts of condition `range` out of `seq`. A parenthesised
    // AND group for which `open` answers true is split as well; with an OR at
    // the top the condition stays whole.
    static std::vector<SqlSeq> takeConjuncts(SqlSeq& seq, SqlRange range,
                                             bool (*open)(const SqlSeq&));
    // Splits `range` at the commas of the level.
    static std::vector<SqlRange> splitCommas(const SqlSeq& seq, SqlRange range);
    // Joins conditions with AND.
    static SqlSeq joinConditions(std::vector<SqlSeq>&& conditions);
};

}  // namespace tk::translate
