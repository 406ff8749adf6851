// Whole statements through the translator: comments, quotes and names kept as
// Oracle meant them, DELETE and UPDATE forms, MINUS; several statements refused.
#include "TranslationCases.hpp"

namespace tk::translate {
namespace {

TEST(OracleTranslatorStatement, OneWholeStatementPerCallAsOracleMeantIt) {
    expectRewrites({
        {"Select 1 From dual;", "Select 1 From dual"},
        {"Select 1 From dual;\n/\n", "Select 1 From dual"},
        {"Select ';' From dual", "Select ';' From dual"},
        // Comments and quotes survive as Oracle meant them.
        {"Select a /* 原值 */, b -- note\nFrom t", "Select a , b\nFrom t"},
        {"Select a/**/b From t", "Select a b From t"},
        {"Select 'it''s' || '-' From t", "Select concat('it''s', '-') From t"},
        {"Select '--' From t", "Select '--' From t"},
        {"Select \"LNGID\", \"MixedCase\" From t", "Select \"lngid\", \"MixedCase\" From t"},
        // Names with a hash are quoted, dollar names kept.
        {"select ts#+1 as tmp from sys.ts$ where o.OWNER# = u.user#",
         "select \"ts#\"+1 as tmp from sys.ts$ where o.\"owner#\" = u.\"user#\""},
        // DELETE gets its FROM, UPDATE loses its targets' qualifiers.
        {"Delete zt.T a Where a.x = 1", "Delete FROM zt.T a Where a.x = 1"},
        {"Update zt.T a Set a.x = a.y, T.z = 1, (a.p, q) = (Select 1, 2 From dual) Where a.x = 1",
         "Update zt.T a Set x = a.y, z = 1, (p, q) = (Select 1, 2 From dual) Where a.x = 1"},
        {"Select a From t Minus Select a From u", "Select a From t EXCEPT Select a From u"},
    });
    // Several statements and broken texts are refused, not guessed.
    expectRefused({
        "Insert Into t Values (1); Delete From t",
        "Select 1 From dual;;",
        "  \n-- nothing\n",
        "Select 'open From dual",
        "Select \"open From dual",
        "Select 1 /* open From dual",
        "Select (1 From dual",
        "Select 1) From dual",
    });
}

}  // namespace
}  // namespace tk::translate
