// The keyword table, searched without regard to case, and the lists of mapped and rewritten words.
#include "translate/SqlKeyword.hpp"

#include <algorithm>
#include <array>
#include <utility>

namespace tk::translate {
namespace {

using Entry = std::pair<std::string_view, Kw>;

constexpr std::array kEntries = {
    Entry{"select", Kw::Select},
    Entry{"from", Kw::From},
    Entry{"where", Kw::Where},
    Entry{"and", Kw::And},
    Entry{"or", Kw::Or},
    Entry{"not", Kw::Not},
    Entry{"in", Kw::In},
    Entry{"is", Kw::Is},
    Entry{"null", Kw::Null},
    Entry{"like", Kw::Like},
    Entry{"between", Kw::Between},
    Entry{"exists", Kw::Exists},
    Entry{"case", Kw::Case},
    Entry{"when", Kw::When},
    Entry{"then", Kw::Then},
    Entry{"else", Kw::Else},
    Entry{"end", Kw::End},
    Entry{"as", Kw::As},
    Entry{"on", Kw::On},
    Entry{"join", Kw::Join},
    Entry{"left", Kw::Left},
    Entry{"right", Kw::Right},
    Entry{"inner", Kw::Inner},
    Entry{"outer", Kw::Outer},
    Entry{"full", Kw::Full},
    Entry{"cross", Kw::Cross},
    Entry{"natural", Kw::Natural},
    Entry{"group", Kw::Group},
    Entry{"order", Kw::Order},
    Entry{"by", Kw::By},
    Entry{"having", Kw::Having},
    Entry{"union", Kw::Union},
    Entry{"all", Kw::All},
    Entry{"any", Kw::Any},
    Entry{"minus", Kw::Minus},
    Entry{"intersect", Kw::Intersect},
    Entry{"except", Kw::Except},
    Entry{"distinct", Kw::Distinct},
    Entry{"into", Kw::Into},
    Entry{"values", Kw::Values},
    Entry{"set", Kw::Set},
    Entry{"connect", Kw::Connect},
    Entry{"start", Kw::Start},
    Entry{"prior", Kw::Prior},
    Entry{"for", Kw::For},
    Entry{"limit", Kw::Limit},
    Entry{"offset", Kw::Offset},
    Entry{"fetch", Kw::Fetch},
    Entry{"using", Kw::Using},
    Entry{"returning", Kw::Returning},
    Entry{"escape", Kw::Escape},
    Entry{"with", Kw::With},
    Entry{"update", Kw::Update},
    Entry{"delete", Kw::Delete},
    Entry{"insert", Kw::Insert},
    Entry{"merge", Kw::Merge},
    Entry{"unique", Kw::Unique},
    Entry{"table", Kw::Table},
    Entry{"create", Kw::Create},
    Entry{"alter", Kw::Alter},
    Entry{"drop", Kw::Drop},
    Entry{"truncate", Kw::Truncate},
    Entry{"rownum", Kw::Rownum},
    Entry{"nextval", Kw::Nextval},
    Entry{"currval", Kw::Currval},
    Entry{"decode", Kw::Decode},
    Entry{"nvl", Kw::Nvl},
    Entry{"nvl2", Kw::Nvl2},
    Entry{"trim", Kw::Trim},
    Entry{"ltrim", Kw::Ltrim},
    Entry{"rtrim", Kw::Rtrim},
    Entry{"substr", Kw::Substr},
    Entry{"instr", Kw::Instr},
    Entry{"to_number", Kw::ToNumber},
    Entry{"round", Kw::Round},
    Entry{"trunc", Kw::Trunc},
    Entry{"replace", Kw::Replace},
    Entry{"to_char", Kw::ToChar},
    Entry{"to_date", Kw::ToDate},
    Entry{"greatest", Kw::Greatest},
    Entry{"least", Kw::Least},
    Entry{"concat", Kw::Concat},
    Entry{"lpad", Kw::Lpad},
    Entry{"rpad", Kw::Rpad},
    Entry{"length", Kw::Length},
    Entry{"mod", Kw::Mod},
    Entry{"regexp_replace", Kw::RegexpReplace},
    Entry{"sysdate", Kw::Sysdate},
    Entry{"systimestamp", Kw::Systimestamp},
    Entry{"count", Kw::Count},
    Entry{"sum", Kw::Sum},
    Entry{"max", Kw::Max},
    Entry{"min", Kw::Min},
    Entry{"avg", Kw::Avg},
    Entry{"over", Kw::Over},
    Entry{"declare", Kw::Declare},
    Entry{"begin", Kw::Begin},
    Entry{"exception", Kw::Exception},
    Entry{"cursor", Kw::Cursor},
    Entry{"open", Kw::Open},
    Entry{"close", Kw::Close},
    Entry{"loop", Kw::Loop},
    Entry{"exit", Kw::Exit},
    Entry{"if", Kw::If},
    Entry{"elsif", Kw::Elsif},
    Entry{"while", Kw::While},
    Entry{"commit", Kw::Commit},
    Entry{"rollback", Kw::Rollback},
    Entry{"work", Kw::Work},
    Entry{"return", Kw::Return},
    Entry{"raise", Kw::Raise},
    Entry{"raise_application_error", Kw::RaiseApplicationError},
    Entry{"execute", Kw::Execute},
    Entry{"immediate", Kw::Immediate},
    Entry{"dbms_output", Kw::DbmsOutput},
    Entry{"constant", Kw::Constant},
    Entry{"default", Kw::Default},
    Entry{"rowtype", Kw::Rowtype},
    Entry{"type", Kw::Type},
    Entry{"subtype", Kw::Subtype},
    Entry{"pragma", Kw::Pragma},
    Entry{"notfound", Kw::Notfound},
    Entry{"found", Kw::Found},
    Entry{"isopen", Kw::Isopen},
    Entry{"rowcount", Kw::Rowcount},
    Entry{"sql", Kw::Sql},
    Entry{"sequence", Kw::Sequence},
    Entry{"function", Kw::Function},
    Entry{"procedure", Kw::Procedure},
    Entry{"package", Kw::Package},
    Entry{"trigger", Kw::Trigger},
    Entry{"view", Kw::View},
    Entry{"index", Kw::Index},
    Entry{"add", Kw::Add},
    Entry{"modify", Kw::Modify},
    Entry{"column", Kw::Column},
    Entry{"constraint", Kw::Constraint},
    Entry{"primary", Kw::Primary},
    Entry{"foreign", Kw::Foreign},
    Entry{"check", Kw::Check},
    Entry{"logging", Kw::Logging},
    Entry{"nologging", Kw::Nologging},
    Entry{"compile", Kw::Compile},
    Entry{"session", Kw::Session},
    Entry{"events", Kw::Events},
    Entry{"force", Kw::Force},
    Entry{"noforce", Kw::Noforce},
    Entry{"tablespace", Kw::Tablespace},
    Entry{"storage", Kw::Storage},
    Entry{"pctfree", Kw::Pctfree},
    Entry{"initrans", Kw::Initrans},
    Entry{"compress", Kw::Compress},
    Entry{"nocompress", Kw::Nocompress},
    Entry{"parallel", Kw::Parallel},
    Entry{"noparallel", Kw::Noparallel},
    Entry{"purge", Kw::Purge},
    Entry{"cascade", Kw::Cascade},
    Entry{"constraints", Kw::Constraints},
    Entry{"reuse", Kw::Reuse},
    Entry{"nocache", Kw::Nocache},
    Entry{"nocycle", Kw::Nocycle},
    Entry{"nomaxvalue", Kw::Nomaxvalue},
    Entry{"nominvalue", Kw::Nominvalue},
    Entry{"noorder", Kw::Noorder},
    Entry{"global", Kw::Global},
    Entry{"temporary", Kw::Temporary},
    Entry{"compute", Kw::Compute},
    Entry{"statistics", Kw::Statistics},
    Entry{"online", Kw::Online},
    Entry{"read", Kw::Read},
    Entry{"only", Kw::Only},
    Entry{"varchar2", Kw::Varchar2},
    Entry{"nvarchar2", Kw::Nvarchar2},
    Entry{"number", Kw::Number},
    Entry{"integer", Kw::Integer},
    Entry{"int", Kw::Int},
    Entry{"smallint", Kw::Smallint},
    Entry{"date", Kw::Date},
    Entry{"clob", Kw::Clob},
    Entry{"nclob", Kw::Nclob},
    Entry{"blob", Kw::Blob},
    Entry{"long", Kw::Long},
    Entry{"raw", Kw::Raw},
    Entry{"float", Kw::Float},
    Entry{"binary_double", Kw::BinaryDouble},
    Entry{"binary_float", Kw::BinaryFloat},
    Entry{"byte", Kw::Byte},
    Entry{"char", Kw::Char},
};

constexpr size_t kLongestKeyword = 24;

const auto& sortedEntries() {
    static const auto sorted = [] {
        auto entries = kEntries;
        std::sort(entries.begin(), entries.end());
        return entries;
    }();
    return sorted;
}

}  // namespace

Kw SqlKeyword::lookup(std::string_view word) {
    if (word.size() < 2 || word.size() > kLongestKeyword) return Kw::None;
    char lower[kLongestKeyword];
    for (size_t i = 0; i < word.size(); ++i) {
        char c = word[i];
        lower[i] = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    std::string_view key(lower, word.size());
    const auto& entries = sortedEntries();
    auto it = std::lower_bound(entries.begin(), entries.end(), key,
                               [](const Entry& e, std::string_view k) { return e.first < k; });
    return (it != entries.end() && it->first == key) ? it->second : Kw::None;
}

bool SqlKeyword::isMappedFunction(Kw kw) {
    switch (kw) {
        case Kw::Decode:
        case Kw::Nvl:
        case Kw::Nvl2:
        case Kw::Trim:
        case Kw::Ltrim:
        case Kw::Rtrim:
        case Kw::Substr:
        case Kw::Instr:
        case Kw::ToNumber:
        case Kw::Round:
        case Kw::Trunc:
        case Kw::Replace:
        case Kw::ToChar:
        case Kw::ToDate:
        case Kw::Greatest:
        case Kw::Least:
        case Kw::Concat:
        case Kw::Lpad:
        case Kw::Rpad:
        case Kw::Length:
        case Kw::Mod:
        case Kw::RegexpReplace:
            return true;
        default:
            return false;
    }
}

bool SqlKeyword::needsRewrite(Kw kw) {
    return kw == Kw::Minus || kw == Kw::Nextval || kw == Kw::Currval || kw == Kw::Sysdate ||
           kw == Kw::Systimestamp || isMappedFunction(kw);
}

}  // namespace tk::translate
