// The cache must be invisible: every text comes out exactly as the translator
// gives it, while statements differing only in pasted values share one entry.
#include <gtest/gtest.h>

#include <string>

#include "translate/TranslationCache.hpp"

namespace tk::translate {
namespace {

void expectSameAsTranslator(TranslationCache& cache, const std::string& sql,
                            bool inTransaction = false) {
    Translation direct = OracleTranslator::translate(sql, inTransaction);
    Translation cached = cache.translate(sql, inTransaction);
    EXPECT_EQ(cached.sql, direct.sql) << sql;
    EXPECT_EQ(cached.insertSelect, direct.insertSelect) << sql;
    EXPECT_EQ(cached.insertTable, direct.insertTable) << sql;
    EXPECT_EQ(cached.insertValueCount, direct.insertValueCount) << sql;
}

TEST(TranslationCache, PastedValuesShareOneShape) {
    TranslationCache cache;
    for (int n = 0; n < 200; ++n) {
        std::string v = std::to_string(n);
        expectSameAsTranslator(cache, "Insert Into zt.AMAsset Values (" + v + ", 'code " + v +
                                          "', " + v + ".25, N'名称" + v + "', -" + v + ")");
    }
    EXPECT_EQ(cache.size(), 1u);
    for (int n = 0; n < 200; ++n) {
        std::string v = std::to_string(n);
        expectSameAsTranslator(cache, "Update zt.AMAsset a Set a.strName = 'x''" + v +
                                          "' Where a.lngID = " + v + " And a.dblAmount / 2 > 1e" +
                                          std::to_string(n % 30));
    }
    EXPECT_EQ(cache.size(), 2u);
}

// Values that change the translation: '' is NULL, a ROWNUM bound becomes a
// LIMIT, function arguments may be formats or types.
TEST(TranslationCache, LiteralsThatDecideTheTranslationKeepTheirOwnShape) {
    TranslationCache cache;
    for (const char* sql : {
             "Update t Set a = 'x' Where id = 1",
             "Update t Set a = '' Where id = 2",
             "Select * From t Where rownum <= 5",
             "Select * From t Where 3 > rownum",
             "Select * From t Where rownum > 7",
             "Select Decode(a, b, 2, 'z') From t",
             "Select Decode(a, 1, 'one', 2) From t",
             "Select Nvl(a, '5') From t",
             "Select Nvl(a, 'five') From t",
             "Select Substr(s, -3, 2) From t",
             "Select Substr(s, 1, 2) From t",
             "Select Cast(a As Number(10, 2)) From t",
             "Select Cast(a As Number(10, 0)) From t",
             "Select a || '' || b From t",
             "Select a || 'z' || b From t",
         }) {
        expectSameAsTranslator(cache, sql);
    }
}

// Texts that could be taken for markers or dollar-quote tags, and blocks,
// which keep their whole text.
TEST(TranslationCache, LookalikesAndBlocksStayExact) {
    TranslationCache cache;
    for (const std::string& sql : {
             std::string("Select '\x01tk000000' From dual"),
             std::string("Select 93170000000 From dual"),
             std::string("Select 5 From dual"),
             std::string("Select 93170000000 From dual"),
             std::string("Select 931700000000.5, 2.5 From dual"),
             std::string("Begin Insert Into t Values ('$tk$'); Commit; End;"),
             std::string("Begin Insert Into t Values ('x'); Commit; End;"),
         }) {
        expectSameAsTranslator(cache, sql);
        expectSameAsTranslator(cache, sql, true);
    }
}

// A shape used again stays while newer ones come and go: the one used least
// recently goes, not the one that came first.
TEST(TranslationCache, LeastRecentlyUsedShapesGoFirst) {
    TranslationCache cache(8);
    for (int n = 0; n < 100; ++n) {
        expectSameAsTranslator(cache, "Select c" + std::to_string(n) + " From t Where id = 1");
        expectSameAsTranslator(cache, "Select c0 From t Where id = " + std::to_string(n));
    }
    EXPECT_EQ(cache.size(), 8u);
    EXPECT_EQ(cache.translated(), 100u) << "c0's shape, first in, stayed";
}

TEST(TranslationCache, RefusedTextsRaiseTranslationError) {
    TranslationCache cache;
    EXPECT_THROW(cache.translate("Select 'open From dual", false), TranslationError);
    EXPECT_THROW(cache.translate("Select (1 From dual", false), TranslationError);
    EXPECT_THROW(cache.translate("Select (1 From dual", false), TranslationError);
}

}  // namespace
}  // namespace tk::translate
