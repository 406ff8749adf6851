// The type mapping: VARCHAR2, NUMBER by precision, DATE, LOB, RAW and float types renamed in place.
#include "translate/OracleTypeMapper.hpp"

#include <charconv>

#include "translate/SqlQueryBlock.hpp"

namespace tk::translate {
namespace {

int numberAt(const SqlSeq& seq, size_t i) {
    if (i >= seq.size() || !isKind(seq[i], TokenKind::Number)) return -1;
    std::string_view text = seq[i].token.text;
    int value = -1;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

bool hasGroupAt(const SqlSeq& seq, size_t i) { return i < seq.size() && seq[i].isGroup(); }

void rename(SqlSeq& seq, size_t i, std::string_view type) {
    seq[i].token.text = type;
    seq[i].token.kind = TokenKind::Word;
    seq[i].token.keyword = Kw::None;
}

void dropGroupAt(SqlSeq& seq, size_t i) {
    if (hasGroupAt(seq, i)) seq.erase(seq.begin() + static_cast<std::ptrdiff_t>(i));
}

// VARCHAR2(20 BYTE) / CHAR(2 CHAR): PostgreSQL counts characters only.
void dropLengthSemantics(SqlSeq& seq, size_t i) {
    if (!hasGroupAt(seq, i)) return;
    std::erase_if(seq[i].inner, [](const SqlNode& n) {
        return isKeyword(n, Kw::Byte) || isKeyword(n, Kw::Char);
    });
}

// NUMBER(p) and NUMBER(p,0) hold whole numbers; integer and bigint keep them
// exactly and read back as integers.
void mapNumber(SqlSeq& seq, size_t i) {
    if (!hasGroupAt(seq, i + 1)) {
        rename(seq, i, "numeric");
        return;
    }
    const SqlSeq& args = seq[i + 1].inner;
    int precision = numberAt(args, 0);
    int scale = args.size() >= 3 ? numberAt(args, 2) : 0;
    if (precision < 0 || scale < 0) {  // NUMBER(*, s) or a negative scale
        rename(seq, i, "numeric");
        dropGroupAt(seq, i + 1);
        return;
    }
    if (scale > 0) {
        rename(seq, i, "numeric");
        return;
    }
    rename(seq, i, precision <= 9 ? "integer" : precision <= 18 ? "bigint" : "numeric");
    if (precision <= 18) dropGroupAt(seq, i + 1);
}

}  // namespace

void OracleTypeMapper::mapType(SqlSeq& seq, size_t i) {
    if (i >= seq.size() || !isKind(seq[i], TokenKind::Word)) return;
    switch (seq[i].token.keyword) {
        case Kw::Varchar2:
        case Kw::Nvarchar2:
            rename(seq, i, "varchar");
            dropLengthSemantics(seq, i + 1);
            break;
        case Kw::Char:
            dropLengthSemantics(seq, i + 1);
            break;
        case Kw::Number:
            mapNumber(seq, i);
            break;
        case Kw::Integer:
        case Kw::Int:
            rename(seq, i, "integer");
            break;
        case Kw::Date:  // a timestamp to the second, with Oracle's date arithmetic
            rename(seq, i, "oracompat.date");
            break;
        case Kw::Clob:
        case Kw::Nclob:
            rename(seq, i, "text");
            break;
        case Kw::Long:
            if (i + 1 < seq.size() && isKeyword(seq[i + 1], Kw::Raw)) {
                seq.erase(seq.begin() + static_cast<std::ptrdiff_t>(i + 1));
                rename(seq, i, "bytea");
            } else {
                rename(seq, i, "text");
            }
            break;
        case Kw::Blob:
        case Kw::Raw:
            rename(seq, i, "bytea");
            dropGroupAt(seq, i + 1);
            break;
        case Kw::Float:
        case Kw::BinaryDouble:
            rename(seq, i, "double precision");
            dropGroupAt(seq, i + 1);
            break;
        case Kw::BinaryFloat:
            rename(seq, i, "real");
            break;
        default:
            break;
    }
}

bool OracleTypeMapper::isConstraint(const SqlNode& first) {
    return isKeyword(first, Kw::Constraint) || isKeyword(first, Kw::Primary) ||
           isKeyword(first, Kw::Unique) || isKeyword(first, Kw::Check) ||
           isKeyword(first, Kw::Foreign);
}

void OracleTypeMapper::mapColumnDefinitions(SqlSeq& definitions) {
    auto items = SqlQueryBlock::splitCommas(definitions, {0, definitions.size()});
    for (auto it = items.rbegin(); it != items.rend(); ++it) {
        if (it->empty() || isConstraint(definitions[it->begin])) continue;
        mapType(definitions, it->begin + 1);
    }
}

}  // namespace tk::translate
