// The DDL translation: column types mapped, storage options dropped, ALTER TABLE ADD/MODIFY
// split into column actions, and recompiles turned into existence checks.
#include "translate/OracleDdlTranslator.hpp"

#include <string>

#include "translate/OracleTranslator.hpp"
#include "translate/OracleTypeMapper.hpp"
#include "translate/SqlQueryBlock.hpp"
#include "translate/SqlTree.hpp"

namespace tk::translate {
namespace {

// The object name as text: "zt.amasset" (unquoted parts folded as PostgreSQL
// folds them).
std::string objectName(const SqlSeq& seq, size_t begin, size_t end) {
    std::string name;
    for (size_t i = begin; i < end; ++i) {
        const Token& t = seq[i].token;
        name += t.kind == TokenKind::QuotedName ? std::string(t.text) : lowerAscii(t.text);
    }
    return name;
}

std::string_view quoted(SqlTextArena& arena, const std::string& text) {
    return arena.keep("'" + text + "'");
}

// "Select 'zt.t'::regclass": does nothing but fails when the table is missing.
SqlSeq existenceCheck(const std::string& table, SqlTextArena& arena) {
    SqlSeq check;
    check.push_back(makeWord("SELECT", Gap::None));
    check.push_back(makeNode(TokenKind::String, quoted(arena, table)));
    check.push_back(makeNode(TokenKind::Operator, "::", Gap::None));
    check.push_back(makeWord("regclass", Gap::None));
    return check;
}

bool isWordNode(const SqlNode& n, std::string_view word) {
    return n.token.kind == TokenKind::Word && sameName(n.token.text, word);
}

// Words about physical storage that PostgreSQL has no use for.
bool isStorageWord(const SqlNode& n) {
    for (std::string_view w :
         {"cache", "nocache", "monitoring", "nomonitoring", "rowdependencies", "norowdependencies"})
        if (isWordNode(n, w)) return true;
    return false;
}

bool isLoneStorageWord(const SqlNode& n) {
    if (isStorageWord(n)) return true;
    switch (n.token.kind == TokenKind::Word ? n.token.keyword : Kw::None) {
        case Kw::Nologging:
        case Kw::Logging:
        case Kw::Compress:
        case Kw::Nocompress:
        case Kw::Noparallel:
        case Kw::Online:
            return true;
        default:
            return false;
    }
}

// How many nodes from seq[i] on form a storage option, 0 for none.
size_t storageOptionLength(const SqlSeq& seq, size_t i) {
    const SqlNode& n = seq[i];
    bool hasNext = i + 1 < seq.size();
    if (isLoneStorageWord(n)) return 1;
    if (isKeyword(n, Kw::Parallel)) return hasNext && isKind(seq[i + 1], TokenKind::Number) ? 2 : 1;
    if (isKeyword(n, Kw::Tablespace) || isKeyword(n, Kw::Pctfree) || isKeyword(n, Kw::Initrans) ||
        isWordNode(n, "pctused") || isWordNode(n, "maxtrans") || isWordNode(n, "organization")) {
        return hasNext ? 2 : 1;  // ORGANIZATION INDEX: the primary key's index serves alike
    }
    if (isWordNode(n, "segment") && i + 2 < seq.size()) return 3;  // SEGMENT CREATION DEFERRED
    if ((isWordNode(n, "enable") || isWordNode(n, "disable")) && i + 2 < seq.size() &&
        isWordNode(seq[i + 1], "row"))
        return 3;  // ENABLE ROW MOVEMENT
    if (isKeyword(n, Kw::Using) && hasNext && isKeyword(seq[i + 1], Kw::Index)) {
        return 2;  // USING INDEX before a constraint's storage options
    }
    if (isKeyword(n, Kw::Storage) && hasNext && seq[i + 1].isGroup()) return 2;
    if (isKeyword(n, Kw::Compute) && hasNext && isKeyword(seq[i + 1], Kw::Statistics)) return 2;
    return 0;
}

void dropStorageOptions(SqlSeq& seq, size_t from, size_t to) {
    SqlSeq kept;
    for (size_t i = from; i < to;) {
        size_t length = storageOptionLength(seq, i);
        if (length == 0) kept.push_back(std::move(seq[i]));
        i += length == 0 ? 1 : length;
    }
    replaceRange(seq, from, to, std::move(kept));
}

size_t findTopLevel(const SqlSeq& seq, size_t from, Kw kw) {
    for (size_t i = from; i < seq.size(); ++i) {
        if (isKeyword(seq[i], kw)) return i;
    }
    return seq.size();
}

void createTable(SqlSeq& seq, size_t nameAt) {
    size_t i = dottedNameEnd(seq, nameAt);
    if (i < seq.size() && seq[i].isGroup() && !isSubquery(seq[i])) {
        SqlSeq& definitions = seq[i].inner;
        OracleTypeMapper::mapColumnDefinitions(definitions);
        // from the last definition back, so that the ranges before stay valid
        auto ranges = SqlQueryBlock::splitCommas(definitions, {0, definitions.size()});
        for (auto r = ranges.rbegin(); r != ranges.rend(); ++r)
            if (size_t at = findTopLevel(definitions, r->begin, Kw::Using); at < r->end)
                dropStorageOptions(definitions, at, r->end);
        ++i;
    }
    dropStorageOptions(seq, i, findTopLevel(seq, i, Kw::As));
}

void replaceWord(SqlSeq& seq, size_t i, std::initializer_list<std::string_view> words) {
    SqlSeq with;
    for (std::string_view w : words) with.push_back(makeWord(w));
    setGap(with, seq[i].token.gap);
    replaceRange(seq, i, i + 1, std::move(with));
}

// NOCYCLE → NO CYCLE and friends; NOCACHE and ORDER have no counterpart.
void createSequence(SqlSeq& seq, size_t from) {
    for (size_t i = seq.size(); i-- > from;) {
        switch (seq[i].token.kind == TokenKind::Word ? seq[i].token.keyword : Kw::None) {
            case Kw::Nocache:
            case Kw::Noorder:
            case Kw::Order:
                seq.erase(seq.begin() + static_cast<std::ptrdiff_t>(i));
                break;
            case Kw::Nocycle:
                replaceWord(seq, i, {"NO", "CYCLE"});
                break;
            case Kw::Nomaxvalue:
                replaceWord(seq, i, {"NO", "MAXVALUE"});
                break;
            case Kw::Nominvalue:
                replaceWord(seq, i, {"NO", "MINVALUE"});
                break;
            default:
                break;
        }
    }
}

// A view WITH READ ONLY selects from its query as a subquery, which
// PostgreSQL will not write through; WITH CHECK OPTION loses the constraint
// name Oracle may give it.
void viewOptions(SqlSeq& seq, size_t viewAt) {
    size_t n = seq.size();
    if (n >= 3 && isKeyword(seq[n - 3], Kw::With) && isKeyword(seq[n - 2], Kw::Read) &&
        isKeyword(seq[n - 1], Kw::Only)) {
        size_t as = findTopLevel(seq, viewAt, Kw::As);
        if (as + 1 >= n - 3) throw TranslationError("view query expected");
        SqlSeq query = take(seq, as + 1, n - 3);
        setGap(query, Gap::None);
        SqlSeq wrapped{makeWord("SELECT"), makeWord("*"), makeWord("FROM"),
                       makeGroup(std::move(query), Gap::Space), makeWord("read_only")};
        seq.resize(as + 1);
        append(seq, std::move(wrapped));
        return;
    }
    for (size_t i = viewAt; i + 3 < seq.size(); ++i)
        if (isKeyword(seq[i], Kw::Check) && isKeyword(seq[i + 2], Kw::Constraint))
            seq.erase(seq.begin() + static_cast<std::ptrdiff_t>(i + 2),
                      seq.begin() + static_cast<std::ptrdiff_t>(i + 4));
}

}  // namespace

void OracleDdlTranslator::translate(SqlSeq& seq, SqlTextArena& arena) {
    switch (seq.front().token.keyword) {
        case Kw::Create:
            create(seq);
            break;
        case Kw::Alter:
            alter(seq, arena);
            break;
        case Kw::Drop:
            drop(seq, arena);
            break;
        case Kw::Truncate:
            truncate(seq);
            break;
        default:
            break;
    }
}

void OracleDdlTranslator::create(SqlSeq& seq) {
    size_t i = 1;
    if (i + 1 < seq.size() && isKeyword(seq[i], Kw::Or) && isKeyword(seq[i + 1], Kw::Replace)) {
        i += 2;
    }
    while (i < seq.size() && (isKeyword(seq[i], Kw::Force) || isKeyword(seq[i], Kw::Noforce))) {
        seq.erase(seq.begin() + static_cast<std::ptrdiff_t>(i));
    }
    if (i < seq.size() && isKeyword(seq[i], Kw::Global)) i += 2;  // GLOBAL TEMPORARY
    if (i < seq.size() && isKeyword(seq[i], Kw::Unique)) ++i;
    if (i >= seq.size()) return;
    switch (seq[i].token.keyword) {
        case Kw::Table:
            createTable(seq, i + 1);
            break;
        case Kw::Sequence:
            createSequence(seq, i + 1);
            break;
        case Kw::View:
            viewOptions(seq, i + 1);
            break;
        case Kw::Index:
            dropStorageOptions(seq, i + 1, seq.size());
            break;
        case Kw::Procedure:
        case Kw::Function:
        case Kw::Package:
        case Kw::Trigger:
        case Kw::Type:
            throw TranslationError("stored PL/SQL units are not translated");
        default:
            break;
    }
}

void OracleDdlTranslator::alter(SqlSeq& seq, SqlTextArena& arena) {
    if (seq.size() < 3) return;
    switch (seq[1].token.keyword) {
        case Kw::Table:
            alterTable(seq, arena);
            break;
        case Kw::Function:
        case Kw::Procedure:
            compileRoutine(seq, arena);
            break;
        case Kw::View:
            if (isKeyword(seq.back(), Kw::Compile)) {
                seq = existenceCheck(objectName(seq, 2, dottedNameEnd(seq, 2)), arena);
            }
            break;
        case Kw::Session:
            alterSession(seq);
            break;
        case Kw::Trigger:
            alterTrigger(seq, arena);
            break;
        case Kw::Package:
            throw TranslationError("recompiling packages is not translated");
        default:
            break;
    }
}

void OracleDdlTranslator::alterTable(SqlSeq& seq, SqlTextArena& arena) {
    size_t action = dottedNameEnd(seq, 2);
    if (action >= seq.size()) return;
    switch (seq[action].token.keyword) {
        case Kw::Nologging:
        case Kw::Logging:
            // Logging is about redo volume; PostgreSQL's nearest (SET UNLOGGED)
            // would rewrite the table, so only the table's existence is checked.
            seq = existenceCheck(objectName(seq, 2, action), arena);
            break;
        case Kw::Add:
            if (addKey(seq, action, arena)) break;
            if (action + 1 < seq.size() && seq[action + 1].isGroup()) {
                addColumns(seq, action);
            } else if (action + 1 < seq.size() &&
                       !OracleTypeMapper::isConstraint(seq[action + 1])) {
                OracleTypeMapper::mapType(seq, action + 2);
            }
            break;
        case Kw::Modify:
            if (action + 2 < seq.size() && isKeyword(seq[action + 1], Kw::Constraint)) {
                constraintState(seq, action + 2, action + 3, arena);
            } else {
                modifyColumns(seq, action);
            }
            break;
        default:
            if (isWordNode(seq[action], "enable") || isWordNode(seq[action], "disable"))
                constraintState(seq, action, action, arena);
            break;
    }
}

// "ENABLE [VALIDATE] CONSTRAINT c", "DISABLE CONSTRAINT c [CASCADE]", "MODIFY
// CONSTRAINT c DISABLE" → "SELECT oracompat.disable_constraint('t', 'c')";
// "ENABLE | DISABLE ALL TRIGGERS" → "… ENABLE | DISABLE TRIGGER USER".
void OracleDdlTranslator::constraintState(SqlSeq& seq, size_t name, size_t state,
                                          SqlTextArena& arena) {
    size_t tableEnd = dottedNameEnd(seq, 2);
    bool enable = state < seq.size() && isWordNode(seq[state], "enable");
    if (name == state) {
        size_t k = state + 1;
        if (k < seq.size() && (isWordNode(seq[k], "validate") || isWordNode(seq[k], "novalidate")))
            ++k;
        if (k + 1 < seq.size() && isKeyword(seq[k], Kw::All) &&
            isWordNode(seq[k + 1], "triggers")) {
            seq = take(seq, 0, tableEnd);
            append(seq, SqlSeq{makeWord(enable ? "ENABLE" : "DISABLE"), makeWord("TRIGGER"),
                               makeWord("USER")});
            return;
        }
        if (k + 1 >= seq.size() || !isKeyword(seq[k], Kw::Constraint))
            throw TranslationError("ENABLE / DISABLE is understood for a named constraint");
        name = k + 1;
    } else if (state >= seq.size() ||
               !(isWordNode(seq[state], "enable") || isWordNode(seq[state], "disable"))) {
        throw TranslationError("MODIFY CONSTRAINT is understood with ENABLE or DISABLE");
    }
    std::vector<SqlSeq> args;
    args.push_back({makeNode(TokenKind::String, quoted(arena, objectName(seq, 2, tableEnd)))});
    args.push_back(
        {makeNode(TokenKind::String, quoted(arena, objectName(seq, name, name + 1)), Gap::Space)});
    SqlSeq call = {makeWord("SELECT", Gap::None)};
    append(call, makeCall(enable ? "oracompat.enable_constraint" : "oracompat.disable_constraint",
                          joinWithCommas(std::move(args)), Gap::Space));
    seq = std::move(call);
}

// "ADD [CONSTRAINT c] PRIMARY KEY | UNIQUE (cols) [USING INDEX i] …" →
// "SELECT oracompat.add_key('t', 'c', 'PRIMARY KEY', 'cols', 'i')", which
// takes over an index the script made before.
bool OracleDdlTranslator::addKey(SqlSeq& seq, size_t add, SqlTextArena& arena) {
    // "ADD (CONSTRAINT c PRIMARY KEY (…))": one constraint in parentheses
    bool single =
        add + 2 == seq.size() && seq[add + 1].isGroup() && !seq[add + 1].inner.empty() &&
        OracleTypeMapper::isConstraint(seq[add + 1].inner.front()) &&
        SqlQueryBlock::splitCommas(seq[add + 1].inner, {0, seq[add + 1].inner.size()}).size() == 1;
    if (single) {
        SqlSeq inner = std::move(seq[add + 1].inner);
        seq.resize(add + 1);
        append(seq, spaced(std::move(inner)));
    }
    size_t k = add + 1;
    std::string constraint;
    if (k + 1 < seq.size() && isKeyword(seq[k], Kw::Constraint)) {
        constraint = objectName(seq, k + 1, k + 2);
        k += 2;
    }
    std::string kind;
    if (k + 1 < seq.size() && isKeyword(seq[k], Kw::Primary) && isWordNode(seq[k + 1], "key")) {
        kind = "PRIMARY KEY";
        k += 2;
    } else if (k < seq.size() && isKeyword(seq[k], Kw::Unique)) {
        kind = "UNIQUE";
        ++k;
    }
    if (kind.empty() || k >= seq.size() || !seq[k].isGroup()) return false;
    std::string columns, index;
    SqlTree::renderInto(columns, seq[k].inner);
    for (size_t u = k + 1; u + 2 < seq.size(); ++u)
        if (isKeyword(seq[u], Kw::Using) && isKeyword(seq[u + 1], Kw::Index) &&
            isKind(seq[u + 2], TokenKind::Word) && !isKeyword(seq[u + 2], Kw::Tablespace))
            index = objectName(seq, u + 2, u + 3);
    auto text = [&](const std::string& value) -> SqlSeq {
        if (value.empty()) return {makeWord("NULL", Gap::Space)};
        return {makeNode(TokenKind::String, quoted(arena, value), Gap::Space)};
    };
    std::vector<SqlSeq> args = {text(objectName(seq, 2, dottedNameEnd(seq, 2))), text(constraint),
                                text(kind), text(columns), text(index)};
    seq = {makeWord("SELECT", Gap::None)};
    append(seq, makeCall("oracompat.add_key", joinWithCommas(std::move(args)), Gap::Space));
    return true;
}

// "Add (a type, b type)" → "ADD COLUMN a type, ADD COLUMN b type"
void OracleDdlTranslator::addColumns(SqlSeq& seq, size_t add) {
    SqlSeq list = std::move(seq[add + 1].inner);
    SqlSeq out = take(seq, 0, add);
    bool first = true;
    for (const SqlRange& r : SqlQueryBlock::splitCommas(list, {0, list.size()})) {
        SqlSeq def = spaced(take(list, r.begin, r.end));
        if (def.empty()) continue;
        if (!first) out.push_back(makeComma());
        first = false;
        out.push_back(makeWord("ADD"));
        if (!OracleTypeMapper::isConstraint(def.front())) {
            out.push_back(makeWord("COLUMN"));
            OracleTypeMapper::mapType(def, 1);
        }
        append(out, std::move(def));
    }
    seq = std::move(out);
}

// "Modify (a type default x not null)" → "ALTER COLUMN a TYPE type, ALTER
// COLUMN a SET DEFAULT x, ALTER COLUMN a SET NOT NULL"
void OracleDdlTranslator::modifyColumns(SqlSeq& seq, size_t modify) {
    bool grouped = modify + 1 < seq.size() && seq[modify + 1].isGroup();
    SqlSeq list = grouped ? std::move(seq[modify + 1].inner) : take(seq, modify + 1, seq.size());
    SqlSeq out = take(seq, 0, modify);
    std::vector<SqlSeq> changes;
    for (const SqlRange& r : SqlQueryBlock::splitCommas(list, {0, list.size()})) {
        if (!r.empty()) columnChanges(take(list, r.begin, r.end), changes);
    }
    append(out, spaced(joinWithCommas(std::move(changes))));
    seq = std::move(out);
}

void OracleDdlTranslator::columnChanges(SqlSeq def, std::vector<SqlSeq>& changes) {
    auto change = [&](std::initializer_list<std::string_view> words, SqlSeq value) {
        SqlSeq c{makeWord("ALTER"), makeWord("COLUMN"), def[0]};
        c[2].token.gap = Gap::Space;
        for (std::string_view w : words) c.push_back(makeWord(w));
        append(c, spaced(std::move(value)));
        changes.push_back(std::move(c));
    };
    size_t k = 1;
    bool hasType = k < def.size() && !isKeyword(def[k], Kw::Default) &&
                   !isKeyword(def[k], Kw::Not) && !isKeyword(def[k], Kw::Null);
    if (hasType) {
        OracleTypeMapper::mapType(def, k);
        size_t typeEnd = k + 1 < def.size() && def[k + 1].isGroup() ? k + 2 : k + 1;
        change({"TYPE"}, slice(def, k, typeEnd));
        k = typeEnd;
    }
    if (k < def.size() && isKeyword(def[k], Kw::Default)) {
        size_t stop = k + 1;
        while (stop < def.size() && !isKeyword(def[stop], Kw::Not) &&
               !isKeyword(def[stop], Kw::Null)) {
            ++stop;
        }
        change({"SET", "DEFAULT"}, slice(def, k + 1, stop));
        k = stop;
    }
    if (k < def.size() && isKeyword(def[k], Kw::Not)) change({"SET", "NOT", "NULL"}, {});
    if (k < def.size() && isKeyword(def[k], Kw::Null)) change({"DROP", "NOT", "NULL"}, {});
}

// "ALTER FUNCTION s.f COMPILE" → "SELECT oracompat.compile_routine('s', 'f')",
// which fails unless a routine of that name exists.
void OracleDdlTranslator::compileRoutine(SqlSeq& seq, SqlTextArena& arena) {
    size_t end = dottedNameEnd(seq, 2);
    if (end >= seq.size() || !isKeyword(seq[end], Kw::Compile)) {
        throw TranslationError("ALTER FUNCTION is only understood with COMPILE");
    }
    std::vector<SqlSeq> args;
    if (end - 2 == 3) {
        args.push_back({makeNode(TokenKind::String, quoted(arena, objectName(seq, 2, 3)))});
    } else if (end - 2 == 1) {
        args.push_back({makeWord("NULL")});
    } else {
        throw TranslationError("routine name expected");
    }
    args.push_back(
        {makeNode(TokenKind::String, quoted(arena, objectName(seq, end - 1, end)), Gap::Space)});
    SqlSeq call =
        makeCall("oracompat.compile_routine", joinWithCommas(std::move(args)), Gap::Space);
    seq = {makeWord("SELECT", Gap::None)};
    append(seq, std::move(call));
}

// Session settings for tracing and national formats have no counterpart;
// the statement becomes one that does nothing.
void OracleDdlTranslator::alterSession(SqlSeq& seq) {
    bool settable = seq.size() >= 4 && isKeyword(seq[2], Kw::Set);
    std::string_view what = settable ? seq[3].token.text : std::string_view{};
    bool national = what.size() > 4 && sameName(what.substr(0, 4), "nls_");
    if (!settable || (!isKeyword(seq[3], Kw::Events) && !national)) {
        throw TranslationError("ALTER SESSION setting not translated");
    }
    seq = {makeWord("SELECT", Gap::None), makeWord("NULL"), makeWord("WHERE"), makeWord("false")};
}

// "ALTER TRIGGER s.t ENABLE" → "SELECT oracompat.alter_trigger('s', 't', 'ENABLE')": PostgreSQL
// names a trigger with its table, which the database looks up.
void OracleDdlTranslator::alterTrigger(SqlSeq& seq, SqlTextArena& arena) {
    size_t end = dottedNameEnd(seq, 2);
    bool known = end + 1 == seq.size() &&
                 (sameName(seq[end].token.text, "enable") ||
                  sameName(seq[end].token.text, "disable") || isKeyword(seq[end], Kw::Compile));
    if (!known)
        throw TranslationError("ALTER TRIGGER is understood with ENABLE, DISABLE or COMPILE");
    seq =
        triggerCall("oracompat.alter_trigger", seq, 2, end, upperAscii(seq[end].token.text), arena);
}

SqlSeq OracleDdlTranslator::triggerCall(std::string_view function, const SqlSeq& seq, size_t begin,
                                        size_t end, const std::string& action,
                                        SqlTextArena& arena) {
    std::vector<SqlSeq> args;
    if (end - begin == 3) {
        args.push_back(
            {makeNode(TokenKind::String, quoted(arena, objectName(seq, begin, begin + 1)))});
    } else if (end - begin == 1) {
        args.push_back({makeWord("NULL")});
    } else {
        throw TranslationError("trigger name expected");
    }
    args.push_back(
        {makeNode(TokenKind::String, quoted(arena, objectName(seq, end - 1, end)), Gap::Space)});
    if (!action.empty())
        args.push_back({makeNode(TokenKind::String, quoted(arena, action), Gap::Space)});
    SqlSeq call = {makeWord("SELECT", Gap::None)};
    append(call, makeCall(function, joinWithCommas(std::move(args)), Gap::Space));
    return call;
}

void OracleDdlTranslator::drop(SqlSeq& seq, SqlTextArena& arena) {
    if (seq.size() >= 3 && isKeyword(seq[1], Kw::Trigger)) {
        seq = triggerCall("oracompat.drop_trigger", seq, 2, dottedNameEnd(seq, 2), "", arena);
        return;
    }
    std::erase_if(seq, [](const SqlNode& n) {
        return isKeyword(n, Kw::Purge) || isKeyword(n, Kw::Constraints);
    });
}

void OracleDdlTranslator::truncate(SqlSeq& seq) {
    for (size_t i = 2; i < seq.size(); ++i) {
        bool storage = i + 1 < seq.size() && isKeyword(seq[i + 1], Kw::Storage);
        if (storage && (isKeyword(seq[i], Kw::Reuse) || isKeyword(seq[i], Kw::Drop))) {
            seq.resize(i);
            return;
        }
    }
}

}  // namespace tk::translate
