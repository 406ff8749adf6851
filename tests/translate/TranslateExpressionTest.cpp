// Oracle expressions rewritten with Oracle's meaning: DECODE, empty text as
// NULL, null-ignoring "||", and functions on text, numbers and sequences.
#include "TranslationCases.hpp"

namespace tk::translate {
namespace {

TEST(TranslateDecode, NullSafeCaseOfTheFirstResultsType) {
    expectRewrites({
        {"Select Decode(a.x, NULL, 'none', b.y, 'same', 'other') From t a, u b",
         "Select (CASE WHEN a.x IS NULL THEN 'none' WHEN a.x IS NOT DISTINCT FROM b.y THEN "
         "'same' ELSE 'other' END) From t a, u b"},
        // An expression subject is parenthesised.
        {"Select Decode(a + b, 3, 'x') From t",
         "Select (CASE WHEN (a + b) = '3' THEN 'x' END) From t"},
        // Oracle's DECODE returns the type of the first result.
        {"Select Decode(x, 1, 'a', 2) From t",
         "Select (CASE WHEN x = '1' THEN 'a' ELSE '2' END) From t"},
        {"Select Decode(x, 1, 'a', y) From t",
         "Select (CASE WHEN x = '1' THEN 'a' ELSE (y)::text END) From t"},
        {"Select Decode(x, 1, 5, '7.5') From t",
         "Select (CASE WHEN x = '1' THEN 5 ELSE 7.5 END) From t"},
        {"Select Decode(x, 1, y, -2) From t",
         "Select (CASE WHEN x = '1' THEN y ELSE '-2' END) From t"},
    });
    expectRefused({"Select Decode(a, 1) From t"});
}

TEST(TranslateNvl, EmptyTextComparesAsNullAndOneArgumentIsRefused) {
    expectRewrites({
        {"Select 'x' From t Where a = ''", "Select 'x' From t Where a = NULL"},
    });
    expectRefused({"Select Nvl(a) From t"});
}

TEST(TranslateConcat, NullIgnoringChainOfOperandsOfEveryShape) {
    expectRewrites({
        {"Select a.x || ' ' || f(b) As n From t a",
         "Select concat(oracompat.to_char(a.x), ' ', oracompat.to_char(f(b))) As n From t a"},
        // "||" binds like + and -, left to right; * and / bind tighter.
        {"Select 1 + a || b * 2 - 3 From t",
         "Select NULLIF(concat(oracompat.to_char(1 + a), oracompat.to_char(b * 2)), '') - 3 "
         "From t"},
        {"Select -a || (b || 'c') From t",
         "Select NULLIF(concat(oracompat.to_char(-a), oracompat.to_char((concat("
         "oracompat.to_char(b), 'c')))), '') From t"},
        {"Select Case When x = 1 Then 'a' End || Decode(y, 1, 'b') || rownum From t",
         "Select NULLIF(concat(oracompat.to_char(Case When x = 1 Then 'a' End), "
         "oracompat.to_char((CASE WHEN y = '1' THEN 'b' END)), oracompat.to_char(row_number() "
         "over ())), '') From t"},
        {"Select zt.t.a || :p || ? From zt.t",
         "Select NULLIF(concat(oracompat.to_char(zt.t.a), oracompat.to_char(:p), "
         "oracompat.to_char(?)), '') From zt.t"},
    });
}

TEST(TranslateFunctions, OracleSemanticsForTextNumbersAndSequences) {
    expectRewrites({
        {"Select Round('2.5'), Trunc(?), Greatest(a, b), Lpad(c, n + 1) From t",
         "Select oracompat.round(('2.5')::numeric), oracompat.trunc((?)::numeric), "
         "(CASE WHEN num_nulls(a, b) = 0 THEN "
         "Greatest(a, b) END), NULLIF(Lpad(oracompat.to_char(c), (n + 1)::integer), '') "
         "From t"},
        // Qualified names and columns are left alone.
        {"Select s.Decode(a), t.round From t", "Select s.Decode(a), t.round From t"},
        {"Insert Into t (id) Values (zt.T_SEQ.NextVal)",
         "Insert Into t (id) Values (nextval('zt.t_seq'))"},
    });
}

}  // namespace
}  // namespace tk::translate
